#!/usr/bin/python3
"""The review before an export (`revisar`) against the export itself, both run as whole processes on a
table of broken ESCOLAN folders: each is the small invented school (make-sample) with one fault put into its
bytes. Every folder the export stops on must be reported by the review with the same cause (the export's
own message, with the table named), and the review must report the faults that do not stop the export but
that a user would want to know of. The review changes no file of drive C:, and a sound folder gives no
problem line and exit status 0.

Usage: revisar_test.py CLI_BINARY WORK_FOLDER [--wine WINE]
With --wine, CLI_BINARY is the Windows command line, run through WINE."""
import fcntl
import os
import re
import shutil
import struct
import subprocess
import sys
import unittest

CLI, WORK = sys.argv[1], os.path.abspath(sys.argv[2])
WINE = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--wine" else None
COMMAND = [WINE, CLI] if WINE else [CLI]
DRIVE_C = os.path.join(WORK, "drive_c")
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C="Z:" + DRIVE_C.replace("/", "\\") if WINE else DRIVE_C)
SAMPLE = os.path.join(DRIVE_C, "MUESTRA")


def run(*arguments):
    return subprocess.run([*COMMAND, *arguments], env=ENV, capture_output=True, text=True, encoding="utf-8")


# ---- dBase bytes, edited in place as another program would leave them ----

def fields(path):
    """{name: (type, offset in the record, length)} of a dBase table."""
    with open(path, "rb") as table:
        header = table.read(32)
        header_length = struct.unpack("<H", header[8:10])[0]
        descriptors = table.read(header_length - 32)
    found, offset = {}, 1
    for start in range(0, len(descriptors) - 31, 32):
        descriptor = descriptors[start:start + 32]
        if descriptor[0] == 0x0D:
            break
        name = descriptor[:11].split(b"\0")[0].decode("ascii")
        found[name] = (chr(descriptor[11]), offset, descriptor[16])
        offset += descriptor[16]
    return found


def layout(path):
    with open(path, "rb") as table:
        header = table.read(12)
    count, header_length, record_length = struct.unpack("<IHH", header[4:12])
    return count, header_length, record_length


def set_field(folder, table, record, field, text):
    """Writes `text` into a field of record `record` (1-based), as stored: numbers right-aligned."""
    path = os.path.join(folder, table)
    kind, offset, length = fields(path)[field]
    _, header_length, record_length = layout(path)
    value = text.encode("cp1252")
    value = value.rjust(length) if kind in "NF" else value.ljust(length)
    with open(path, "r+b") as data:
        data.seek(header_length + (record - 1) * record_length + offset)
        data.write(value[:length])


def get_field(folder, table, record, field):
    path = os.path.join(folder, table)
    _, offset, length = fields(path)[field]
    _, header_length, record_length = layout(path)
    with open(path, "rb") as data:
        data.seek(header_length + (record - 1) * record_length + offset)
        return data.read(length).decode("cp1252").strip()


def append_copies(folder, table, record, copies, **changes):
    """Appends `copies` copies of record `record`, each with the fields in `changes` rewritten."""
    path = os.path.join(folder, table)
    count, header_length, record_length = layout(path)
    with open(path, "rb") as data:
        data.seek(header_length + (record - 1) * record_length)
        original = data.read(record_length)
    with open(path, "r+b") as data:
        data.seek(header_length + count * record_length)
        data.write(original * copies + b"\x1a")
        data.truncate()
        data.seek(4)
        data.write(struct.pack("<I", count + copies))
    for number in range(count + 1, count + copies + 1):
        for field, text in changes.items():
            set_field(folder, table, number, field, text)


def rename_field(folder, table, field, new_name):
    path = os.path.join(folder, table)
    with open(path, "r+b") as data:
        header = data.read(layout(path)[1])
        at = header.find(field.encode("ascii").ljust(11, b"\0"), 32)
        data.seek(at)
        data.write(new_name.encode("ascii").ljust(11, b"\0"))


def truncate(folder, name, size):
    with open(os.path.join(folder, name), "r+b") as data:
        data.truncate(size)


def remove(folder, name):
    os.remove(os.path.join(folder, name))


def repair_sample(folder):
    """The invented school keeps, on purpose, two teachers without identity number and two students without
    a group (for the import's review dialog and the export's skipping): given numbers and groups, it is a
    folder the review finds nothing in."""
    for record in range(1, layout(os.path.join(folder, "profesor.dbf"))[0] + 1):
        if get_field(folder, "profesor.dbf", record, "DNI") in ("", "0"):
            set_field(folder, "profesor.dbf", record, "DNI", str(90000000 + record))
    for record in range(1, layout(os.path.join(folder, "alumnos.dbf"))[0] + 1):
        if len(get_field(folder, "alumnos.dbf", record, "CODGRUP")) < 2:
            set_field(folder, "alumnos.dbf", record, "CODGRUP", "1ESOA")


# The sample keeps a few deleted records, which no run sees: the faults go into live ones (asignat's 3rd,
# profesor's 5th and centro's 1st record are deleted; profesor's 7th and 16th teachers are on leave).
# (name, fault, words every one of which the review must print on one line). The export's own message, when
# it stops, is checked besides.
FAULTS = [
    ("hours", lambda f: set_field(f, "asignat.dbf", 4, "HORSEMTE", "3:30"),
     ["asignat.dbf, registro 4, campo Horsemte", "'3:' no es un valor punto flotante válido"]),
    ("too_many_subjects", lambda f: append_copies(f, "asigalum.dbf", 1, 51, CODIGO="23418"),
     ["alumnos.dbf, registro 1, campo Codigo", "No se encuentra el campo 'ASIG51'"]),
    ("missing_asignat", lambda f: remove(f, "asignat.dbf"), ["asignat.dbf:", "La tabla no existe"]),
    ("missing_profesor", lambda f: remove(f, "profesor.dbf"), ["profesor.dbf:", "La tabla no existe"]),
    ("missing_aulas", lambda f: remove(f, "aulas.dbf"), ["aulas.dbf:", "La tabla no existe"]),
    ("missing_alumnos", lambda f: remove(f, "alumnos.dbf"), ["alumnos.dbf:", "La tabla no existe"]),
    ("missing_asigalum", lambda f: remove(f, "asigalum.dbf"), ["asigalum.dbf:", "La tabla no existe"]),
    ("missing_grupos", lambda f: remove(f, "grupos.dbf"), ["grupos.dbf:", "La tabla no existe"]),
    ("missing_horgrup", lambda f: remove(f, "horgrup.dbf"), ["horgrup.dbf:", "La tabla no existe"]),
    ("missing_horprof", lambda f: remove(f, "horprof.dbf"), ["horprof.dbf:", "importación"]),
    ("missing_lhortipo", lambda f: remove(f, "lhortipo.dbf"), ["lhortipo.dbf:", "importación"]),
    ("missing_centro", lambda f: remove(f, "centro.dbf"), ["centro.dbf:", "La tabla no existe"]),
    ("header_cut", lambda f: truncate(f, "asignat.dbf", 20), ["asignat.dbf:"]),
    ("descriptors_cut", lambda f: truncate(f, "grupos.dbf", 100), ["grupos.dbf:"]),
    ("records_cut", lambda f: truncate(f, "alumnos.dbf", 5000), ["alumnos.dbf:"]),
    ("missing_field", lambda f: rename_field(f, "asignat.dbf", "HORSEMTE", "HORSEM"),
     ["asignat.dbf, campo Horsemte", "No se encuentra el campo 'Horsemte'"]),
    ("missing_field_of_the_import", lambda f: rename_field(f, "horprof.dbf", "OCUPA", "OCUPADO"),
     ["horprof.dbf, campo Ocupa", "importación"]),
    ("dni_with_letters", lambda f: set_field(f, "horgrup.dbf", 4, "DNI", "12A"),
     ["horgrup.dbf, registro 4, campo Dni"]),
    ("missing_memo", lambda f: remove(f, "alumnos.fpt"), ["alumnos.fpt:", "falta"]),
    ("damaged_memo", lambda f: truncate(f, "alumnos.fpt", 600), ["alumnos.fpt, registro", "dañada"]),
    ("teacher_without_dni", lambda f: set_field(f, "profesor.dbf", 6, "DNI", "0"),
     ["profesor.dbf, registro 6, campo Dni", "D.N.I."]),
    ("teacher_with_blank_dni", lambda f: set_field(f, "profesor.dbf", 8, "DNI", ""),
     ["profesor.dbf, registro 8, campo Dni", "D.N.I."]),
    ("unknown_centre", lambda f: set_field(f, "centro.dbf", 2, "CODCEN", "46099999"),
     ["centro.dbf, registro 2, campo Codcen", "46099999", "lhortipo"]),
    ("short_group_of_a_student", lambda f: set_field(f, "alumnos.dbf", 2, "CODGRUP", "1"),
     ["alumnos.dbf, registro 2, campo Codgrup", "'1'"]),
    ("short_group", lambda f: set_field(f, "grupos.dbf", 2, "CODGRUP", ""),
     ["grupos.dbf, registro 2, campo Codgrup"]),
    ("short_group_of_a_lesson", lambda f: set_field(f, "horgrup.dbf", 2, "CODGRUP", "2"),
     ["horgrup.dbf, registro 2, campo Codgrup"]),
    ("duplicate_subject", lambda f: set_field(f, "asignat.dbf", 2, "CODASIG", get_field(f, "asignat.dbf", 1, "CODASIG")),
     ["asignat.dbf, registro 2, campo Codasig", "registro 1"]),
    ("duplicate_short_code", lambda f: set_field(f, "asignat.dbf", 2, "LITRESV", get_field(f, "asignat.dbf", 1, "LITRESV")),
     ["asignat.dbf, registro 2, campo Litresv", "registro 1"]),
    # A hundred teachers whose names start alike: the hundredth gets the tenth's abbreviation.
    ("colliding_abbreviations", lambda f: append_copies(f, "profesor.dbf", 1, 99),
     ["profesor.dbf, registro 116, campo Apenomprof", "TO10", "registro 26"]),
    ("duplicate_student", lambda f: set_field(f, "alumnos.dbf", 3, "CODIGO", get_field(f, "alumnos.dbf", 1, "CODIGO")),
     ["alumnos.dbf, registro 3, campo Codigo", "registro 1"]),
    ("duplicate_dni", lambda f: set_field(f, "profesor.dbf", 4, "DNI", get_field(f, "profesor.dbf", 3, "DNI")),
     ["profesor.dbf, registro 4, campo Dni", "registro 3"]),
]


def drive_c():
    """Every file of drive C: with its bytes and time of last change."""
    files = {}
    for folder, _, names in os.walk(DRIVE_C):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as data:
                files[os.path.relpath(path, DRIVE_C)] = (data.read(), os.stat(path).st_mtime_ns)
    return files


def cause(message):
    """An error message of the export without the table object's name before it and with each path reduced
    to its file name in lower case: the review names the folder's tables, the export their staged copies."""
    message = re.sub(r"^wwTable\w+: ", "", message.strip())
    return re.sub(r"[A-Za-z]:\\[^\s:]*\\([^\\\s:]+)", lambda m: m.group(1).lower(), message)


class Revisar(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(DRIVE_C)
        done = run("make-sample", "C:\\MUESTRA")
        assert done.returncode == 0, done.stderr
        repair_sample(SAMPLE)

    def folder(self, name):
        folder = os.path.join(DRIVE_C, name.upper())
        shutil.copytree(SAMPLE, folder)
        return folder

    def review(self, name):
        before = drive_c()
        done = run("revisar", "--source", "C:\\" + name.upper())
        self.assertEqual(drive_c(), before, "the review changed drive C:")
        return done

    def test_a_sound_folder_has_no_problem(self):
        self.folder("sana")
        done = self.review("sana")
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertEqual(len(done.stdout.splitlines()), 1, done.stdout)
        if not WINE:  # Wine may say things of its own there
            self.assertEqual(done.stderr, "")
        self.assertEqual(run("export", "--source", "C:\\SANA").returncode, 0)

    def test_the_sample_as_written_shows_its_deliberate_gaps(self):
        done = run("make-sample", "C:\\TAL_CUAL")
        self.assertEqual(done.returncode, 0)
        done = self.review("tal_cual")
        self.assertEqual(done.returncode, 1)
        lines = done.stdout.splitlines()
        self.assertEqual(lines[-1], "4 problemas encontrados.")
        self.assertEqual(sum("campo Dni" in line for line in lines), 2, done.stdout)
        self.assertEqual(sum("campo Codgrup" in line for line in lines), 2, done.stdout)

    def test_every_fault_the_export_stops_on_is_reported_with_its_cause(self):
        for name, fault, words in FAULTS:
            with self.subTest(name):
                fault(self.folder(name))
                review = self.review(name)
                self.assertEqual(review.returncode, 1, review.stdout + review.stderr)
                lines = review.stdout.splitlines()
                self.assertRegex(lines[-1], r"^\d+ problemas? encontrados?\.$")
                self.assertTrue(any(all(word in line for word in words) for line in lines[:-1]),
                                f"{words} not on one line of:\n{review.stdout}")
                export = run("export", "--source", "C:\\" + name.upper())
                if export.returncode == 0:
                    continue
                self.assertEqual(export.returncode, 1, export.stderr)
                stopped = cause(export.stderr.strip().splitlines()[-1])
                self.assertTrue(any(stopped in cause(line) for line in lines[:-1]),
                                f"the export stopped on {stopped!r}, which the review does not say:\n{review.stdout}")

    def test_what_no_run_reads_is_no_problem(self):
        """A teacher on leave is not exported, so needs no identity number; a deleted record is seen by no run."""
        folder = self.folder("de_baja")
        set_field(folder, "profesor.dbf", 7, "DNI", "")
        set_field(folder, "asignat.dbf", 3, "HORSEMTE", "3:30")
        done = self.review("de_baja")
        self.assertEqual(done.returncode, 0, done.stdout)

    @unittest.skipIf(WINE, "the generator holding a table is staged with the POSIX host's lock")
    def test_an_interchange_table_that_another_program_holds(self):
        self.folder("ocupada")
        self.assertEqual(run("export", "--source", "C:\\OCUPADA").returncode, 0)
        with open(os.path.join(DRIVE_C, "HTEMP", "PROFT.DBF"), "rb") as held:
            fcntl.flock(held, fcntl.LOCK_SH)
            review = self.review("ocupada")
            export = run("export", "--source", "C:\\OCUPADA")
        self.assertEqual(review.returncode, 1, review.stdout)
        self.assertEqual(export.returncode, 1, export.stdout)
        lines = export.stderr.strip().splitlines()
        self.assertEqual(lines[-1], "C:\\HTEMP\\PROFT.DBF está abierto en otro programa. Cierre Horvane y vuelva a "
                                    "intentarlo.")
        stopped = cause(lines[-2])
        self.assertIn("La tabla está en uso", stopped)
        self.assertTrue(any(stopped in cause(line) for line in review.stdout.splitlines()), review.stdout)

    def test_the_language_decides_which_name_is_needed(self):
        rename_field(self.folder("sin_nombre_castellano"), "asignat.dbf", "CLITEASIG", "CLITE")
        self.assertEqual(self.review("sin_nombre_castellano").returncode, 0)
        done = run("revisar", "--source", "C:\\SIN_NOMBRE_CASTELLANO", "--language", "CASTELLANO")
        self.assertEqual(done.returncode, 1)
        self.assertIn("asignat.dbf, campo Cliteasig: No se encuentra el campo 'Cliteasig'", done.stdout)

    def test_bad_arguments_exit_2(self):
        for arguments in (["revisar"], ["revisar", "--source", "C:\\MUESTRA", "--language", "castellano"]):
            with self.subTest(arguments):
                self.assertEqual(run(*arguments).returncode, 2)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
