// The window program's resource identifiers, shared by escolan-horvane.rc and the code that loads them.
#pragma once

// The program's icon (packaging/icono), every size from 16 to 256 px: the first icon of the executable, so
// the one Explorer and the shortcuts show.
#define IDI_PROGRAMA 1
