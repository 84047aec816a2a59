// escolan-horvane: the Qt program. Its one window lives as long as the process; closing it ends the program.
#include <QApplication>

#include "app/qt/exportar_datos.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // No application display name: the window system would append it to every window's title. The message
  // boxes take the application's title from app::kTituloAplicacion.
  app::TExportarDatos ventana;
  ventana.show();
  return QApplication::exec();
}
