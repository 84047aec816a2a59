#include "run/interfaz_usuario.h"

#include <exception>

namespace run {

bool EjecutarManejador(InterfazUsuario& interfaz, const std::function<void()>& manejador) {
  try {
    manejador();
    return true;
  } catch (const std::exception& error) {
    interfaz.MostrarError(error.what());
    return false;
  }
}

}  // namespace run
