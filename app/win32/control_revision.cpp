#include "app/win32/control_revision.h"

#include "app/win32/marco_revision.h"
#include "ventana/revision.h"

namespace app::win32 {

void MostrarRevision(HWND propietario, run::Revision& revision,
                     const std::function<void(const std::string&)>& mostrarError) {
  ventana::DialogoRevision dialogo(revision);
  MarcoRevision(propietario, dialogo, mostrarError).Mostrar();
}

}  // namespace app::win32
