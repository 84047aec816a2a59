#!/usr/bin/python3
"""The command line's `horarios` on a small school written by an independent dBase writer (python3-dbf): the
page is parsed back with html.parser, and every lesson is looked for in its group's grid and in its teacher's
grid, in the column of its day and the row of its period; the clash the school has is listed and marked in
its grids; the other centre's lessons are not there; the folder is left as it was. Then the errors: a folder
without horgrup (the table layer's message, exit 1), bad arguments (exit 2).

Usage: pagina_horarios_test.py CLI_BINARY WORK_FOLDER [--wine WINE]"""
import html.parser
import os
import shutil
import subprocess
import sys

try:
    import dbf
except ImportError:
    print("python3-dbf missing")
    sys.exit(77)

CLI, WORK = sys.argv[1], os.path.abspath(sys.argv[2])
WINE = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--wine" else None
COMMAND = [WINE, CLI] if WINE else [CLI]
DRIVE_C = os.path.join(WORK, "drive_c")
ESCOLAN = os.path.join(WORK, "escolan")
failures = []


def program_path(host_path):
    return "Z:" + host_path.replace("/", "\\") if WINE else host_path


ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C=program_path(DRIVE_C))


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}:\n  expected {expected!r}\n  actual   {actual!r}")


def run(*arguments):
    done = subprocess.run([*COMMAND, *arguments], env=ENV, capture_output=True, cwd=WORK)
    lines = lambda b: b.decode("utf-8").replace("\r\n", "\n")
    return done.returncode, lines(done.stdout), lines(done.stderr)


def write_table(name, fields, rows, codepage="cp1252"):
    table = dbf.Table(os.path.join(ESCOLAN, name), fields, dbf_type="db3", codepage=codepage)
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    table.close()


TEACHERS = {11111111: "GARCÍA PÉREZ, ANA", 22222222: "O'NEIL \"JOE\" & <CO>"}
SUBJECTS = {"1ESOMAT": "Matemáticas", "1ESOLEN": "Lengua & <Literatura>"}
ROOMS = {"A1": "Aula 1", "LAB": "Laboratorio"}
TIMES = {1: ("08:00", "08:55"), 2: ("08:55", "09:50"), 3: ("10:10", "11:05")}
# The centre's lessons: teacher, day, period, group, subject, room. Teacher 11111111 is in two rooms on
# Tuesday (day 2) at period 3, and room A1 has two teachers on Friday at period 2: two clashes. Day 6 is a
# Saturday lesson.
LESSONS = [
    (11111111, 1, 1, "1ESOA", "1ESOMAT", "A1"),
    (22222222, 1, 1, "1ESOB", "1ESOLEN", "LAB"),
    (22222222, 1, 2, "1ESOA", "1ESOLEN", "A1"),
    (11111111, 2, 3, "1ESOA", "1ESOMAT", "A1"),
    (11111111, 2, 3, "1ESOB", "1ESOMAT", "LAB"),
    (11111111, 5, 2, "1ESOB", "1ESOMAT", "A1"),
    (22222222, 6, 1, "1ESOA", "1ESOLEN", "A1"),
    (22222222, 5, 2, "1ESOA", "1ESOLEN", "A1"),
]
CLASHING = {3: "Profesor", 4: "Profesor", 5: "Aula", 7: "Aula"}


def write_school():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(ESCOLAN)
    os.makedirs(DRIVE_C)
    write_table("centro.dbf", "CODCEN N(10,0); LITCEN C(45)", [(46001, "IES <Prueba> & Cía"), (46002, "OTRO")])
    write_table("asignat.dbf", "CODASIG C(8); VLITEASIG C(30); CLITEASIG C(30)",
                [(code, "v " + name, name) for code, name in SUBJECTS.items()], codepage="cp850")
    write_table("profesor.dbf", "APENOMPROF C(40); DNI N(8,0)", list((n, d) for d, n in TEACHERS.items()))
    write_table("aulas.dbf", "CODAULA C(6); LITAULA C(30)", list(ROOMS.items()))
    write_table("grupos.dbf", "CODGRUP C(5); TURNO C(1)", [("1ESOA", "M"), ("1ESOB", "M")])
    write_table("lhortipo.dbf", "CODCEN N(10,0); NUMHORA N(2,0); DESDE C(5); HASTA C(5)",
                [(46001, p, *t) for p, t in TIMES.items()] + [(46002, 1, "07:00", "07:55")])
    # horprof in another order (last day first, as a folder sorted by ESCOLAN may be), the records of one
    # teacher's hour still in horgrup's order: the pairing goes by teacher, day and period, not by position.
    write_table("horgrup.dbf", "CODGRUP C(5); CODASIG C(8); DNI N(9,0); DIASEM N(2,0); NUMHORA N(2,0); "
                "HORDIADES C(5); HORDIAHAS C(5); CODCEN N(10,0)",
                [(g, s, d, day, p, *TIMES.get(p, ("", "")), 46001) for d, day, p, g, s, r in LESSONS]
                + [("2BA", "2BACFIS", 33333333, 1, 1, "", "", 46002)])
    write_table("horprof.dbf", "DIASEM N(2,0); NUMHORA N(2,0); HORAD C(5); HORAH C(5); OCUPA C(5); CODCEN N(10,0); "
                "DNI N(9,0)", [(day, p, *TIMES.get(p, ("", "")), r, 46001, d) for d, day, p, g, s, r in sorted(LESSONS, key=lambda x: (-x[1], -x[2]))]
                + [(1, 1, "", "", "OTRA", 46002, 33333333)])


class Page(html.parser.HTMLParser):
    """The grids (by section id: title, day of each column, rows of cells of lessons), the index's links, the
    summary's clash rows."""

    def __init__(self):
        super().__init__()
        self.sections, self.links, self.clash_rows = {}, [], []
        self.section = self.row = self.cell = self.lesson = self.span = None
        self.in_h2 = self.in_clash_row = False
        self.scripts = 0

    def handle_starttag(self, tag, attributes):
        a = dict(attributes)
        classes = (a.get("class") or "").split()
        if tag == "script":
            self.scripts += 1
        if tag == "section":
            self.section = dict(id=a.get("id"), title="", columns=[], rows=[])
            self.sections[a.get("id")] = self.section
        elif tag == "h2":
            self.in_h2 = True
        elif tag == "a" and a.get("href", "").startswith("#"):
            self.links.append(a["href"][1:])
        elif tag == "th" and "data-dia" in a and self.section is not None:
            self.section["columns"].append(int(a["data-dia"]))
        elif tag == "tr" and "data-hora" in a:
            self.row = dict(hora=int(a["data-hora"]), label="", cells=[])
            self.section["rows"].append(self.row)
        elif tag == "tr" and "choque" in classes:
            self.in_clash_row = True
            self.clash_rows.append("")
        elif tag == "th" and self.row is not None:
            self.cell = "label"
        elif tag == "td" and self.row is not None:
            self.cell = dict(dia=int(a["data-dia"]), hora=int(a["data-hora"]), lessons=[])
            self.row["cells"].append(self.cell)
        elif tag == "div" and "clase" in classes:
            self.lesson = dict(clash="choque" in classes, texts={}, group=a.get("data-grupo"),
                               dni=a.get("data-dni"), room=a.get("data-aula"))
            self.cell["lessons"].append(self.lesson)
        elif tag == "span" and self.lesson is not None:
            self.span = classes[0]
            self.lesson["texts"][self.span] = ""

    def handle_endtag(self, tag):
        if tag == "h2":
            self.in_h2 = False
        elif tag == "tr":
            self.row = None
            self.in_clash_row = False
        elif tag == "th" and self.cell == "label":
            self.cell = None
        elif tag == "div":
            self.lesson = None
        elif tag == "span":
            self.span = None
        elif tag == "section":
            self.section = None

    def handle_data(self, data):
        if self.in_h2 and self.section is not None:
            self.section["title"] += data
        if self.cell == "label":
            self.row["label"] += data
        if self.lesson is not None and self.span:
            self.lesson["texts"][self.span] += data
        if self.in_clash_row:
            self.clash_rows[-1] += data + " "


def grid(page, title_start):
    found = [s for s in page.sections.values() if s["title"].startswith(title_start)]
    check(f"one grid titled {title_start!r}", len(found), 1)
    return found[0] if found else dict(columns=[], rows=[])


def cell(section, day, period):
    """The cell in the column whose header is the day and the row of the period, by position."""
    for row in section["rows"]:
        if row["hora"] == period and day in section["columns"]:
            position = section["columns"].index(day)
            found = row["cells"][position]
            check("the cell's own day and period", (found["dia"], found["hora"]), (day, period))
            return found
    failures.append(f"no cell for day {day} period {period} in {section.get('title')!r}")
    return dict(lessons=[])


def check_page(path):
    with open(path, encoding="utf-8") as page_file:
        text = page_file.read()
    page = Page()
    page.feed(text)
    check("no script", page.scripts, 0)
    check("A4 landscape", "@page { size: A4 landscape" in text, True)
    check("the centre's name, escaped", "IES &lt;Prueba&gt; &amp; Cía" in text, True)
    grids = [s for s in page.sections.values() if s["rows"]]
    check("a grid per group and per teacher", len(grids), 2 + 2)
    check("the index links to every grid", sorted(set(page.links) & {s["id"] for s in grids}),
          sorted(s["id"] for s in grids))
    for section in grids:
        check(f"days of {section['title']}", section["columns"], [1, 2, 3, 4, 5, 6])
        check(f"periods of {section['title']}", [r["hora"] for r in section["rows"]], [1, 2, 3])
        for row in section["rows"]:
            start, end = TIMES[row["hora"]]
            check(f"the times of period {row['hora']}", start in row["label"] and end in row["label"], True)
    for n, (dni, day, period, group, subject, room) in enumerate(LESSONS):
        in_group = cell(grid(page, "Grupo " + group), day, period)["lessons"]
        in_teacher = cell(grid(page, TEACHERS[dni]), day, period)["lessons"]
        wanted_group = dict(asig=SUBJECTS[subject], con=TEACHERS[dni], aula=ROOMS[room])
        wanted_teacher = dict(asig=SUBJECTS[subject], con=group, aula=ROOMS[room])
        mark = {"marca": "⚠ Choque: " + CLASHING[n]} if n in CLASHING else {}
        for where, lessons, wanted in (("group", in_group, wanted_group), ("teacher", in_teacher, wanted_teacher)):
            matching = [x for x in lessons if x["texts"] == dict(wanted, **mark)]
            check(f"lesson {n} in its {where}'s grid", len(matching), 1)
            check(f"lesson {n} marked as a clash in its {where}'s grid", [x["clash"] for x in matching],
                  [n in CLASHING] * len(matching))
    all_lessons = [x for s in grids for r in s["rows"] for c in r["cells"] for x in c["lessons"]]
    check("every lesson once in a group grid and once in a teacher grid", len(all_lessons), 2 * len(LESSONS))
    check("the other centre's lessons are not there", "2BACFIS" in text or "OTRA" in text, False)
    check("clashes listed", len(page.clash_rows), 2)
    check("the teacher's clash names the teacher, Tuesday, period 3",
          any(TEACHERS[11111111] in r and "Martes" in r and "3.ª" in r for r in page.clash_rows), True)
    check("the room's clash names the room, Friday, period 2",
          any(ROOMS["A1"] in r and "Viernes" in r and "2.ª" in r for r in page.clash_rows), True)


def check_command():
    before = {name: open(os.path.join(ESCOLAN, name), "rb").read() for name in os.listdir(ESCOLAN)}
    out = os.path.join(WORK, "pagina.html")
    status, stdout, stderr = run("horarios", "--source", program_path(ESCOLAN), "--out", program_path(out))
    check("exit status", (status, stderr), (0, ""))
    check("the page's path printed", stdout.strip().lower(), "z:" + out.replace("/", "\\").lower())
    check_page(out)
    after = {name: open(os.path.join(ESCOLAN, name), "rb").read() for name in os.listdir(ESCOLAN)}
    check("the folder is as it was", after == before, True)

    # Default: horarios.html in the current folder; another centre of the folder by --centre.
    status, stdout, _ = run("horarios", "--source", program_path(ESCOLAN), "--centre", "46002")
    check("--centre 46002 exit status", status, 0)
    check("the default page is in the current folder", os.path.exists(os.path.join(WORK, "horarios.html")), True)
    with open(os.path.join(WORK, "horarios.html"), encoding="utf-8") as page_file:
        other = page_file.read()
    check("centre 46002's page has its lesson and not the other centre's", ("2BA" in other, "1ESOA" in other),
          (True, False))


def check_errors():
    os.remove(os.path.join(ESCOLAN, "horgrup.dbf"))
    status, stdout, stderr = run("horarios", "--source", program_path(ESCOLAN), "--out", program_path(os.path.join(WORK, "x.html")))
    check("a folder without horgrup: exit status", status, 1)
    check("a folder without horgrup: the table layer's message",
          stderr.startswith("La tabla no existe: ") and stderr.rstrip().lower().endswith("horgrup.dbf"), True)
    check("nothing written", os.path.exists(os.path.join(WORK, "x.html")), False)
    check("no --source: exit 2", run("horarios")[0], 2)
    status, _, stderr = run("horarios", "--source", program_path(ESCOLAN), "--centre", "99")
    check("a centre the folder lacks: exit 2", status, 2)
    check("a centre the folder lacks: its centres listed", "46001, 46002" in stderr, True)


write_school()
check_command()
check_errors()
for failure in failures:
    print(failure)
print(f"{0 if failures else 1} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
