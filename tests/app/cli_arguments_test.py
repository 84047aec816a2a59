#!/usr/bin/python3
"""Arguments the command line cannot mean are refused before anything is done: exit status 2, a message on
standard error that says what is accepted, and every file of drive C: as it was (nothing staged, the
school's timetables and C:\\HTEMP untouched). The forms at the edge of what is accepted still run.

Runs the built executable on an invented school (make-sample) that has been exported, with a one-lesson
solution from the generator beside the interchange tables.

Usage: cli_arguments_test.py CLI_BINARY WORK_FOLDER [--wine WINE]
With --wine, CLI_BINARY is the Windows command line, run through WINE."""
import json
import os
import shutil
import struct
import subprocess
import sys
import unittest

CLI, WORK = sys.argv[1], os.path.abspath(sys.argv[2])
WINE = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--wine" else None
COMMAND = [WINE, CLI] if WINE else [CLI]
DRIVE_C = os.path.join(WORK, "drive_c")
HTEMP = os.path.join(DRIVE_C, "HTEMP")
# Under Wine, drive C: is given as the Windows path of its host folder (Wine's Z: is the host's "/").
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C="Z:" + DRIVE_C.replace("/", "\\") if WINE else DRIVE_C)
ESCOLAN = "C:\\ESCOLAN"
PROFT = "C:\\HTEMP\\PROFT.DBF"


def run(*arguments):
    return subprocess.run([*COMMAND, *arguments], env=ENV, capture_output=True, text=True)


def dump(table):
    done = run("dump", table)
    if done.returncode != 0:
        raise AssertionError(f"dump {table}: {done.stderr}")
    return [json.loads(line) for line in done.stdout.splitlines()]


def write_solution():
    """SOLUC.DBF as the generator leaves it, with one lesson: the first teaching assignment of ASIGT on
    Monday's first period. An import that gets past its arguments runs to the end (or as far as a missing
    table lets it)."""
    fields = [("DIA", "N", 1), ("HORA", "N", 2), ("AULA", "C", 5), ("PROF", "C", 4), ("NIVEL", "C", 5),
              ("CURSO", "C", 3), ("ASIG", "C", 4), ("GRUPO", "C", 2)]
    first = dump("C:\\HTEMP\\ASIGT.DBF")[0]
    lesson = dict(DIA=1, HORA=1, AULA="", PROF=first["CPROF"] or "", NIVEL=first["NIVEL"], CURSO=first["CURSO"],
                  ASIG=first["CASIG"], GRUPO=first["GRUPO"])
    record = b" "
    for name, kind, length in fields:
        value = str(lesson[name]).encode("cp1252")
        record += value.rjust(length) if kind == "N" else value.ljust(length)
    header = struct.pack("<BBBBIHH20x", 0x03, 124, 1, 1, 1, 32 + 32 * len(fields) + 1, len(record))
    for name, kind, length in fields:
        header += struct.pack("<11sc4xBB14x", name.encode(), kind.encode(), length, 0)
    with open(os.path.join(HTEMP, "SOLUC.DBF"), "wb") as table:
        table.write(header + b"\r" + record + b"\x1a")


def drive_c():
    """Every file of drive C: with its bytes and time of last change."""
    files = {}
    for folder, _, names in os.walk(DRIVE_C):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as data:
                files[os.path.relpath(path, DRIVE_C)] = (data.read(), os.stat(path).st_mtime_ns)
    return files


# (arguments, words the message must hold). Each is refused with exit status 2 and changes nothing.
PERIOD_FORM = ["--period", "N=HH:MM-HH:MM", "1 to 20", "00:00 to 23:59"]
DNI_FORM = ["--dni", "ABREV=NUMBER", "1 to 9 digits"]
REFUSED = [
    (["export", "--language", "KLINGON"], ["--language", "KLINGON", "VALENCIÁ", "CASTELLANO"]),
    # The export takes the language box's texts exactly: any other spelling would give Valencian names.
    (["export", "--language", "castellano"], ["--language", "castellano", "CASTELLANO"]),
    (["export", "--language", "VALENCIA"], ["--language", "VALENCIÁ"]),
    (["import", "--period", "1=99:99-00:00"], PERIOD_FORM + ["1=99:99-00:00"]),
    (["import", "--period", "1=ab-cd"], PERIOD_FORM + ["1=ab-cd"]),
    (["import", "--period", "1=24:00-"], PERIOD_FORM),
    (["import", "--period", "1=-08:60"], PERIOD_FORM),
    (["import", "--period", "1=8:00-08:55"], PERIOD_FORM),        # the grid's cells hold five characters
    (["import", "--period", "1=08:00-08:55:00"], PERIOD_FORM),
    (["import", "--period", "1=08:00-08:55-09:00"], PERIOD_FORM),
    (["import", "--period", "1=08:00"], PERIOD_FORM),
    (["import", "--period", "0=08:00-08:55"], PERIOD_FORM),
    (["import", "--period", "21=08:00-08:55"], PERIOD_FORM),
    (["import", "--period", "1x=08:00-08:55"], PERIOD_FORM),
    (["import", "--period", "+1=08:00-08:55"], PERIOD_FORM),
    (["import", "--period", "=08:00-08:55"], PERIOD_FORM),
    (["import", "--period", "1=09:00-08:55"], ["--period", "start after it ends", "1=09:00-08:55"]),
    (["import", "--period", "2=08:00-08:55", "--period", "1=23:59-00:00"], ["--period", "1=23:59-00:00"]),
    (["import", "--dni", "TO"], DNI_FORM),
    (["import", "--dni", "=12345678"], DNI_FORM),
    (["import", "--dni", "TO="], DNI_FORM),
    (["import", "--dni", "TO=12a"], DNI_FORM),
    (["import", "--dni", "TO=-5"], DNI_FORM),
    (["import", "--dni", "TO=+5"], DNI_FORM),
    (["import", "--dni", "TO=1234567890"], DNI_FORM),
    # Abbreviations that PROFT does not hold, alone or beside a good answer; matched exactly, as the teacher
    # review matches them.
    (["import", "--dni", "ZZ=12345678"], ["--dni", "ZZ", PROFT]),
    (["import", "--dni", "to=12345678"], ["--dni", "to", PROFT]),
    (["import", "--dni", "TO=12345678", "--dni", "ZZ=1", "--period", "1=08:00-08:55"], ["--dni", "ZZ", PROFT]),
]


class CommandLineArguments(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(DRIVE_C)
        for arguments in (["make-sample", ESCOLAN], ["export", "--source", ESCOLAN]):
            done = run(*arguments)
            if done.returncode != 0:
                raise AssertionError(f"{' '.join(arguments)}: {done.stdout}{done.stderr}")
        write_solution()
        # A staged file removed: staging again would bring it back.
        os.remove(os.path.join(HTEMP, "VALENCIA", "centro.dbf"))
        cls.teachers = [teacher["ABREV"] for teacher in dump(PROFT)]

    def test_1_refused_arguments_change_nothing(self):
        for arguments, words in REFUSED:
            if arguments[0] == "import":
                arguments = ["import", "--source", ESCOLAN] + arguments[1:]
            with self.subTest(arguments=" ".join(arguments)):
                before = drive_c()
                done = run(*arguments)
                self.assertEqual(done.returncode, 2, done.stdout + done.stderr)
                self.assertEqual(done.stdout, "")
                for word in words:
                    self.assertIn(word, done.stderr)
                self.assertTrue(drive_c() == before, "drive C: changed")

    def test_1_unknown_abbreviation_lists_the_known_ones(self):
        done = run("import", "--source", ESCOLAN, "--dni", "ZZ=12345678")
        self.assertEqual(done.returncode, 2)
        for teacher in self.teachers:
            self.assertIn(teacher, done.stderr)

    def test_2_without_proft_the_run_reports_the_table(self):
        """With no PROFT to check against, the answer goes to the run, which stops on the missing table."""
        saved = os.path.join(WORK, "PROFT.DBF")
        os.rename(os.path.join(HTEMP, "PROFT.DBF"), saved)
        try:
            done = run("import", "--source", ESCOLAN, "--dni", "ZZ=12345678")
        finally:
            os.rename(saved, os.path.join(HTEMP, "PROFT.DBF"))
        self.assertEqual(done.returncode, 1, done.stdout + done.stderr)
        self.assertIn("La tabla no existe: " + PROFT, done.stderr)

    def test_3_both_languages_export_their_names(self):
        subjects = dump(ESCOLAN + "\\asignat.dbf")
        for language, field in (("CASTELLANO", "CLITEASIG"), ("VALENCIÁ", "VLITEASIG")):
            with self.subTest(language=language):
                done = run("export", "--source", ESCOLAN, "--language", language)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                names = {subject["CODASIG"]: subject[field] for subject in subjects}
                for record in dump("C:\\HTEMP\\ASIGVALT.DBF"):
                    self.assertEqual(record["NOMBRE"], names[record["CODVALEN"]])

    def test_4_edge_answers_reach_the_reviews(self):
        """Empty sides, equal start and end, the first and last minute, period 20; every teacher still
        without identity number answered."""
        missing = [teacher["ABREV"] for teacher in dump(PROFT) if not teacher["DNI"]]
        numbers = {abbreviation: 10000001 + n for n, abbreviation in enumerate(missing)}
        numbers[missing[0]] = 999999999
        periods = {1: (None, "08:55"), 2: ("09:00", None), 3: ("10:00", "10:00"), 4: ("00:00", "23:59"),
                   20: (None, None)}
        arguments = ["import", "--source", ESCOLAN]
        for abbreviation, number in numbers.items():
            arguments += ["--dni", f"{abbreviation}={number}"]
        for period, (start, end) in periods.items():
            arguments += ["--period", f"{period}={start or ''}-{end or ''}"]
        done = run(*arguments)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        given = {teacher["ABREV"]: teacher["DNI"] for teacher in dump(PROFT) if teacher["ABREV"] in numbers}
        self.assertEqual(given, numbers)
        template = {row["HORA"]: (row["HORAINI"], row["HORAFIN"]) for row in dump("C:\\HTEMP\\VALENCIA\\PLANTILLA.DBF")}
        self.assertEqual({period: template[period] for period in periods}, periods)


class Help(unittest.TestCase):
    def test_help_names_the_installed_manual(self):
        """--help ends naming the user manual where this program finds it (beside it on Windows, in
        ../share/escolan-horvane/manual on Linux: here the build tree's copy, the same bytes as docs/manual),
        and the window's order that opens it."""
        done = run("--help")
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = [line for line in done.stdout.splitlines() if line.startswith("Manual de uso, en español: ")]
        self.assertEqual(len(lines), 1, done.stdout)
        manual = lines[0].split(": ", 1)[1]
        self.assertRegex(manual, r"^Z:\\.*\\manual\\index\.html$")
        host = "/" + manual[3:].replace("\\", "/")
        layout = os.path.join("app", "manual") if WINE else os.path.join("share", "escolan-horvane", "manual")
        build = os.path.dirname(os.path.dirname(os.path.realpath(CLI)))
        self.assertEqual(os.path.realpath(os.path.dirname(host)), os.path.join(build, layout))
        source = os.path.join(os.path.dirname(__file__), "..", "..", "docs", "manual", "index.html")
        with open(host, "rb") as copied, open(source, "rb") as original:
            self.assertEqual(copied.read(), original.read())
        self.assertIn("«Ayuda: manual de uso…» (F1)", done.stdout)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]], verbosity=2)
