#!/usr/bin/python3
"""The Windows window program, run under Wine on an X display over the invented school, and used from outside
as a person would, with real mouse and key events (xdotool): the window (its title, its client area of
587x431, the school's tables staged at start-up), then an import of a solution through both review dialogs:
an identity number typed into the teacher grid for each teacher without one, "Salir" in both dialogs, the closing message. The number
must then be in C:\\HTEMP\\PROFT.DBF. espia.exe, a spy program, says where the windows and controls are.

Usage: programa_win32_test.py WINE PROGRAM CLI ESPIA WORK_FOLDER [--capturas FOLDER]
With --capturas, the main window and the two dialogs are also kept as PNG files in FOLDER, from the screen
that Xvfb keeps in the file $WINE_SCREEN (scripts/wine.sh's display). Exits 77 (skipped) without an X display,
xdotool or python3-dbf."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
try:
    import dbfread
    import xwd_crop
    import solucion_de_prueba
except ImportError:
    print("python3-dbf or python3-dbfread missing")
    sys.exit(77)
if not os.environ.get("DISPLAY") or shutil.which("xdotool") is None or shutil.which("xwininfo") is None:
    print("no X display, or no xdotool or xwininfo")
    sys.exit(77)

WINE = sys.argv[1]
PROGRAM, CLI, ESPIA, WORK = (os.path.abspath(a) for a in sys.argv[2:6])
CAPTURAS = sys.argv[7] if len(sys.argv) > 7 and sys.argv[6] == "--capturas" else None
DRIVE_C = os.path.join(WORK, "drive_c")
HTEMP = os.path.join(DRIVE_C, "HTEMP")
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C="Z:" + DRIVE_C.replace("/", "\\"))

TITULO = "Exportar e importar datos "
PROFESORES = "Control de Profesores"
PLANTILLA = "Control de Plantilla Horaria"
PRIMER_DNI = 24681357  # the numbers typed: this one and the next ones


class Fallo(Exception):
    pass


def ejecutar(*command):
    """Runs a Windows program to its end; its exit status and output. The output goes through a file: a pipe
    could be held open by a Wine process that the program started (the desktop's) long after it ended."""
    with open(os.path.join(WORK, "salida.txt"), "w+", encoding="utf-8", errors="replace") as salida:
        returncode = subprocess.run([WINE, *command], env=ENV, stdout=salida, stderr=subprocess.STDOUT).returncode
        salida.seek(0)
        return returncode, salida.read()


def cli(*arguments):
    returncode, output = ejecutar(CLI, *arguments)
    if returncode != 0:
        raise Fallo(f"escolan-horvane-cli {' '.join(arguments)} exited {returncode}: {output}")


def espia(*arguments):
    """espia.exe's answer as numbers or text; None while what it looks for is not there."""
    returncode, output = ejecutar(ESPIA, *arguments)
    if returncode != 0:
        return None
    answer = output.strip()
    return answer if arguments[0] == "mensaje" else [int(v) for v in answer.split()]


PROGRAMA = None  # the window program, once started


def esperar(que, *arguments, segundos=60):
    print("waiting for", que, flush=True)
    final = time.monotonic() + segundos
    while time.monotonic() < final:
        if PROGRAMA is not None and PROGRAMA.poll() is not None:
            raise Fallo(f"the program ended (exit status {PROGRAMA.returncode}) while waiting for {que}")
        answer = espia(*arguments)
        if answer is not None:
            return answer
        time.sleep(0.3)
    raise Fallo(f"{que} did not show in {segundos} s")


def esperar_que_cierre(titulo, segundos=30):
    final = time.monotonic() + segundos
    while time.monotonic() < final:
        if espia("ventana", titulo) is None:
            return
        time.sleep(0.3)
    raise Fallo(f"'{titulo}' is still open after {segundos} s")


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def clicar(punto, doble=False):
    xdotool("mousemove", "--sync", str(punto[0]), str(punto[1]))
    xdotool("click", *(["--repeat", "2", "--delay", "80"] if doble else []), "1")


def capturar(nombre, caja):
    """The client area of a window, from the screen as it is now."""
    if CAPTURAS is None:
        return
    time.sleep(1)  # painted
    xwd_crop.crop(os.environ["WINE_SCREEN"], os.path.join(CAPTURAS, nombre), *caja)


def profesores():
    return [dict(r) for r in dbfread.DBF(os.path.join(HTEMP, "PROFT.DBF"))]


def comprobar_ventana(fallos):
    caja = esperar("the main window", "ventana", TITULO)
    cx, cy, cancho, calto = caja[4:8]
    if (cancho, calto) != (587, 431):
        fallos.append(f"client area {cancho}x{calto}, expected 587x431")
    ids = subprocess.run(["xdotool", "search", "--name", f"^{TITULO}$"], capture_output=True, text=True).stdout.split()
    if len(ids) != 1:
        fallos.append(f"X windows named '{TITULO}': {len(ids)}")
    else:
        # Without a window manager, Wine leaves the frame undrawn: the X window is the client area.
        info = subprocess.run(["xwininfo", "-id", ids[0]], capture_output=True, text=True).stdout
        medidas = {k.strip(): v.strip() for k, _, v in (l.partition(":") for l in info.splitlines()) if v}
        if (int(medidas["Width"]), int(medidas["Height"])) != (587, 431):
            fallos.append(f"the X window is {medidas['Width']}x{medidas['Height']}, expected 587x431")
    preparadas = {n.lower() for n in os.listdir(os.path.join(HTEMP, "VALENCIA"))}
    for tabla in ("asignat.dbf", "centro.dbf", "profesor.dbf", "asigalum.dbf", "aulas.dbf", "grupos.dbf",
                  "alumnos.dbf", "alumnos.fpt", "lhortipo.dbf"):
        if tabla not in preparadas:
            fallos.append(f"{tabla} is not staged in C:\\HTEMP\\VALENCIA: {sorted(preparadas)}")
    capturar("ventana-principal-win32.png", (cx, cy, cancho, calto))


def importar(fallos):
    """Returns the identity numbers typed, by row of the teachers' table."""
    sin_dni = [i for i, p in enumerate(profesores()) if not p["DNI"]]
    if not sin_dni:
        raise Fallo("the sample school has no teacher without identity number")
    tecleados = {fila: PRIMER_DNI + n for n, fila in enumerate(sin_dni)}
    clicar(esperar("the import's Aceptar", "control", TITULO, "Aceptar", "2"))  # the first is the export's
    aviso = esperar("the import's notice", "mensaje", TITULO)
    if not aviso.startswith("La duración de este Proceso será más larga"):
        fallos.append(f"the import began with {aviso!r}")
    clicar(esperar("the notice's Aceptar", "aceptar", TITULO))

    dialogo = esperar("the teacher dialog", "ventana", PROFESORES)
    capturar("control-profesores-win32.png", dialogo[4:8])
    for fila, dni in tecleados.items():
        clicar(esperar("the DNI cell", "celda", PROFESORES, str(fila), "0"), doble=True)
        time.sleep(0.5)
        xdotool("key", "--delay", "50", "ctrl+a")
        xdotool("type", "--delay", "80", str(dni))
        xdotool("key", "Return")
    clicar(esperar("Salir", "control", PROFESORES, "Salir"))
    esperar_que_cierre(PROFESORES)

    dialogo = esperar("the template dialog", "ventana", PLANTILLA)
    capturar("control-plantilla-win32.png", dialogo[4:8])
    clicar(esperar("Salir", "control", PLANTILLA, "Salir"))
    esperar_que_cierre(PLANTILLA)

    texto = esperar("the closing message", "mensaje", TITULO, segundos=120)
    if not texto.startswith("Proceso finalizado"):
        fallos.append(f"the import ended with {texto!r}")
    clicar(esperar("the closing message's Aceptar", "aceptar", TITULO))
    return tecleados


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(DRIVE_C)
    if CAPTURAS:
        os.makedirs(CAPTURAS, exist_ok=True)
    cli("make-sample", "C:\\ESCOLAN")
    cli("export", "--source", "C:\\ESCOLAN")
    solucion_de_prueba.escribir_solucion(HTEMP)

    global PROGRAMA
    fallos = []
    PROGRAMA = programa = subprocess.Popen([WINE, PROGRAM], cwd=DRIVE_C, env=ENV, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
    try:
        comprobar_ventana(fallos)
        tecleados = importar(fallos)
        clicar(esperar("Salir", "control", TITULO, "&Salir"))
        programa.wait(timeout=60)
        en_proft = profesores()
        for fila, dni in tecleados.items():
            if en_proft[fila]["DNI"] != dni:
                fallos.append(f"PROFT's row {fila} has DNI {en_proft[fila]['DNI']!r}, expected {dni}")
    except (Fallo, subprocess.TimeoutExpired) as fallo:
        fallos.append(str(fallo))
        pantalla = os.environ.get("WINE_SCREEN")
        if pantalla and os.path.exists(pantalla):
            xwd_crop.crop(pantalla, os.path.join(WORK, "pantalla.png"), 0, 0, 1280, 1024)
            fallos.append(f"the screen at that moment: {os.path.join(WORK, 'pantalla.png')}")
    finally:
        if programa.poll() is None:
            programa.kill()
            programa.wait()
    for fallo in fallos:
        print("FAILED:", fallo)
    if not fallos:
        print("the window, its staging and an import through both dialogs: as expected")
    return 1 if fallos else 0


sys.exit(main())
