#include "ventana/entradas_carpetas.h"

#include "platform/platform.h"

namespace ventana {

EntradasCarpeta EntradasDeCarpeta(const std::string& carpeta) {
  const platform::WindowsPath ruta = platform::FullPath(carpeta);
  EntradasCarpeta resultado;
  platform::WindowsPath nivel{ruta.drive, {}};
  resultado.entradas.push_back({nivel.Text(), nivel.Text(), 0, true});
  for (const std::string& nombre : ruta.names) {
    nivel = nivel.Child(nombre);
    resultado.entradas.push_back({nombre, nivel.Text(), static_cast<int>(nivel.names.size()), true});
  }
  resultado.actual = resultado.entradas.size() - 1;
  const int nivelSubcarpetas = static_cast<int>(ruta.names.size()) + 1;
  for (const std::string& nombre : platform::Subfolders(ruta.Text())) {
    resultado.entradas.push_back({nombre, ruta.Child(nombre).Text(), nivelSubcarpetas, false});
  }
  return resultado;
}

}  // namespace ventana
