// The import's review dialog in Win32: its model (ventana::DialogoRevision), in the design of the review's kind
// ("Control de Profesores", "Control de Plantilla Horaria"), drawn by app/win32/marco_revision.h.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "run/revision.h"

namespace app::win32 {

// Shows the dialog of `revision` modally over `propietario` (the main window), returning when the user has
// closed it; the table layer's messages go to `mostrarError`. The review's table stays open: a record still
// being edited is dropped when the review goes.
void MostrarRevision(HWND propietario, run::Revision& revision,
                     const std::function<void(const std::string&)>& mostrarError);

}  // namespace app::win32
