#!/usr/bin/python3
"""The Linux window's screenshots, beside the Windows window's: the main window and the two review dialogs of
an import, over the invented school, on the X display of $DISPLAY whose screen Xvfb keeps in the XWD file
$WINE_SCREEN. Run by docs/capturas.sh.

Usage: capturas_qt.py LINUX_BUILD WORK_FOLDER OUT_FOLDER
Without a window manager, each of Qt's windows is an X window the size of its client area; the import's
button is clicked where the window's design puts it."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
import dbf
import xwd_crop
import solucion_de_prueba

BUILD, WORK, OUT = (os.path.abspath(a) for a in sys.argv[1:4])
PROGRAM = os.path.join(BUILD, "app", "escolan-horvane")
CLI = os.path.join(BUILD, "app", "escolan-horvane-cli")
DRIVE_C = os.path.join(WORK, "drive_c")
HTEMP = os.path.join(DRIVE_C, "HTEMP")
ENV = dict(os.environ, ESCOLAN_HORVANE_DRIVE_C=DRIVE_C, QT_QPA_PLATFORM="xcb")
TITULO = "Exportar e importar datos "
# Where the design puts the import's Aceptar in the window's client area.
ACEPTAR_IMPORTACION = (273 + 108 + 44, 162 + 145 + 12)


def ventanas(titulo):
    done = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{titulo}$"], capture_output=True, text=True)
    return done.stdout.split()


def esperar(titulo, cuantas=1):
    for _ in range(200):
        ids = ventanas(titulo)
        if len(ids) >= cuantas:
            return ids[-1]
        time.sleep(0.1)
    raise SystemExit(f"'{titulo}' did not show")


def caja(ventana):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", ventana], capture_output=True, text=True).stdout
    valores = dict(line.split("=") for line in out.split())
    return int(valores["X"]), int(valores["Y"]), int(valores["WIDTH"]), int(valores["HEIGHT"])


def clicar(ventana, punto):
    x, y, _, _ = caja(ventana)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x + punto[0]), str(y + punto[1]), "click", "1"], check=True)


def capturar(ventana, nombre):
    time.sleep(1)
    xwd_crop.crop(os.environ["WINE_SCREEN"], os.path.join(OUT, nombre), *caja(ventana))


def preparar():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(DRIVE_C)
    subprocess.run([CLI, "make-sample", "C:\\ESCOLAN"], env=ENV, check=True, stdout=subprocess.DEVNULL)
    subprocess.run([CLI, "export", "--source", "C:\\ESCOLAN"], env=ENV, check=True, stdout=subprocess.DEVNULL)
    solucion_de_prueba.escribir_solucion(HTEMP)


def capturar_dialogo(dialogo, nombre):
    """Starts the program, captures its window, starts an import, answers its notice and captures the dialog
    when it shows; then ends the program."""
    programa = subprocess.Popen([PROGRAM], cwd=DRIVE_C, env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        principal = esperar(TITULO)
        capturar(principal, "ventana-principal.png")
        clicar(principal, ACEPTAR_IMPORTACION)
        aviso = esperar(TITULO, 2)
        subprocess.run(["xdotool", "windowfocus", "--sync", aviso, "key", "Return"], check=True)
        capturar(esperar(dialogo), nombre)
    finally:
        programa.kill()
        programa.wait()


def dar_dni_a_todos():
    tabla = dbf.Table(os.path.join(HTEMP, "PROFT.DBF"))
    tabla.open(dbf.READ_WRITE)
    for numero, registro in enumerate(tabla):
        if not registro.dni:
            with registro:
                registro.dni = 24681357 + numero
    tabla.close()


def main():
    os.makedirs(OUT, exist_ok=True)
    # The teacher dialog as it opens, with teachers still without identity number.
    preparar()
    capturar_dialogo("Control de Profesores", "control-profesores.png")
    # The template's: when every teacher has an identity number, the import goes straight to it.
    preparar()
    dar_dni_a_todos()
    capturar_dialogo("Control de Plantilla Horaria", "control-plantilla.png")


main()
