// A session of the program: what runs, below the windows and the command line. It holds the state the runs
// share (the engine, the table objects on the staged tables, the run lock, the last import's backup and page)
// and offers every run: the staging of a folder's tables, the recovery of an interrupted copy back, the export,
// the import with its reviews, the backups and their restore, the review of a folder's data before an export,
// the timetables' pages and the manual. The source folder is the process's current folder.
//
// Each run throws its errors (the table layer's, the file layer's, the runs' own refusals); the caller shows
// them, a window through its interface's default error handler (run::EjecutarManejador), the command line on
// standard error. A run holds the run lock (run/bloqueo.h) while it works and is refused with
// run::kMensajeOtraEjecucion, having changed nothing, while another run, in this program or another copy of it,
// holds it; the runs that one Ejecucion groups hold it once.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diagnostico/diagnostico.h"
#include "export/exportacion.h"
#include "import/copias.h"
#include "import/importacion.h"
#include "run/bloqueo.h"
#include "run/interfaz_usuario.h"
#include "run/tablas_preparadas.h"

namespace sesion {

// A page written that no program could open: %1 the page.
inline constexpr const char* kMensajeSinNavegador =
    "No se ha podido abrir %1 con el navegador. Ábrala desde el navegador para verla o imprimirla.";
// The manual missing where it is looked for: %1 its index page.
inline constexpr const char* kMensajeSinManual =
    "No se encuentra el manual de uso: falta %1. Vuelva a instalar el programa para recuperarlo.";

// The manual's index page, under the folder of the files installed with the program
// (platform::InstalledFilesFolder), where the installation and the build tree both put it.
std::string RutaManual();

// Copies ESCOLAN's ten files from `carpetaOrigen` into the staging folder, each after closing the table
// object on it; a file the source lacks disappears from the staging folder.
void CopiarDatosCentro(run::TablasPreparadas& tablas, const std::string& carpetaOrigen);

class Sesion {
 public:
  // On an engine of its own, or on `engine`; the runs reach the user through `interfaz`.
  explicit Sesion(run::InterfazUsuario& interfaz);
  Sesion(storage::Engine& engine, run::InterfazUsuario& interfaz);
  Sesion(const Sesion&) = delete;
  Sesion& operator=(const Sesion&) = delete;

  storage::Engine& Engine() { return engine_; }
  run::InterfazUsuario& Interfaz() { return interfaz_; }
  run::TablasPreparadas& Tablas() { return tablas_; }

  // One run of this session, as long as it lives: it holds the run lock, which the runs called meanwhile do not
  // take again (a window's start-up, the command line's staging and run). Throws as the lock does.
  class Ejecucion {
   public:
    explicit Ejecucion(Sesion& sesion);
    ~Ejecucion();
    Ejecucion(const Ejecucion&) = delete;
    Ejecucion& operator=(const Ejecucion&) = delete;

   private:
    Sesion& sesion_;
    bool propia_ = false;
  };

  // ---- The source folder and its staging

  // The source folder: the process's current folder.
  std::string Carpeta() const;
  // Makes `carpeta` the source folder, without staging; throws when it cannot be reached.
  void CambiarCarpeta(const std::string& carpeta);
  // Stages the source folder's tables into the staging folder (CopiarDatosCentro).
  void Preparar();
  // Makes `carpeta` the source folder and stages its tables, as one run.
  void PrepararCarpeta(const std::string& carpeta);
  // Appends to `centros` the centre codes of the staged centro (Codcen as text, in stored order); the codes
  // read before an error stay.
  void LeerCentros(std::vector<std::string>& centros);

  // Finishes or undoes a copy back that a crash or a kill interrupted, telling the user which in one message,
  // and removes the temporary files that interrupted copies left in the staging folder. A window does it at
  // its start; the command line, which has no window, before each of its runs.
  void RecuperarCopiaInterrumpida();

  // ---- The runs

  // The export of the staged tables, subject names in `idioma`: the export's steps (or those given last to
  // PonerPasosExportacion), or `pasos`.
  void Exportar(exportacion::Idioma idioma);
  void Exportar(exportacion::Idioma idioma, const std::vector<exportacion::PasoExportacion>& pasos);
  // Replaces the steps that Exportar(idioma) runs (the tests make an export fail or stop this way).
  void PonerPasosExportacion(std::vector<exportacion::PasoExportacion> pasos) { pasosExportacion_ = std::move(pasos); }

  // The import into the source folder, for the centre `centro`, its reviews shown through the interface.
  importacion::FinImportacion Importar(const std::string& centro);
  // The last complete import of this session: its backup of the replaced pair and its page (empty when none).
  const std::string& CopiaUltimaImportacion() const { return copiaUltimaImportacion_; }
  const std::string& PaginaUltimaImportacion() const { return paginaUltimaImportacion_; }

  // Every problem of the source folder's data for an export in `idioma` and the import after it, read where the
  // tables are, changing nothing (diagnostico/diagnostico.h).
  std::vector<diagnostico::Problema> Problemas(exportacion::Idioma idioma);

  // ---- Backups

  // The backups of the source folder's timetables, newest first (import/copias.h).
  std::vector<importacion::CopiaHorarios> CopiasDeHorarios();
  // Puts the backup `sello` of the source folder back into it, as one run after the recovery of an
  // interrupted copy back, and tells the user where the replaced pair was kept. Throws a refusal with nothing
  // changed.
  void RestaurarCopia(const std::string& sello);

  // ---- Pages and the manual

  // The page of the source folder's timetables for the centre `centro`, written at
  // C:\HTEMP\HORARIOS\horarios.html; its path.
  std::string EscribirPaginaCarpeta(const std::string& centro);
  // The page of a backup's timetables (the names from the folder it was made from) for the centre `centro`,
  // at C:\HTEMP\HORARIOS\copia-<its name>.html; its path.
  std::string EscribirPaginaCopia(const importacion::CopiaHorarios& copia, const std::string& centro);
  // Opens a page in the system's browser; throws kMensajeSinNavegador when nothing could open it.
  void AbrirPagina(const std::string& ruta);
  // Opens the manual's index page in the system's browser; throws kMensajeSinManual when it is missing.
  void AbrirManual();
  // The manual's index page that AbrirManual opens, in place of RutaManual() (the tests' own).
  void PonerManual(std::string ruta) { manual_ = std::move(ruta); }

 private:
  // Runs `trabajo` as one run.
  template <class Trabajo>
  void EnEjecucion(Trabajo&& trabajo) {
    Ejecucion ejecucion(*this);
    trabajo();
  }

  std::unique_ptr<storage::Engine> enginePropio_;
  storage::Engine& engine_;
  run::InterfazUsuario& interfaz_;
  run::TablasPreparadas tablas_;
  std::vector<exportacion::PasoExportacion> pasosExportacion_ = exportacion::PasosExportacion();
  std::string manual_;
  std::optional<run::BloqueoEjecucion> bloqueo_;  // while a run of this session lasts
  std::string copiaUltimaImportacion_;
  std::string paginaUltimaImportacion_;
};

}  // namespace sesion
