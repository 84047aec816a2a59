// The program's name and version, as the credit line and the command line show them.
#pragma once

namespace ventana {

inline constexpr const char* kNombreProducto = "Utilidad de transferencia ESCOLAN<->HORVANE";
inline constexpr const char* kVersion = "V-2.5";

}  // namespace ventana
