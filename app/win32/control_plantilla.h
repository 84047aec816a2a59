// The class-period template review dialog of the import in Win32: the 20 periods of
// C:\HTEMP\Valencia\PLANTILLA.DBF in a grid, where the user checks and corrects their start and end times.
// The dialog's table, handlers and design are run::ControlPlantilla's; app/win32/marco_revision.h draws them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "storage/storage.h"

namespace app::win32 {

// Opens PLANTILLA through the dialog's own table object on `engine` (a failure to open it is the table
// layer's error, thrown from here before any window shows), positioned on period 1, and shows the
// dialog modally over `propietario` (the main window), returning when the user has closed it; the table
// layer's messages go to `mostrarError`. The table closes as the function returns, dropping a record
// still being edited.
void MostrarControlPlantilla(HWND propietario, storage::Engine& engine,
                             const std::function<void(const std::string&)>& mostrarError);

}  // namespace app::win32
