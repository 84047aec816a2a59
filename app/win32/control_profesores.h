// The teacher identity review dialog of the import in Win32: every record of C:\HTEMP\PROFT.DBF in a grid,
// where the user gives the missing identity numbers (DNI) before the timetable is transferred.
// The dialog's table, handlers and design are run::ControlProfesores's; app/win32/marco_revision.h draws them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "storage/storage.h"

namespace app::win32 {

// Opens PROFT through the dialog's own table object on `engine` (a failure to open it is the table
// layer's error, thrown from here before any window shows), positioned on the first record, and shows the
// dialog modally over `propietario` (the main window), returning when the user has closed it; the table
// layer's messages go to `mostrarError`. The table closes as the function returns, dropping a record
// still being edited.
void MostrarControlProfesores(HWND propietario, storage::Engine& engine,
                              const std::function<void(const std::string&)>& mostrarError);

}  // namespace app::win32
