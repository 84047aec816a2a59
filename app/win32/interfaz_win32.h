// How the runs reach the user in the Win32 window: modal message boxes captioned with the application's
// title, the application-wide hourglass, and the two review dialogs of the import.
#pragma once

#include <windows.h>

#include <optional>

#include "app/win32/comun.h"
#include "run/interfaz_usuario.h"

namespace app::win32 {

class InterfazWin32 : public run::InterfazUsuario {
 public:
  // `ventana` is the main window: the owner of the boxes and dialogs, and the window that
  // CerrarVentanaPrincipal closes. It may be given once the window exists.
  explicit InterfazWin32(HWND ventana = nullptr) : ventana_(ventana) {}
  void AsignarVentana(HWND ventana) { ventana_ = ventana; }

  void MostrarMensaje(const std::string& texto) override;
  void MostrarError(const std::string& texto) override;
  void CursorEspera(bool activo) override;
  // The review's dialog, shown modally over the main window; the hourglass is off while the user works in it
  // (the run sets it again afterwards).
  void Revisar(run::Revision& revision) override;
  // Closes the main window once the running handler has returned, which ends the program.
  void CerrarVentanaPrincipal() override;

 private:
  HWND ventana_;
  std::optional<win32::CursorEspera> espera_;
};

}  // namespace app::win32
