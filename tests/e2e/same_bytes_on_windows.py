#!/usr/bin/python3
"""The Windows command line under Wine against the Linux one, on the same ESCOLAN folders: each writes the
same files, byte for byte. For the invented school in both sizes (written by the Linux build) and a folder
written by an independent dBase writer (python3-dbf): the export's nine tables and everything else it
leaves in C:\\HTEMP, then, after the same generator's solution, the import's horgrup and horprof. The
Windows build's own invented school is compared with the Linux one too.

Usage: same_bytes_on_windows.py LINUX_CLI WINDOWS_CLI WINE WORK_FOLDER"""
import filecmp
import os
import re
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

LINUX_CLI, WINDOWS_CLI, WINE, WORK = sys.argv[1], sys.argv[2], sys.argv[3], os.path.abspath(sys.argv[4])
failures = []


def windows_path(host_path):
    return "Z:" + host_path.replace("/", "\\")


class Side:
    """One build with a drive C: of its own."""

    def __init__(self, name, command, drive_c, to_program):
        self.name, self.command, self.drive_c, self.to_program = name, command, drive_c, to_program

    def run(self, *arguments):
        env = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C=self.to_program(self.drive_c))
        done = subprocess.run([*self.command, *arguments], env=env, capture_output=True)
        output = done.stdout.replace(b"\r\n", b"\n").decode("utf-8", "replace")
        return done.returncode, output


def sides(case):
    folder = os.path.join(WORK, case)
    return (Side("Linux", [LINUX_CLI], os.path.join(folder, "linux", "drive_c"), lambda path: path),
            Side("Windows", [WINE, WINDOWS_CLI], os.path.join(folder, "windows", "drive_c"), windows_path))


def files_under(folder):
    names = []
    for root, _, files in os.walk(folder):
        names += [os.path.relpath(os.path.join(root, name), folder) for name in files]
    return sorted(names)


def compare_trees(what, linux_folder, windows_folder, leave_out=()):
    linux_files = [n for n in files_under(linux_folder) if not n.upper().startswith(leave_out)]
    windows_files = [n for n in files_under(windows_folder) if not n.upper().startswith(leave_out)]
    if linux_files != windows_files:
        failures.append(f"{what}: different files\n  Linux   {linux_files}\n  Windows {windows_files}")
        return
    for name in linux_files:
        if not filecmp.cmp(os.path.join(linux_folder, name), os.path.join(windows_folder, name), shallow=False):
            failures.append(f"{what}: {name} differs")
    if not linux_files:
        failures.append(f"{what}: no files")


def write_solution(htemp_folders):
    """A lesson for each session of each teaching assignment, the same file in every folder."""
    assignments = list(dbfread.DBF(os.path.join(htemp_folders[0], "ASIGT.DBF")))
    first = os.path.join(htemp_folders[0], "SOLUC.DBF")
    table = dbf.Table(first, "DIA N(1,0); HORA N(2,0); AULA C(5); PROF C(4); NIVEL C(5); CURSO C(3); "
                      "ASIG C(4); GRUPO C(2)", dbf_type="db3", codepage="cp1252")
    table.open(dbf.READ_WRITE)
    for position, a in enumerate(assignments):
        for session in range(len(a["SESIONES"].strip()) or 1):
            table.append((session % 5 + 1, position % 20 + 1, "A12", a["CPROF"], a["NIVEL"], a["CURSO"], a["CASIG"],
                          a["GRUPO"]))
    table.close()
    for folder in htemp_folders[1:]:
        shutil.copyfile(first, os.path.join(folder, "SOLUC.DBF"))


def identity_answers(htemp):
    """--dni answers for the teachers PROFT holds without an identity number, so the import goes on."""
    missing = [r["ABREV"].strip() for r in dbfread.DBF(os.path.join(htemp, "PROFT.DBF")) if not r["DNI"]]
    return [f"{abbreviation}={90000000 + n}" for n, abbreviation in enumerate(missing)]


BACKUP_FOLDER = re.compile(r"COPIAS\\\d{8}-\d{6}(-\d+)?")


def page_of(side, output):
    """The host path of the timetables' page whose path the import printed, or None."""
    for line in output.splitlines():
        if line.startswith("Horarios para imprimir: C:\\"):
            return os.path.join(side.drive_c, *line[len("Horarios para imprimir: C:\\"):].split("\\"))
    return None


def compare_runs(case, write_source):
    source = os.path.join(WORK, case, "source")
    shutil.rmtree(os.path.join(WORK, case), ignore_errors=True)
    write_source(source)
    linux, windows = sides(case)
    for side in (linux, windows):
        shutil.copytree(source, os.path.join(side.drive_c, "ESCOLAN"))
    results = [side.run("export", "--source", "C:\\ESCOLAN") for side in (linux, windows)]
    if results[0] != results[1]:
        failures.append(f"{case}: export answers differ\n  Linux   {results[0]}\n  Windows {results[1]}")
    htemps = [os.path.join(side.drive_c, "HTEMP") for side in (linux, windows)]
    compare_trees(f"{case}: export", *htemps)
    write_solution(htemps)
    answers = [a for answer in identity_answers(htemps[0]) for a in ("--dni", answer)]
    results = [side.run("import", "--source", "C:\\ESCOLAN", *answers) for side in (linux, windows)]
    # Each side's backup folder is named after the moment of its own import; the timetables' page written
    # there is the same.
    pages = [page_of(side, output) for side, (_, output) in zip((linux, windows), results)]
    results = [(status, BACKUP_FOLDER.sub(r"COPIAS\\<copia>", output)) for status, output in results]
    if results[0][0] != 0 or results[0] != results[1]:
        failures.append(f"{case}: import answers\n  Linux   {results[0]}\n  Windows {results[1]}")
    if None in pages or not filecmp.cmp(*pages, shallow=False):
        failures.append(f"{case}: the timetables' pages differ: {pages}")
    for name in ("horgrup.dbf", "horprof.dbf"):
        paths = [os.path.join(side.drive_c, "ESCOLAN", name) for side in (linux, windows)]
        if not filecmp.cmp(*paths, shallow=False):
            failures.append(f"{case}: the import's {name} differs")


def invented_school(size):
    def write(folder):
        os.makedirs(os.path.dirname(folder), exist_ok=True)
        subprocess.run([LINUX_CLI, "make-sample", "--size", size, folder], check=True, capture_output=True)
    return write


def compare_invented_schools():
    folder = os.path.join(WORK, "make-sample")
    shutil.rmtree(folder, ignore_errors=True)
    linux, windows = os.path.join(folder, "linux"), os.path.join(folder, "windows")
    subprocess.run([LINUX_CLI, "make-sample", "--size", "large", linux], check=True, capture_output=True)
    subprocess.run([WINE, WINDOWS_CLI, "make-sample", "--size", "large", windows_path(windows)], check=True,
                   capture_output=True, env=dict(os.environ, ESCOLAN_HORVANE_DRIVE_C=windows_path(folder)))
    compare_trees("make-sample --size large", linux, windows)


compare_invented_schools()
for size in ("small", "large"):
    compare_runs(f"sample-{size}", invented_school(size))
compare_runs("python-dbf", escuela_python_dbf.write_escolan)
for failure in failures:
    print(failure)
print(f"{'all equal' if not failures else str(len(failures)) + ' differences'}")
sys.exit(1 if failures else 0)
