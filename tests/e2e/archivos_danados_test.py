#!/usr/bin/python3
"""Damaged input to the command line as whole processes. Each file that an import or the timetables' page
reads is damaged the ways a bad copy, a full disk, a crash or another program leave a dBase table: cut in
its header or its records, a header at odds with its records, a field of a type no writer uses, bytes of
something else. Every run must end with exit status 1 and a last line naming the damaged file, and leave
the school's folder byte for byte as it was, with nothing new in it. (The export's own damaged tables are
the review's test, revisar_test.py.)

Usage: archivos_danados_test.py CLI_BINARY WORK_FOLDER [--wine WINE]
With --wine, CLI_BINARY is the Windows command line, run through WINE."""
import os
import shutil
import struct
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import dbfread  # noqa: E402
import solucion_de_prueba  # noqa: E402

CLI, WORK = sys.argv[1], os.path.abspath(sys.argv[2])
WINE = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--wine" else None
COMMAND = [WINE, CLI] if WINE else [CLI]
DRIVE_C = os.path.join(WORK, "drive_c")
READY = os.path.join(WORK, "ready")  # drive C: after an export and the generator's answer
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C="Z:" + DRIVE_C.replace("/", "\\") if WINE else DRIVE_C)


def run(*arguments):
    return subprocess.run([*COMMAND, *arguments], env=ENV, capture_output=True, text=True, encoding="utf-8")


def header_length(data):
    return struct.unpack("<H", data[8:10])[0]


def with_bytes(data, at, new):
    return data[:at] + new + data[at + len(new):]


# (name, damage): each takes a table's bytes and gives them damaged.
DAMAGES = {
    "empty": lambda d: b"",
    "header_cut": lambda d: d[:20],
    "descriptors_cut": lambda d: d[:40],
    "records_cut": lambda d: d[:header_length(d) + (len(d) - header_length(d)) // 2],
    "header_length_too_long": lambda d: with_bytes(d, 8, b"\xff\xff"),
    "record_length_zero": lambda d: with_bytes(d, 10, b"\0\0"),
    "count_past_the_end": lambda d: with_bytes(d, 4, struct.pack("<I", 0x7FFFFFFF)),
    "not_a_dbase_version": lambda d: with_bytes(d, 0, b"\xff"),
    "unknown_field_type": lambda d: with_bytes(d, 32 + 11, b"?"),
    "field_length_zero": lambda d: with_bytes(d, 32 + 16, b"\0"),
    "no_field_terminator": lambda d: with_bytes(d, header_length(d) - 1, b" "),
    "a_picture": lambda d: b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4,
}


def school():
    """Every file of the school's folder with its bytes."""
    folder = os.path.join(DRIVE_C, "ESCOLAN")
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))}


class ArchivosDanados(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(DRIVE_C)
        for arguments in (["make-sample", "C:\\ESCOLAN"], ["export", "--source", "C:\\ESCOLAN"]):
            done = run(*arguments)
            assert done.returncode == 0, done.stdout + done.stderr
        htemp = os.path.join(DRIVE_C, "HTEMP")
        solucion_de_prueba.escribir_solucion(htemp)
        # The sample's teachers without an identity number get one, as the teacher review would.
        cls.dni = []
        for position, teacher in enumerate(dbfread.DBF(os.path.join(htemp, "PROFT.DBF"))):
            if not teacher["DNI"]:
                cls.dni += ["--dni", f"{teacher['ABREV'].strip()}={70000000 + position}"]
        shutil.copytree(DRIVE_C, READY)

    def setUp(self):
        shutil.rmtree(DRIVE_C)
        shutil.copytree(READY, DRIVE_C)

    def damage(self, relative, damage):
        path = os.path.join(DRIVE_C, *relative.split("\\"))
        with open(path, "rb") as table:
            data = table.read()
        with open(path, "wb") as table:
            table.write(DAMAGES[damage](data))

    def expect_refused(self, relative, damages, *arguments):
        """Each damage of the file at `relative` (from C:\\) makes the run end with exit status 1, a last line
        naming the file, and the school's folder unchanged."""
        for damage in damages:
            with self.subTest(file=relative, damage=damage):
                self.setUp()
                self.damage(relative, damage)
                before = school()
                done = run(*arguments)
                said = (done.stdout + done.stderr).strip()
                self.assertEqual(done.returncode, 1, said)
                last = said.splitlines()[-1] if said else ""
                self.assertIn(relative.split("\\")[-1].lower(), last.lower(), said)
                self.assertEqual(school(), before, "the school's folder changed: " + said)

    def test_the_import_refuses_a_damaged_solution(self):
        self.expect_refused("HTEMP\\SOLUC.DBF", DAMAGES, "import", "--source", "C:\\ESCOLAN", *self.dni)

    def test_the_import_refuses_the_damaged_tables_of_the_export_it_reads(self):
        every = list(DAMAGES)
        for position, table in enumerate(["HTEMP\\ASIGVALT.DBF", "HTEMP\\PROFT.DBF"]):
            # The teacher table's first field is the abbreviation, which the review shows: another type
            # there leaves the teachers without a name to answer for, and the import stops on that.
            chosen = [d for d in every[position::2] if not (table.endswith("PROFT.DBF") and d == "unknown_field_type")]
            self.expect_refused(table, chosen, "import", "--source", "C:\\ESCOLAN", *self.dni)

    def test_the_import_refuses_the_schools_damaged_tables(self):
        every = list(DAMAGES)
        tables = ["ESCOLAN\\horgrup.dbf", "ESCOLAN\\horprof.dbf", "ESCOLAN\\lhortipo.dbf", "ESCOLAN\\centro.dbf"]
        for position, table in enumerate(tables):
            self.expect_refused(table, every[position::len(tables)], "import", "--source", "C:\\ESCOLAN", *self.dni)

    def test_the_timetables_page_refuses_damaged_timetables(self):
        every = list(DAMAGES)
        for position, table in enumerate(["ESCOLAN\\horgrup.dbf", "ESCOLAN\\horprof.dbf"]):
            self.expect_refused(table, every[position::2], "horarios", "--source", "C:\\ESCOLAN",
                                "--out", "C:\\HTEMP\\pagina.html")

    def test_the_export_names_a_field_of_a_type_no_writer_uses(self):
        self.expect_refused("ESCOLAN\\profesor.dbf", ["unknown_field_type"], "export", "--source", "C:\\ESCOLAN")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
