// The program's icon in Qt: every size drawn from packaging/icono/escolan-horvane.svg, built into the program.
#pragma once

#include <QIcon>

namespace app {

QIcon IconoPrograma();

}  // namespace app
