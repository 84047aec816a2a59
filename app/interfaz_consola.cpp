#include "app/interfaz_consola.h"

#include <string>
#include <vector>

#include "ventana/revision.h"

namespace app {

InterfazConsola::InterfazConsola(std::ostream& salida, std::ostream& errores, bool progreso)
    : salida_(salida), errores_(errores), progreso_(progreso) {}

void InterfazConsola::MostrarMensaje(const std::string& texto) { salida_ << texto << std::endl; }

void InterfazConsola::MostrarError(const std::string& texto) { errores_ << texto << std::endl; }

// The teacher review: each teacher given on the command line, by its abbreviation, gets its identity number;
// the template review: each period given gets its start and end times.
void InterfazConsola::Revisar(run::Revision& revision) {
  std::vector<ventana::Respuesta> respuestas;
  if (revision.Tipo() == run::TipoRevision::kProfesores) {
    for (const auto& [abreviatura, dni] : dnis_) {
      respuestas.push_back({run::kCampoAbreviatura, abreviatura, {{run::kCampoDni, std::to_string(dni)}}});
    }
  } else {
    for (const auto& [periodo, horas] : periodos_) {
      respuestas.push_back({run::kCampoHora,
                            std::to_string(periodo),
                            {{run::kCampoHoraInicio, horas.first}, {run::kCampoHoraFinal, horas.second}}});
    }
  }
  ventana::DialogoRevision dialogo(revision);
  ventana::Responder(dialogo, respuestas);
}

void InterfazConsola::PaginaHorariosEscrita(const std::string& ruta) {
  salida_ << kPaginaHorariosEn << ruta << std::endl;
}

void InterfazConsola::PasoIniciado(std::string_view paso) {
  if (progreso_) errores_ << "... " << paso << std::endl;
}

}  // namespace app
