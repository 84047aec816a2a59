#include "app/qt/icono.h"

#include <QDir>

namespace app {

// The build puts one escolan-horvane-N.png per size under the resource folder :/icono.
QIcon IconoPrograma() {
  QIcon icono;
  const QDir carpeta(QStringLiteral(":/icono"));
  for (const QString& nombre : carpeta.entryList({QStringLiteral("*.png")}, QDir::Files)) {
    icono.addFile(carpeta.filePath(nombre));
  }
  return icono;
}

}  // namespace app
