// How the runs reach the user in the window: modal message boxes captioned with the application's title,
// and the application-wide hourglass.
#pragma once

#include <string>

#include "run/interfaz_usuario.h"

class QWidget;

namespace app {

// The boxes' caption is the application's title, not Qt's application display name, which some window
// systems append to the title of every window (a review dialog would show "Control de Profesores — Exportar
// e importar datos ").

// A modal question captioned with the application's title, with the buttons "Sí" and "No" (Escape is No):
// whether the user answered Sí.
bool PreguntarSiNo(QWidget* padre, const std::string& texto);

class InterfazQt : public run::InterfazUsuario {
 public:
  // `ventana` is the main window: the boxes' parent, and the window that CerrarVentanaPrincipal closes.
  explicit InterfazQt(QWidget* ventana) : ventana_(ventana) {}
  ~InterfazQt() override;
  InterfazQt(const InterfazQt&) = delete;
  InterfazQt& operator=(const InterfazQt&) = delete;

  void MostrarMensaje(const std::string& texto) override;
  void MostrarError(const std::string& texto) override;
  void CursorEspera(bool activo) override;
  // The review's dialog, owned by the main window, shown modally and released as it closes; the hourglass
  // is off while the user works in it (the run sets it again afterwards).
  void Revisar(run::Revision& revision) override;
  void CerrarVentanaPrincipal() override;

 private:
  QWidget* ventana_;
  bool cursorEspera_ = false;
};

}  // namespace app
