#include "app/win32/control_profesores.h"

#include "app/win32/marco_revision.h"
#include "run/revision.h"

namespace app::win32 {

void MostrarControlProfesores(HWND propietario, storage::Engine& engine,
                              const std::function<void(const std::string&)>& mostrarError) {
  run::ControlProfesores control(engine);
  MarcoRevision(propietario, control, mostrarError).Mostrar();
}

}  // namespace app::win32
