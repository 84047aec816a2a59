// An interface to the user for tests: it records what the runs showed, in order, and answers the review
// dialogs with what the test gives it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run/interfaz_usuario.h"
#include "run/revision.h"

namespace testing_support {

class InterfazGuionada : public run::InterfazUsuario {
 public:
  // Everything shown, in order: "mensaje: ...", "error: ...", "cursor: espera", "cursor: normal",
  // "paso: ...", "profesores", "plantilla", "cerrar".
  std::vector<std::string> sucesos;
  bool cursorEspera = false;
  // Where the last import said it wrote the printable page of the timetables (not an event: the window
  // shows nothing for it).
  std::string paginaHorarios;
  std::function<void(storage::Engine&)> alRevisarProfesores;
  std::function<void(storage::Engine&)> alRevisarPlantilla;

  void MostrarMensaje(const std::string& texto) override { sucesos.push_back("mensaje: " + texto); }
  void MostrarError(const std::string& texto) override { sucesos.push_back("error: " + texto); }
  void CursorEspera(bool activo) override {
    cursorEspera = activo;
    sucesos.push_back(activo ? "cursor: espera" : "cursor: normal");
  }
  // The review's table stays open meanwhile: the test's own table objects on the engine share its file.
  void Revisar(run::Revision& revision) override {
    const bool profesores = revision.Tipo() == run::TipoRevision::kProfesores;
    sucesos.push_back(profesores ? "profesores" : "plantilla");
    const auto& responder = profesores ? alRevisarProfesores : alRevisarPlantilla;
    if (responder) responder(revision.Engine());
  }
  void CerrarVentanaPrincipal() override { sucesos.push_back("cerrar"); }
  void PaginaHorariosEscrita(const std::string& ruta) override { paginaHorarios = ruta; }
  void PasoIniciado(std::string_view paso) override { sucesos.push_back("paso: " + std::string(paso)); }
};

}  // namespace testing_support
