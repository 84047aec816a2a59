#include "app/win32/interfaz_win32.h"

#include "app/win32/control_revision.h"

namespace app::win32 {

void InterfazWin32::MostrarMensaje(const std::string& texto) { win32::MostrarMensaje(ventana_, texto, false); }

void InterfazWin32::MostrarError(const std::string& texto) { win32::MostrarMensaje(ventana_, texto, true); }

void InterfazWin32::CursorEspera(bool activo) {
  if (activo && !espera_) espera_.emplace();
  if (!activo) espera_.reset();
}

void InterfazWin32::Revisar(run::Revision& revision) {
  CursorEspera(false);
  MostrarRevision(ventana_, revision, [this](const std::string& texto) { MostrarError(texto); });
}

void InterfazWin32::CerrarVentanaPrincipal() {
  if (ventana_ != nullptr) PostMessageW(ventana_, WM_CLOSE, 0, 0);
}

}  // namespace app::win32
