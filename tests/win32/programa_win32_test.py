#!/usr/bin/python3
"""The Windows window program, run under Wine on an X display over the invented school, and used from outside
as a person would, with real mouse and key events (xdotool): the window (its title, its client area of
587x431, the school's tables staged at start-up), then an import of a solution through both review dialogs:
an identity number typed into the teacher grid for each teacher without one, "Salir" in both dialogs, the closing message,
"No" to seeing the timetables. The number must then be in C:\\HTEMP\\PROFT.DBF. Then, started again over a
school whose asignat has "3:30" as a record's weekly hours and that has a backup of its timetables: the export
stops with its message and the problems dialog lists the record; the system menu (Alt+Space) opens the backups
dialog, whose "Restaurar" and "Sí" put the backup back, byte for byte. espia.exe, a spy program, says where the
windows and controls are.

Usage: programa_win32_test.py WINE PROGRAM CLI ESPIA WORK_FOLDER [--capturas FOLDER [--dpi N]]
With --capturas, the main window and the dialogs are also kept as PNG files in FOLDER, from the screen that
Xvfb keeps in the file $WINE_SCREEN (scripts/wine.sh's display). With --dpi, the Wine prefix is set to N dots
per inch (its LogPixels) by the caller: the window's client area is expected that much larger, and the
pictures' names end in "-Ndpi". Exits 77 (skipped) without an X display,
xdotool or python3-dbf."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
try:
    import dbf
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
DPI = int(sys.argv[9]) if len(sys.argv) > 9 and sys.argv[8] == "--dpi" else 96


def a_dpi(*medidas):
    """Lengths designed at 96 dpi, at the display's dpi (as Windows' MulDiv rounds)."""
    return tuple((medida * DPI + 48) // 96 for medida in medidas)


CLIENTE = a_dpi(587, 431)
DRIVE_C = os.path.join(WORK, "drive_c")
HTEMP = os.path.join(DRIVE_C, "HTEMP")
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C="Z:" + DRIVE_C.replace("/", "\\"))

TITULO = "Exportar e importar datos "
PROFESORES = "Control de Profesores"
PLANTILLA = "Control de Plantilla Horaria"
PRIMER_DNI = 24681357  # the numbers typed: this one and the next ones
PROBLEMAS = "Problemas en los datos de ESCOLAN"
COPIAS = "Copias de los horarios"
SELLO = "20261201-101010"  # the backup the user restores


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


def esperar_mensaje(que, inicio, segundos=60):
    """The text of the application's message box once it begins with `inicio` (the one before may still be
    closing)."""
    print("waiting for", que, flush=True)
    final = time.monotonic() + segundos
    texto = None
    while time.monotonic() < final:
        if PROGRAMA is not None and PROGRAMA.poll() is not None:
            raise Fallo(f"the program ended (exit status {PROGRAMA.returncode}) while waiting for {que}")
        texto = espia("mensaje", TITULO)
        if texto is not None and texto.startswith(inicio):
            return texto
        time.sleep(0.3)
    raise Fallo(f"{que} did not show in {segundos} s (the last box said {texto!r})")


def capturar(nombre, caja):
    """The client area of a window, from the screen as it is now."""
    if CAPTURAS is None:
        return
    time.sleep(1)  # painted
    if DPI != 96:
        nombre = nombre.replace(".png", f"-{DPI}dpi.png")
    xwd_crop.crop(os.environ["WINE_SCREEN"], os.path.join(CAPTURAS, nombre), *caja)


def profesores():
    return [dict(r) for r in dbfread.DBF(os.path.join(HTEMP, "PROFT.DBF"))]


def comprobar_ventana(fallos):
    caja = esperar("the main window", "ventana", TITULO)
    cx, cy, cancho, calto = caja[4:8]
    if (cancho, calto) != CLIENTE:
        fallos.append(f"client area {cancho}x{calto}, expected {CLIENTE[0]}x{CLIENTE[1]}")
    ids = subprocess.run(["xdotool", "search", "--name", f"^{TITULO}$"], capture_output=True, text=True).stdout.split()
    if len(ids) != 1:
        fallos.append(f"X windows named '{TITULO}': {len(ids)}")
    else:
        # Without a window manager, Wine leaves the frame undrawn: the X window is the client area.
        info = subprocess.run(["xwininfo", "-id", ids[0]], capture_output=True, text=True).stdout
        medidas = {k.strip(): v.strip() for k, _, v in (l.partition(":") for l in info.splitlines()) if v}
        if (int(medidas["Width"]), int(medidas["Height"])) != CLIENTE:
            fallos.append(f"the X window is {medidas['Width']}x{medidas['Height']}, expected {CLIENTE[0]}x{CLIENTE[1]}")
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
    esperar_mensaje("the question whether to see the timetables", "Los horarios que había están guardados en")
    clicar(esperar("its No", "boton", TITULO, "&No"))
    return tecleados


# ---- The window menu: the problems after an export that stops, and a backup restored ----

def poner_campo(ruta, registro, campo, texto):
    """Writes `texto` into a character field of record `registro` (from 1) of a dBase table, in place."""
    with open(ruta, "r+b") as tabla:
        cabecera = tabla.read(32)
        largo_cabecera, largo_registro = int.from_bytes(cabecera[8:10], "little"), int.from_bytes(cabecera[10:12], "little")
        descriptores = tabla.read(largo_cabecera - 32)
        desplazamiento = 1
        for inicio in range(0, len(descriptores) - 31, 32):
            descriptor = descriptores[inicio:inicio + 32]
            if descriptor[0] == 0x0D:
                break
            if descriptor[:11].split(b"\0")[0].decode("ascii") == campo:
                tabla.seek(largo_cabecera + (registro - 1) * largo_registro + desplazamiento)
                tabla.write(texto.encode("cp1252").ljust(descriptor[16])[:descriptor[16]])
                return
            desplazamiento += descriptor[16]
    raise Fallo(f"{ruta} has no field {campo}")


def preparar_escuela_con_problema_y_copia():
    """The invented school with "3:30" as the weekly hours of asignat's fourth record (the third is deleted),
    and a backup of its timetables (tables of 3 and 4 lessons) in C:\\HTEMP\\COPIAS."""
    shutil.rmtree(DRIVE_C, ignore_errors=True)
    os.makedirs(DRIVE_C)
    cli("make-sample", "C:\\ESCOLAN")
    poner_campo(os.path.join(DRIVE_C, "ESCOLAN", "asignat.dbf"), 4, "HORSEMTE", "3:30")
    copia = os.path.join(HTEMP, "COPIAS", SELLO)
    os.makedirs(copia)
    for nombre, clases in (("horgrup", 3), ("horprof", 4)):
        tabla = dbf.Table(os.path.join(copia, nombre + ".dbf"), "DIA N(1,0)", dbf_type="db3", codepage="cp1252")
        tabla.open(dbf.READ_WRITE)
        for clase in range(clases):
            tabla.append((clase + 1,))
        tabla.close()
    with open(os.path.join(copia, "ORIGEN.TXT"), "w", newline="", encoding="cp1252") as origen:
        origen.write("C:\\ESCOLAN\r\n")
    return copia


def activar_principal():
    """Once a dialog over the main window has closed: the window active again, as a person waits to see it
    (Wine makes it active a moment later, and a click meanwhile is lost), then a click on its top left corner,
    where nothing answers one, so that the keys go to it."""
    esperar("the main window active again", "activa", TITULO)
    time.sleep(1)
    principal = esperar("the main window", "ventana", TITULO)
    clicar((principal[4] + 3, principal[5] + 3))


def problemas_de_la_exportacion(fallos):
    esperar("the main window", "ventana", TITULO)
    clicar(esperar("the export's Aceptar", "control", TITULO, "Aceptar", "1"))
    esperar_mensaje("the export's notice", "La duración de este Proceso")
    clicar(esperar("the notice's Aceptar", "aceptar", TITULO))
    final = time.monotonic() + 120
    parada = None
    while time.monotonic() < final and (parada is None or parada.startswith("La duración de este Proceso")):
        parada = espia("mensaje", TITULO)
        time.sleep(0.3)
    if parada is None or "no es un valor punto flotante válido" not in parada:
        fallos.append(f"the export stopped with {parada!r}")
    clicar(esperar("the stop message's Aceptar", "aceptar", TITULO))

    dialogo = esperar("the problems dialog", "ventana", PROBLEMAS)
    if tuple(dialogo[6:8]) != a_dpi(780, 440):
        fallos.append(f"the problems dialog's client area is {dialogo[6]}x{dialogo[7]}, expected {a_dpi(780, 440)}")
    filas = esperar("its list", "filas", PROBLEMAS)[0]
    if filas < 1:
        fallos.append("the problems dialog lists no problem")
    capturar("win32-problemas.png", dialogo[4:8])
    clicar((dialogo[4] + 200, dialogo[5] + 16))  # on the summary line: the keys go to the dialog
    xdotool("key", "Escape")
    esperar_que_cierre(PROBLEMAS)


def restaurar_una_copia(fallos, copia):
    escolan = os.path.join(DRIVE_C, "ESCOLAN")
    # The system menu from the keyboard, the window clicked first so that the keys go to it; the menu's last
    # items are the backups, the manual and "Acerca de…".
    activar_principal()
    xdotool("key", "alt+space")
    esperar("the system menu", "menu")
    xdotool("key", "--delay", "150", "End", "Up", "Up", "Return")
    dialogo = esperar("the backups dialog", "ventana", COPIAS)
    if tuple(dialogo[6:8]) != a_dpi(720, 360):
        fallos.append(f"the backups dialog's client area is {dialogo[6]}x{dialogo[7]}, expected {a_dpi(720, 360)}")
    filas = esperar("its list", "filas", COPIAS)[0]
    if filas != 1:
        fallos.append(f"the backups dialog lists {filas} backups, expected 1")
    capturar("win32-copias.png", dialogo[4:8])

    clicar(esperar("Restaurar", "control", COPIAS, "Restaurar"))
    pregunta = esperar_mensaje("the question", "¿Desea restaurar los horarios de la copia del 01/12/2026")
    if "10:10:10 en C:\\ESCOLAN?" not in pregunta:
        fallos.append(f"the question was {pregunta!r}")
    clicar(esperar("Sí", "boton", TITULO, "&Sí"))
    esperar_mensaje("the restore's message", f"Se han restaurado los horarios de la copia {SELLO} en C:\\ESCOLAN")
    clicar(esperar("its Aceptar", "aceptar", TITULO))
    for nombre in ("horgrup.dbf", "horprof.dbf"):
        with open(os.path.join(escolan, nombre), "rb") as ahora, open(os.path.join(copia, nombre), "rb") as guardado:
            if ahora.read() != guardado.read():
                fallos.append(f"C:\\ESCOLAN\\{nombre} is not the backup's after the restore")
    # The list read again: the backup of the pair just replaced is there too.
    final = time.monotonic() + 10
    while espia("filas", COPIAS) != [2] and time.monotonic() < final:
        time.sleep(0.3)
    if espia("filas", COPIAS) != [2]:
        fallos.append(f"after the restore the backups dialog lists {espia('filas', COPIAS)} backups, expected 2")
    clicar(esperar("Cerrar", "control", COPIAS, "Cerrar"))
    esperar_que_cierre(COPIAS)
    activar_principal()


def con_el_programa(fallos, escenario):
    """Runs the window program over drive C: while `escenario` uses it, then closes it with "Salir"."""
    global PROGRAMA
    PROGRAMA = programa = subprocess.Popen([WINE, PROGRAM], cwd=DRIVE_C, env=ENV, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
    try:
        escenario()
        clicar(esperar("Salir", "control", TITULO, "&Salir"))
        programa.wait(timeout=60)
        return True
    except (Fallo, subprocess.TimeoutExpired) as fallo:
        fallos.append(str(fallo))
        pantalla = os.environ.get("WINE_SCREEN")
        if pantalla and os.path.exists(pantalla):
            xwd_crop.crop(pantalla, os.path.join(WORK, "pantalla.png"), 0, 0, 1280, 1024)
            fallos.append(f"the screen at that moment: {os.path.join(WORK, 'pantalla.png')}")
        return False
    finally:
        PROGRAMA = None
        if programa.poll() is None:
            programa.kill()
            programa.wait()


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(DRIVE_C)
    if CAPTURAS:
        os.makedirs(CAPTURAS, exist_ok=True)
    cli("make-sample", "C:\\ESCOLAN")
    cli("export", "--source", "C:\\ESCOLAN")
    solucion_de_prueba.escribir_solucion(HTEMP)

    fallos = []
    tecleados = {}

    def importacion():
        comprobar_ventana(fallos)
        tecleados.update(importar(fallos))

    if con_el_programa(fallos, importacion):
        en_proft = profesores()
        for fila, dni in tecleados.items():
            if en_proft[fila]["DNI"] != dni:
                fallos.append(f"PROFT's row {fila} has DNI {en_proft[fila]['DNI']!r}, expected {dni}")

    copia = preparar_escuela_con_problema_y_copia()

    def menu():
        problemas_de_la_exportacion(fallos)
        restaurar_una_copia(fallos, copia)

    con_el_programa(fallos, menu)
    for fallo in fallos:
        print("FAILED:", fallo)
    if not fallos:
        print("the window, its staging, an import through both dialogs, the problems of an export that stopped and"
              " a backup restored from the system menu: as expected")
    return 1 if fallos else 0


sys.exit(main())
