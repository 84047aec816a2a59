#!/usr/bin/python3
"""A tiny school written by an independent dBase writer (python3-dbf), exported by the command line,
answered by a stand-in for the timetable generator, and imported back; every table the program writes is
read with independent readers (python3-dbfread, dbf_dump, ogrinfo, index_dump) and compared with records
written out here by hand.

Usage: round_trip.py CLI_BINARY WORK_FOLDER [--wine WINE]
With --wine, CLI_BINARY is the Windows command line, run through WINE; it is given Windows paths (Wine's
drive Z: is the host's "/")."""
import os
import shutil
import subprocess
import sys

try:
    import dbf
    import dbfread
    import escuela_python_dbf
except ImportError:
    print("python3-dbf or python3-dbfread missing")
    sys.exit(77)

CLI, WORK = sys.argv[1], os.path.abspath(sys.argv[2])
WINE = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--wine" else None
COMMAND = [WINE, CLI] if WINE else [CLI]
DRIVE_C = os.path.join(WORK, "drive_c")
ESCOLAN = os.path.join(DRIVE_C, "ESCOLAN")
HTEMP = os.path.join(DRIVE_C, "HTEMP")


def program_path(host_path):
    """A host path as the command line takes it."""
    return "Z:" + host_path.replace("/", "\\") if WINE else host_path


ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C=program_path(DRIVE_C))
failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}:\n  expected {expected!r}\n  actual   {actual!r}")


def read_table(folder, name):
    return [dict(record) for record in dbfread.DBF(os.path.join(folder, name), char_decode_errors="strict")]


def run(*arguments, expect=0):
    done = subprocess.run([*COMMAND, *arguments], env=ENV, capture_output=True, text=True)
    if done.returncode != expect:
        failures.append(f"{' '.join(arguments)} exited {done.returncode}: {done.stdout}{done.stderr}")
    return done


def write_escolan():
    shutil.rmtree(WORK, ignore_errors=True)
    escuela_python_dbf.write_escolan(ESCOLAN)


# ------------------------------------------------------------------------------------------------------
# The export

EXPECTED_EXPORT = {
    "ASIGVALT.DBF": [
        dict(COD="MAT", CODLARGO="MAT", NOMBRE="Matemàtiques", CODVALEN="1ESOMAT", NHORAS=4.0, NIVEL="ESO", CURSO="1"),
        dict(COD="LEN", CODLARGO="LEN", NOMBRE="Valencià", CODVALEN="1ESOLEN", NHORAS=3.0, NIVEL="ESO", CURSO="1"),
        dict(COD="FIS", CODLARGO="FIS", NOMBRE="Física", CODVALEN="2BACFIS", NHORAS=1.0, NIVEL="BAC", CURSO="2"),
    ],
    "ASIGNOMT.DBF": [dict(COD="FIS", CODLARGO="FIS", NOMBRE="Física"),
                     dict(COD="LEN", CODLARGO="LEN", NOMBRE="Valencià"),
                     dict(COD="MAT", CODLARGO="MAT", NOMBRE="Matemàtiques")],
    "PROFT.DBF": [dict(ABREV="GA", NOMBRE="GARCIA PEREZ, ANA", DEPART="MATEMÁTICAS", DNI=12345678),
                  dict(ABREV="GA2", NOMBRE="GALLEGO RUIZ, LUIS", DEPART="FÍSICA", DNI=23456789)],
    "AULAT.DBF": [dict(ABREV="A12", NOMBRE="Aula 12", EDIFICIO="1", MAXALUM=0),
                  dict(ABREV="LABF", NOMBRE="Laboratorio", EDIFICIO="1", MAXALUM=0)],
    "ASIGCURT.DBF": [dict(NIVEL="ESO", CURSO="1", ASIG="LEN", HORAS=3.0),
                     dict(NIVEL="ESO", CURSO="1", ASIG="MAT", HORAS=4.0),
                     dict(NIVEL="BAC", CURSO="2", ASIG="FIS", HORAS=1.0)],
    "GRUPOST.DBF": [dict(ABREV="EO1A", TURNO="M", NIVEL="ESO", CURSO="1", GRUPO="A"),
                    dict(ABREV="EO1B", TURNO="M", NIVEL="ESO", CURSO="1", GRUPO="B"),
                    dict(ABREV="B2A", TURNO="T", NIVEL="BA", CURSO="2", GRUPO="A")],
    "CURSOST.DBF": [dict(ABREV="ME1", TURNO="M", NIVEL="ESO", CURSO="1"),
                    dict(ABREV="TB2", TURNO="T", NIVEL="BA", CURSO="2")],
    "ASIGT.DBF": [
        dict(CASIG="MAT", CPROF="GA", CGRUP="EO1A", CAULA="", TURNO="", NIVEL="ESO", CURSO="1", GRUPO="A",
             HORAS=4.0, SESIONES="1111"),
        dict(CASIG="LEN", CPROF="GA2", CGRUP="EO1B", CAULA="", TURNO="", NIVEL="ESO", CURSO="1", GRUPO="B",
             HORAS=3.0, SESIONES="111"),
        dict(CASIG="FIS", CPROF="", CGRUP="B2A", CAULA="", TURNO="", NIVEL="BA", CURSO="2", GRUPO="A",
             HORAS=1.0, SESIONES="1"),
    ],
}


def expected_students():
    def student(exped, nombre, nivel, curso, grupo, repite, subjects):
        record = dict(EXPED=exped, NOMBRE=nombre, TURNO="", NIVEL=nivel, CURSO=curso, GRUPO=grupo, OPCION="",
                      REPITE=repite)
        for n in range(1, 51):
            record[f"ASIG{n}"] = subjects[n - 1] if n <= len(subjects) else ""
            record[f"DIV{n}"] = ""
        return record
    return [student("1001", "PÉREZ GIL, MARTA", "ESO", "1", "A", True, ["MAT", "LEN"]),
            student("1002", "ROS LLORCA, JOAN", "BA", "2", "A", False, ["FIS"])]


def check_export():
    done = run("export", "--source", program_path(ESCOLAN))
    check("export's standard output", done.stdout.splitlines()[-1:], ["    Proceso finalizado    "])
    expected = dict(EXPECTED_EXPORT, **{"ALUMNOST.DBF": expected_students()})
    for name, records in expected.items():
        check(name, read_table(HTEMP, name), records)
        if shutil.which("dbf_dump"):
            dump = subprocess.run(["dbf_dump", os.path.join(HTEMP, name)], capture_output=True)
            check(f"dbf_dump {name} exit", dump.returncode, 0)
            check(f"dbf_dump {name} lines", len(dump.stdout.splitlines()), len(records))
        if shutil.which("ogrinfo"):
            info = subprocess.run(["ogrinfo", "-ro", "-al", "-so", os.path.join(HTEMP, name)], capture_output=True, text=True)
            check(f"ogrinfo {name} exit", info.returncode, 0)
            check(f"ogrinfo {name} count", f"Feature Count: {len(records)}" in info.stdout, True)
    if shutil.which("index_dump"):
        for tag, field in (("COD", "COD"), ("CODVALEN", "CODVALEN")):
            listing = subprocess.run(["timeout", "20", "index_dump", os.path.join(HTEMP, "ASIGVALT.MDX"), tag],
                                     capture_output=True, text=True, encoding="cp1252")
            keys = [line.rsplit(" ", 1) for line in listing.stdout.splitlines() if line.strip()]
            values = [r[field] for r in EXPECTED_EXPORT["ASIGVALT.DBF"]]
            expected_keys = sorted((v.ljust(4 if field == "COD" else 10), str(values.index(v) + 1)) for v in values)
            check(f"index_dump ASIGVALT.MDX {tag}", [tuple(k) for k in keys], expected_keys)


# ------------------------------------------------------------------------------------------------------
# The generator's part: one lesson per session of each teaching assignment, on days 1, 2, ... and period
# 1 + the assignment's position; and one lesson it left unscheduled (day 0).

def write_solution():
    assignments = read_table(HTEMP, "ASIGT.DBF")
    lessons = []
    for position, a in enumerate(assignments):
        for session in range(len(a["SESIONES"])):
            lessons.append((session + 1, position + 1, "A12", a["CPROF"], a["NIVEL"], a["CURSO"], a["CASIG"], a["GRUPO"]))
    lessons.append((0, 1, "A12", "GA", "ESO", "1", "MAT", "A"))
    table = dbf.Table(os.path.join(HTEMP, "SOLUC.DBF"), "DIA N(1,0); HORA N(2,0); AULA C(5); PROF C(4); "
                      "NIVEL C(5); CURSO C(3); ASIG C(4); GRUPO C(2)", dbf_type="db3", codepage="cp1252")
    table.open(dbf.READ_WRITE)
    for lesson in lessons:
        table.append(lesson)
    table.close()
    return lessons


def check_timetable_page(output):
    """The import printed where it wrote the printable page of the timetables: in the backup folder of the pair
    it replaced, which holds that pair."""
    prefix = "Horarios para imprimir: "
    lines = [line for line in output.splitlines() if line.startswith(prefix)]
    check("the import printed the page's path once", len(lines), 1)
    if not lines:
        return
    path = lines[0][len(prefix):]
    check("the page is on drive C:, in C:\\HTEMP\\COPIAS", path.upper().startswith("C:\\HTEMP\\COPIAS\\"), True)
    check("the page's name", path.rsplit("\\", 1)[-1], "horarios.html")
    host = os.path.join(DRIVE_C, *path[3:].split("\\"))
    check("the page is there", os.path.isfile(host), True)
    check("beside the backup of the replaced pair", sorted(os.listdir(os.path.dirname(host))),
          ["ORIGEN.TXT", "horarios.html", "horgrup.dbf", "horprof.dbf"])
    with open(host, encoding="utf-8") as page:
        text = page.read()
    check("the page shows a lesson of the solution", 'data-grupo="1ESOA"' in text and "GARCIA PEREZ, ANA" in text, True)


def check_import(lessons):
    times = {1: ("08:00", "08:55"), 2: ("08:55", "09:50"), 3: ("10:00", "10:55")}  # period 3 changed below
    done = run("import", "--source", program_path(ESCOLAN), "--period", "3=10:00-10:55")
    check_timetable_page(done.stdout)
    dnis = {"GA": 12345678, "GA2": 23456789}
    codes = {(r["NIVEL"], r["CURSO"], r["COD"]): r["CODVALEN"] for r in EXPECTED_EXPORT["ASIGVALT.DBF"]}
    teachers, groups = [], []
    for dia, hora, aula, prof, nivel, curso, asig, grupo in lessons:
        if dia == 0:
            continue
        start, end = times.get(hora, ("", ""))
        teachers.append(dict(DIASEM=dia, NUMHORA=hora, HORAD=start, HORAH=end, OCUPA=aula, CODCEN=46010001,
                             DNI=dnis.get(prof, 0), NOTA=""))
        codvalen = codes.get((nivel, curso, asig), "")
        groups.append(dict(CODGRUP=codvalen[:4] + grupo if codvalen else "", CODASIG=codvalen,
                           DNI=dnis.get(prof, 0), DIASEM=dia, NUMHORA=hora, HORDIADES=start, HORDIAHAS=end,
                           CODCEN=46010001, AULA=""))
    check("horprof.dbf after the import", read_table(ESCOLAN, "horprof.dbf"), teachers)
    check("horgrup.dbf after the import", read_table(ESCOLAN, "horgrup.dbf"), groups)
    # The closing message, then the lessons written with an incidence, counted: here those whose teacher
    # PROFT does not hold, and those whose subject ASIGVALT does not hold.
    abbreviations = {r["ABREV"] for r in read_table(HTEMP, "PROFT.DBF")}
    unknown_teachers = len([x for x in lessons if x[0] and x[3] not in abbreviations])
    unknown_subjects = len([g for g in groups if not g["CODASIG"]])
    closing = ["    Proceso finalizado     ", "", "Clases escritas tal como vienen en la solución, con incidencias:"]
    if unknown_teachers:
        closing.append(f"  {unknown_teachers} con un profesor que PROFT no tiene (D.N.I. 0)")
    if unknown_subjects:
        closing.append(f"  {unknown_subjects} con una asignatura que ASIGVALT no tiene (sin grupo ni asignatura)")
    check("the solution has lessons with incidences", bool(unknown_teachers or unknown_subjects), True)
    output = run("import", "--source", program_path(ESCOLAN), "--period", "3=10:00-10:55").stdout.splitlines()
    check("the import's closing message", output[-len(closing):], closing)
    check("horgrup.dbf after a second import", read_table(ESCOLAN, "horgrup.dbf"), groups)


def check_identity_stop():
    """A teacher without identity number stops the import (exit 3) unless --dni gives one."""
    proft = dbf.Table(os.path.join(HTEMP, "PROFT.DBF"))
    proft.open(dbf.READ_WRITE)
    with proft[1] as teacher:
        teacher.dni = 0
    proft.close()
    before = {name: open(os.path.join(ESCOLAN, name), "rb").read() for name in ("horgrup.dbf", "horprof.dbf")}
    stopped = subprocess.run([*COMMAND, "import", "--source", program_path(ESCOLAN)], env=ENV, capture_output=True)
    check("the import's exit status when it stops", stopped.returncode, 3)
    message = ("¡Atención! Sigue habiendo algún Profesor sin D.N.I.\n\rEste proceso se dentendrá y deberá volver a "
               "ejecutar\n\rla Importación, para poder corregir la incidencia\n")
    # (Windows writes a console program's line ends as CR LF.)
    output = stopped.stdout.replace(b"\r\n", b"\n") if WINE else stopped.stdout
    check("the stop message, its lines joined by LF CR", output.decode("utf-8").endswith(message), True)
    after = {name: open(os.path.join(ESCOLAN, name), "rb").read() for name in before}
    check("ESCOLAN's timetables after the stop", after == before, True)
    run("import", "--source", program_path(ESCOLAN), "--dni", "GA2=23456789", "--period", "3=10:00-10:55", expect=0)


write_escolan()
check_export()
lessons = write_solution()
check_import(lessons)
check_identity_stop()
check("horgrup.dbf after an import with --dni", len(read_table(ESCOLAN, "horgrup.dbf")), len([x for x in lessons if x[0]]))
for failure in failures:
    print(failure)
print(f"{0 if failures else 1} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
