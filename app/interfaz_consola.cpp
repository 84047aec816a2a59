#include "app/interfaz_consola.h"

#include "run/tablas_preparadas.h"
#include "storage/storage.h"

namespace app {

InterfazConsola::InterfazConsola(std::ostream& salida, std::ostream& errores, bool progreso)
    : salida_(salida), errores_(errores), progreso_(progreso) {}

void InterfazConsola::MostrarMensaje(const std::string& texto) { salida_ << texto << std::endl; }

void InterfazConsola::MostrarError(const std::string& texto) { errores_ << texto << std::endl; }

// The teacher review: each teacher given on the command line gets its identity number.
void InterfazConsola::RevisarProfesores(storage::Engine& engine) {
  storage::Table proft(engine);
  run::DirigirAProfesores(proft);
  proft.Open();
  for (proft.First(); !proft.Eof(); proft.Next()) {
    auto dni = dnis.find(proft.AsString("ABREV"));
    if (dni == dnis.end()) continue;
    proft.Edit();
    proft.SetAsInteger("DNI", dni->second);
    proft.Post();
  }
}

// The template review: each period given on the command line gets its times, as typed into the grid's
// five-character cells.
void InterfazConsola::RevisarPlantilla(storage::Engine& engine) {
  storage::Table plantilla(engine);
  run::DirigirAPlantilla(plantilla);
  plantilla.Open();
  for (plantilla.First(); !plantilla.Eof(); plantilla.Next()) {
    auto periodo = periodos.find(plantilla.AsInteger("HORA"));
    if (periodo == periodos.end()) continue;
    plantilla.Edit();
    plantilla.SetAsString("HORAINI", periodo->second.first);
    plantilla.SetAsString("HORAFIN", periodo->second.second);
    plantilla.Post();
  }
}

void InterfazConsola::PaginaHorariosEscrita(const std::string& ruta) {
  salida_ << kPaginaHorariosEn << ruta << std::endl;
}

void InterfazConsola::PasoIniciado(std::string_view paso) {
  if (progreso_) errores_ << "... " << paso << std::endl;
}

}  // namespace app
