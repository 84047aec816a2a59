#include "export/exportacion.h"

namespace exportacion {

std::vector<PasoExportacion> PasosExportacion() {
  // Each step is written in its own source file; until then the run calls them in order and they do
  // nothing.
  auto pendiente = [](ContextoExportacion&) {};
  return {{"ExportarAsignaturas", pendiente}, {"ExportarProfesores", pendiente},   {"ExportarAulas", pendiente},
          {"ExportarAlumnos", pendiente},     {"ExportarHorasCurso", pendiente},   {"ExportarGrupos", pendiente},
          {"ExportarCargaLectiva", pendiente}};
}

void BExportarClick(ContextoExportacion& contexto, InterfazUsuario& interfaz, const std::vector<PasoExportacion>& pasos) {
  interfaz.MostrarMensaje(kMensajeInicioExportacion);
  interfaz.CursorEspera(true);
  try {
    for (const PasoExportacion& paso : pasos) {
      interfaz.PasoIniciado(paso.nombre);
      paso.ejecutar(contexto);
    }
  } catch (...) {
    interfaz.CursorEspera(false);
    throw;
  }
  interfaz.CursorEspera(false);
  interfaz.MostrarMensaje(kMensajeFinExportacion);
}

}  // namespace exportacion
