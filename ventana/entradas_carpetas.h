// What the directory tree list shows for a folder, without widgets: the folders of its path, one entry per
// level, from the drive's root down to the folder itself, then the folder's subfolders one level deeper.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ventana {

struct EntradaCarpeta {
  std::string texto;  // "C:\" for the drive's root, else the folder's name
  std::string ruta;   // the folder's Windows path, where opening the entry moves
  int nivel = 0;      // 0 for the drive's root; each level is indented one step more
  bool abierta = false;  // a folder of the path (drawn open), not a subfolder
};

struct EntradasCarpeta {
  std::vector<EntradaCarpeta> entradas;
  std::size_t actual = 0;  // the folder's own entry, the one selected
};

// The entries for `carpeta`, a full Windows path; its subfolders sorted as platform::Subfolders sorts them.
EntradasCarpeta EntradasDeCarpeta(const std::string& carpeta);

}  // namespace ventana
