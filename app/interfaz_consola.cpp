#include "app/interfaz_consola.h"

namespace app {

InterfazConsola::InterfazConsola(std::ostream& salida, std::ostream& errores, bool progreso)
    : salida_(salida), errores_(errores), progreso_(progreso) {}

void InterfazConsola::MostrarMensaje(const std::string& texto) { salida_ << texto << std::endl; }

void InterfazConsola::MostrarError(const std::string& texto) { errores_ << texto << std::endl; }

// Without answers of its own the command line leaves both reviews as they are.
void InterfazConsola::RevisarProfesores(storage::Table&) {}

void InterfazConsola::RevisarPlantilla(storage::Table&) {}

void InterfazConsola::PasoIniciado(std::string_view paso) {
  if (progreso_) errores_ << "... " << paso << std::endl;
}

}  // namespace app
