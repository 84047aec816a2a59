// escolan-horvane: the Qt program. Its one window lives as long as the process; closing it ends the program.
#include <QApplication>

#include "app/qt/exportar_datos.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The message boxes' caption. The same text as the window's title, so that no window system appends it
  // to that title.
  QApplication::setApplicationDisplayName(QString::fromUtf8(app::kTituloVentana));
  app::TExportarDatos ventana;
  ventana.show();
  return QApplication::exec();
}
