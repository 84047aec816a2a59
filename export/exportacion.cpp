#include "export/exportacion.h"

#include "export/pasos.h"
#include "platform/platform.h"
#include "run/registro_exportacion.h"

namespace exportacion {

std::vector<PasoExportacion> PasosExportacion() {
  return {{"ExportarAsignaturas", ExportarAsignaturas}, {"ExportarProfesores", ExportarProfesores},
          {"ExportarAulas", ExportarAulas},             {"ExportarAlumnos", ExportarAlumnos},
          {"ExportarHorasCurso", ExportarHorasCurso},   {"ExportarGrupos", ExportarGrupos},
          {"ExportarCargaLectiva", ExportarCargaLectiva}};
}

namespace {

// The centre codes of the staged centro, in stored order; none when it cannot be read (the record then
// names the folder alone).
std::vector<std::string> CentrosPreparados(run::TablasPreparadas& tablas) {
  std::vector<std::string> centros;
  storage::Table& centro = tablas.centro;
  try {
    AbiertaDurante abierta(centro);
    for (centro.First(); !centro.Eof(); centro.Next()) centros.push_back(centro.AsString("Codcen"));
  } catch (const std::exception&) {
    centros.clear();
  }
  return centros;
}

void Registrar(ContextoExportacion& contexto, bool completa) {
  if (contexto.carpetaOrigen.empty()) return;
  run::EscribirRegistroExportacion(
      {platform::FullPath(contexto.carpetaOrigen).Text(), CentrosPreparados(contexto.tablas), completa});
}

}  // namespace

void Exportar(ContextoExportacion& contexto, run::InterfazUsuario& interfaz, const std::vector<PasoExportacion>& pasos) {
  interfaz.MostrarMensaje(kMensajeInicioExportacion);
  interfaz.CursorEspera(true);
  try {
    // The run keeps the tables it opens until its end, and puts every record in its file then.
    storage::Engine::Run ejecucion(contexto.engine);
    Registrar(contexto, false);
    for (const PasoExportacion& paso : pasos) {
      interfaz.PasoIniciado(paso.nombre);
      paso.ejecutar(contexto);
    }
    ejecucion.Finish();
    Registrar(contexto, true);
  } catch (...) {
    interfaz.CursorEspera(false);
    throw;
  }
  interfaz.CursorEspera(false);
  interfaz.MostrarMensaje(kMensajeFinExportacion);
}

}  // namespace exportacion
