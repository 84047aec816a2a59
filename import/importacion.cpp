// The import run, in order: the checks, the staging of the two timetables, the teacher-identity check, the
// class-period template, the transfer, and the copy back into ESCOLAN's folder.
#include "import/importacion.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "horarios/horarios.h"
#include "import/devolucion.h"
#include "platform/platform.h"
#include "run/copia.h"
#include "run/identidad.h"
#include "run/mensajes.h"
#include "run/registro_exportacion.h"
#include "run/rutas.h"

namespace importacion {
namespace {

using run::EnCarpeta;
using run::kCarpetaTrabajo;

// Stages one of ESCOLAN's timetables from the source folder, after closing the table object on its staged
// copy and the engine letting go of its file.
void PrepararHorario(storage::Engine& engine, storage::Table& tabla, const std::string& carpetaOrigen,
                     std::string_view horario) {
  std::string archivo = run::ArchivoEscolan(horario);
  tabla.Close();
  engine.Release(EnCarpeta(kCarpetaTrabajo, archivo));
  run::CopiarReemplazando(EnCarpeta(kCarpetaTrabajo, archivo), EnCarpeta(carpetaOrigen, archivo));
}

// Whether the solution holds a lesson that the transfer would write (a record with a day).
bool TieneClases(storage::Table& soluc) {
  soluc.Open();
  bool alguna = false;
  for (soluc.First(); !soluc.Eof() && !alguna; soluc.Next()) alguna = soluc.AsInteger("DIA") != 0;
  soluc.Close();
  return alguna;
}

// The printable page of the timetables just copied back, from their staged copies and the staged tables
// that name things, beside the backup of the replaced pair. The school's files are safe by now: a page that
// cannot be written is told, and the import still ends as complete.
void EscribirPagina(ContextoImportacion& contexto, const std::string& copia) {
  std::string ruta = EnCarpeta(copia, run::kPaginaHorarios);
  try {
    horarios::EscribirPaginaHorarios(contexto.engine, kCarpetaTrabajo, contexto.centro, ruta);
    contexto.paginaHorarios = ruta;
    contexto.interfaz.PaginaHorariosEscrita(ruta);
  } catch (const std::exception& error) {
    contexto.interfaz.MostrarMensaje(run::ConValores(kMensajeSinPaginaHorarios, {ruta, error.what()}));
  }
}

// Why this solution must not reach the school's folder, or nothing when it may: it writes no lesson, or the
// interchange tables it was made from are of an export that did not end or that read another folder. An
// export that left no record (one made before the program kept it) cannot be told apart and passes.
std::optional<std::string> MotivoDeRechazo(ContextoImportacion& contexto) {
  if (!TieneClases(contexto.tablas.soluc)) return kMensajeSolucionSinClases;
  std::optional<run::RegistroExportacion> registro = run::LeerRegistroExportacion();
  if (!registro) return std::nullopt;
  if (!registro->completa) return kMensajeExportacionIncompleta;
  std::string destino = platform::FullPath(contexto.carpetaOrigen).Text();
  std::string exportada = registro->origen;
  try {
    exportada = platform::FullPath(registro->origen).Text();
  } catch (const platform::FileError&) {
  }
  if (!platform::SameName(exportada, destino)) return run::ConValores(kMensajeOtraCarpeta, {exportada, destino});
  return std::nullopt;
}

// Each of the school's two timetables can be replaced now: opened for writing without sharing, then closed.
// One that another program holds (ESCOLAN keeps its tables open while it runs) or that is read-only stops the
// import here, before the user types anything into the reviews, with nothing changed; the error names the
// file. The copy back still handles a file opened in between.
void ComprobarHorariosReemplazables(const std::string& origen) {
  for (std::string_view horario : {run::kHorgrup, run::kHorprof}) {
    const std::string ruta = run::EnCarpeta(origen, run::ArchivoEscolan(horario));
    if (!platform::FileExists(ruta)) continue;
    platform::OnFile(ruta, [&] {
      platform::File::OpenExisting(ruta, platform::Access::kReadWrite, platform::Share::kExclusive).Close();
    });
  }
}

// A PROFT table open on its first record with a zero DNI, or at its end when every teacher has one.
std::unique_ptr<storage::Table> PrimerProfesorSinDni(storage::Engine& engine) {
  auto proft = std::make_unique<storage::Table>(engine);
  proft->SetTableName(run::RutaIntercambio(run::kProft));
  proft->Open();
  for (proft->First(); !proft->Eof() && run::TieneDni(proft->AsInteger(run::kCampoDni)); proft->Next()) {
  }
  return proft;
}

// The teacher-identity check: at most two passes over PROFT with the review dialog between them. Gives the
// PROFT table that passed, open, or nothing when a teacher still lacks an identity number.
std::unique_ptr<storage::Table> ComprobarDni(ContextoImportacion& contexto) {
  bool dialogoMostrado = false;
  for (;;) {
    std::unique_ptr<storage::Table> proft = PrimerProfesorSinDni(contexto.engine);
    if (proft->Eof()) return proft;
    proft.reset();
    if (dialogoMostrado) return nullptr;
    // While the user reviews, no file stays held for the run: others find them as they were.
    contexto.engine.ReleaseAll();
    contexto.interfaz.Revisar(*RevisionProfesores(contexto.engine));
    dialogoMostrado = true;
    contexto.interfaz.CursorEspera(true);
  }
}

// The run once its opening message is closed, under the hourglass: each way it ends puts the cursor back
// itself, except an error, which leaves that to the caller.
FinImportacion ImportarConRelojDeArena(ContextoImportacion& contexto) {
  // The run keeps the tables it opens until the copy back, and puts every record in its file then.
  storage::Engine::Run ejecucion(contexto.engine);
  run::InterfazUsuario& interfaz = contexto.interfaz;
  if (!platform::FolderExists(kCarpetaTrabajo)) platform::CreateFolders(kCarpetaTrabajo);
  const std::string& origen = contexto.carpetaOrigen;
  if (!platform::FileExists(run::RutaIntercambio(run::kSoluc))) {
    interfaz.CursorEspera(false);
    interfaz.MostrarMensaje(kMensajeSinSolucion);
    return FinImportacion::kSinSolucion;
  }
  if (std::optional<std::string> motivo = MotivoDeRechazo(contexto)) {
    interfaz.CursorEspera(false);
    interfaz.MostrarMensaje(*motivo);
    return FinImportacion::kRechazada;
  }
  ComprobarHorariosReemplazables(origen);
  PrepararHorario(contexto.engine, contexto.tablas.horgrup, origen, run::kHorgrup);
  PrepararHorario(contexto.engine, contexto.tablas.horprof, origen, run::kHorprof);

  std::unique_ptr<storage::Table> proft = ComprobarDni(contexto);
  if (!proft) {
    interfaz.CursorEspera(false);
    interfaz.MostrarMensaje(kMensajeSinDni);
    interfaz.CerrarVentanaPrincipal();
    return FinImportacion::kSinDni;
  }
  auto asigvalt = std::make_unique<storage::Table>(contexto.engine);
  asigvalt->SetTableName(run::RutaIntercambio(run::kAsigvalt));
  asigvalt->SetIndexName("CODVALEN");
  asigvalt->Open();

  TablaPeriodos periodos = PrepararPlantilla(contexto);
  Incidencias incidencias = TransferirHorario(contexto, periodos, *proft, *asigvalt);
  proft.reset();
  asigvalt.reset();
  // The staged timetables whole in their files, and no file held, before they are copied back.
  ejecucion.Finish();

  // ESCOLAN's own files change here and only here, both together or neither.
  std::string copia = DevolverHorarios(origen);
  contexto.copiaHorarios = copia;
  EscribirPagina(contexto, copia);
  interfaz.CursorEspera(false);
  interfaz.MostrarMensaje(MensajeFinal(incidencias));
  return FinImportacion::kCompleta;
}

}  // namespace

// Every column can be edited: the abbreviation as well, by which the transfer then looks the teacher up. An
// identity number is stored only as the teacher-identity rule admits it.
std::unique_ptr<run::Revision> RevisionProfesores(storage::Engine& engine) {
  std::vector<run::ColumnaDatos> columnas = {{run::kCampoDni, 10, "DNI", true, run::ExigirDniAdmitido},
                                             {run::kCampoAbreviatura, 4, "ABREV"},
                                             {"NOMBRE", 40, "NOMBRE"},
                                             {"DEPART", 40, "DEPARTAMENTO"}};
  return std::make_unique<run::Revision>(engine, run::TipoRevision::kProfesores, "wwTableProft",
                                         run::DirigirAProfesores, std::move(columnas));
}

FinImportacion Importar(ContextoImportacion& contexto) {
  contexto.interfaz.MostrarMensaje(kMensajeInicioImportacion);
  contexto.interfaz.CursorEspera(true);
  try {
    return ImportarConRelojDeArena(contexto);
  } catch (...) {
    contexto.interfaz.CursorEspera(false);
    throw;
  }
}

}  // namespace importacion
