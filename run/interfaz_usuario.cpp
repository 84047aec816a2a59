#include "run/interfaz_usuario.h"

#include <exception>

#include "platform/platform.h"
#include "run/rutas.h"
#include "storage/storage.h"

namespace run {

std::string LineaArchivoEnUso(std::string_view ruta) {
  std::string quien = "ESCOLAN";
  try {
    platform::WindowsPath carpeta = platform::FullPath(ruta).Parent();
    const std::string intercambio = platform::FullPath(kCarpetaIntercambio).Text();
    const std::string& texto = carpeta.Text();
    if (platform::SameName(texto, intercambio)) {
      quien = "Horvane";
    } else if (texto.size() > intercambio.size() && texto[intercambio.size()] == '\\' &&
               platform::SameName(texto.substr(0, intercambio.size()), intercambio)) {
      quien = "el programa que lo tiene abierto";
    }
  } catch (const platform::FileError&) {
  }
  return std::string(ruta) + " está abierto en otro programa. Cierre " + quien + " y vuelva a intentarlo.";
}

std::string MensajeDeError(const std::exception& error) {
  std::string mensaje = error.what();
  std::string ruta;
  if (const auto* archivo = dynamic_cast<const platform::FileError*>(&error);
      archivo != nullptr && archivo->code() == platform::kSharingViolation) {
    ruta = archivo->path();
  } else if (const auto* tabla = dynamic_cast<const storage::DatabaseError*>(&error);
             tabla != nullptr && tabla->fileErrorCode() == platform::kSharingViolation) {
    ruta = tabla->path();
  }
  if (!ruta.empty()) mensaje += "\n" + LineaArchivoEnUso(ruta);
  return mensaje;
}

bool EjecutarManejador(InterfazUsuario& interfaz, const std::function<void()>& manejador) {
  try {
    manejador();
    return true;
  } catch (const std::exception& error) {
    interfaz.MostrarError(MensajeDeError(error));
    return false;
  }
}

}  // namespace run
