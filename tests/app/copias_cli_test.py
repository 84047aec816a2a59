#!/usr/bin/python3
"""The command line's backups: `copias` lists a folder's backups of its timetables, newest first, and
`restaurar` puts one back; a refused restore exits 1 with nothing changed, a name that is no backup's exits 2.

Runs the built executable on an invented school (make-sample) with backups of its own pair, and of another
folder's, written as the imports leave them in C:\\HTEMP\\COPIAS.

Usage: copias_cli_test.py CLI_BINARY WORK_FOLDER [--wine WINE]
With --wine, CLI_BINARY is the Windows command line, run through WINE."""
import os
import shutil
import subprocess
import sys
import unittest

CLI, WORK = sys.argv[1], os.path.abspath(sys.argv[2])
WINE = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--wine" else None
COMMAND = [WINE, CLI] if WINE else [CLI]
DRIVE_C = os.path.join(WORK, "drive_c")
ESCOLAN = os.path.join(DRIVE_C, "ESCOLAN")
COPIAS = os.path.join(DRIVE_C, "HTEMP", "COPIAS")
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C="Z:" + DRIVE_C.replace("/", "\\") if WINE else DRIVE_C)
PAIR = ("horgrup.dbf", "horprof.dbf")


def run(*arguments):
    return subprocess.run([*COMMAND, *arguments], env=ENV, capture_output=True, text=True)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def backup(stamp, origin, files=PAIR):
    folder = os.path.join(COPIAS, stamp)
    os.makedirs(folder)
    for name in files:
        shutil.copyfile(os.path.join(ESCOLAN, name), os.path.join(folder, name))
    with open(os.path.join(folder, "ORIGEN.TXT"), "w") as f:
        f.write(origin + "\n")


class Backups(unittest.TestCase):
    def setUp(self):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(DRIVE_C)
        done = run("make-sample", "C:\\ESCOLAN")
        self.assertEqual(done.returncode, 0, done.stderr)
        backup("20261201-101010", "C:\\ESCOLAN")
        backup("20261203-080000", "C:\\OTRA")
        backup("20261205-090000", "C:\\ESCOLAN", files=("horgrup.dbf",))
        # The school's pair changes after its first backup.
        for name in PAIR:
            with open(os.path.join(ESCOLAN, name), "ab") as f:
                f.write(b"changed")
        self.before = {name: read(os.path.join(ESCOLAN, name)) for name in PAIR}

    def test_the_list_newest_first(self):
        done = run("copias", "--source", "C:\\ESCOLAN")
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = done.stdout.splitlines()
        self.assertEqual([line.split()[0] for line in lines], ["20261205-090000", "20261201-101010"])
        self.assertIn("horprof: falta", lines[0])
        self.assertIn("01/12/2026 10:10:10", lines[1])

    def test_refused_restores_change_nothing(self):
        for stamp, status in (("20261101-101010", 1), ("20261203-080000", 1), ("20261205-090000", 1),
                              ("2026-12-01", 2), ("20261201", 2)):
            with self.subTest(stamp=stamp):
                done = run("restaurar", "--source", "C:\\ESCOLAN", "--copia", stamp)
                self.assertEqual(done.returncode, status, done.stdout + done.stderr)
                self.assertNotEqual(done.stderr, "")
                for name in PAIR:
                    self.assertEqual(read(os.path.join(ESCOLAN, name)), self.before[name])
                self.assertEqual(sorted(os.listdir(COPIAS)),
                                 ["20261201-101010", "20261203-080000", "20261205-090000"])

    def test_a_restore_puts_the_pair_back_and_keeps_the_replaced_one(self):
        done = run("restaurar", "--source", "C:\\ESCOLAN", "--copia", "20261201-101010")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("Se han restaurado los horarios de la copia 20261201-101010", done.stdout)
        for name in PAIR:
            self.assertEqual(read(os.path.join(ESCOLAN, name)),
                             read(os.path.join(COPIAS, "20261201-101010", name)))
        newest = run("copias", "--source", "C:\\ESCOLAN").stdout.splitlines()[0].split()[0]
        self.assertNotIn(newest, ("20261201-101010", "20261205-090000"))
        for name in PAIR:
            self.assertEqual(read(os.path.join(COPIAS, newest, name)), self.before[name])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
