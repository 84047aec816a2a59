// escolan-horvane: the Qt program with the main window.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "app/version.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Exportar e importar datos ");
  window.setFixedSize(587, 431);
  auto* credit = new QLabel(QString("%1 %2").arg(app::kNombreProducto, app::kVersion), &window);
  credit->setGeometry(281, 414, 281, 14);
  window.show();
  return QApplication::exec();
}
