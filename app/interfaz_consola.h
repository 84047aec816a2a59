// The runs' interface to the user on the command line: messages on standard output, one per line; errors
// on standard error; a progress line per step on standard error when it is a terminal.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>

#include "run/interfaz_usuario.h"

namespace app {

// Before the path of the printable page of the timetables, on its own line.
inline constexpr const char* kPaginaHorariosEn = "Horarios para imprimir: ";

class InterfazConsola : public run::InterfazUsuario {
 public:
  InterfazConsola(std::ostream& salida, std::ostream& errores, bool progreso);

  void MostrarMensaje(const std::string& texto) override;
  void MostrarError(const std::string& texto) override;
  void CursorEspera(bool) override {}
  // The review is answered with `dnis` or `periodos` through the dialog's own model, as if typed into it.
  void Revisar(run::Revision& revision) override;
  void CerrarVentanaPrincipal() override { cerrada_ = true; }
  void PasoIniciado(std::string_view paso) override;
  void PaginaHorariosEscrita(const std::string& ruta) override;

  bool VentanaCerrada() const { return cerrada_; }

  // The answers to the import's review dialogs: identity numbers by teacher abbreviation, and start and
  // end times by period number. Without them a review changes nothing.
  void PonerRespuestas(std::map<std::string, std::int32_t> dnis,
                       std::map<int, std::pair<std::string, std::string>> periodos) {
    dnis_ = std::move(dnis);
    periodos_ = std::move(periodos);
  }

 private:
  std::map<std::string, std::int32_t> dnis_;
  std::map<int, std::pair<std::string, std::string>> periodos_;
  std::ostream& salida_;
  std::ostream& errores_;
  bool progreso_;
  bool cerrada_ = false;
};

}  // namespace app
