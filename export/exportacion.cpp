#include "export/exportacion.h"

namespace exportacion {

std::vector<PasoExportacion> PasosExportacion() {
  return {{"ExportarAsignaturas", ExportarAsignaturas}, {"ExportarProfesores", ExportarProfesores},
          {"ExportarAulas", ExportarAulas},             {"ExportarAlumnos", ExportarAlumnos},
          {"ExportarHorasCurso", ExportarHorasCurso},   {"ExportarGrupos", ExportarGrupos},
          {"ExportarCargaLectiva", ExportarCargaLectiva}};
}

void BExportarClick(ContextoExportacion& contexto, run::InterfazUsuario& interfaz, const std::vector<PasoExportacion>& pasos) {
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
