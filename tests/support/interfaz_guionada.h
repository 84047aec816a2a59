// An interface to the user for tests: it records what the runs showed, in order, and answers the review
// dialogs with what the test gives it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run/interfaz_usuario.h"

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
  void RevisarProfesores(storage::Engine& engine) override {
    sucesos.push_back("profesores");
    if (alRevisarProfesores) alRevisarProfesores(engine);
  }
  void RevisarPlantilla(storage::Engine& engine) override {
    sucesos.push_back("plantilla");
    if (alRevisarPlantilla) alRevisarPlantilla(engine);
  }
  void CerrarVentanaPrincipal() override { sucesos.push_back("cerrar"); }
  void PaginaHorariosEscrita(const std::string& ruta) override { paginaHorarios = ruta; }
  void PasoIniciado(std::string_view paso) override { sucesos.push_back("paso: " + std::string(paso)); }
};

}  // namespace testing_support
