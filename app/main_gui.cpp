// escolan-horvane: the Qt program. Its one window lives as long as the process; closing it ends the program.
#include <QApplication>

#include "app/qt/exportar_datos.h"
#include "app/qt/icono.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The icon of any window without a parent; the desktop file's name lets a Wayland desktop find the menu
  // entry, and with it the icon, for the program's windows.
  QApplication::setWindowIcon(app::IconoPrograma());
  QGuiApplication::setDesktopFileName(QStringLiteral("escolan-horvane"));
  // No application display name: the window system would append it to every window's title. The message
  // boxes take the application's title from app::kTituloAplicacion.
  app::TExportarDatos ventana;
  ventana.show();
  return QApplication::exec();
}
