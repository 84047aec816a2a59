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

namespace {

// Another program has the file open without sharing it (32), or holds a lock on the part read (33).
bool EnUso(int codigo) { return codigo == platform::kSharingViolation || codigo == platform::kLockViolation; }

}  // namespace

std::string MensajeDeError(const std::exception& error) {
  std::string mensaje = error.what();
  std::string ruta;
  if (const auto* archivo = dynamic_cast<const platform::FileError*>(&error); archivo != nullptr && EnUso(archivo->code())) {
    ruta = archivo->path();
  } else if (const auto* tabla = dynamic_cast<const storage::DatabaseError*>(&error);
             tabla != nullptr && EnUso(tabla->fileErrorCode())) {
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
