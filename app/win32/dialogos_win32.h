// The window menu's dialogs in Win32 (ventana/dialogos.h): "Problemas en los datos de ESCOLAN" and "Copias de
// los horarios", each a modal window over the main window drawn from its design (a summary line, a report
// list with the design's columns, a row of buttons, the last one closing it, as Escape does), at the
// monitor's resolution; and the question with "Sí" and "No". What their buttons do is the dialogs' models'.
#pragma once

#include <windows.h>

#include <string>

#include "ventana/dialogos.h"

namespace app::win32 {

class DialogosWin32 : public ventana::Dialogos {
 public:
  // `propietario` is the main window: the dialogs' owner, disabled while one is shown. It may be given once
  // the window exists.
  explicit DialogosWin32(HWND propietario = nullptr) : propietario_(propietario) {}
  void AsignarPropietario(HWND propietario) { propietario_ = propietario; }

  void MostrarProblemas(ventana::DialogoProblemas& dialogo) override;
  void MostrarCopias(ventana::DialogoCopias& dialogo) override;
  // Over the dialog that is open, if one is; over the main window otherwise.
  bool Preguntar(const std::string& texto) override;

 private:
  HWND propietario_;
  HWND abierto_ = nullptr;  // the dialog being shown
};

}  // namespace app::win32
