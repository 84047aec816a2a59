// The main window without its widgets: the staging of ESCOLAN's tables, the source folder, drive and centre
// list that the window shows, its handlers, and the rules of its controls (which button Enter clicks, which
// drive a pick moves to). The Qt window, the Win32 window and the command line all drive it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/exportacion.h"
#include "import/copias.h"
#include "import/importacion.h"
#include "run/bloqueo.h"
#include "run/interfaz_usuario.h"
#include "run/tablas_preparadas.h"
#include "ventana/dialogos.h"
#include "ventana/diseno_principal.h"
#include "ventana/menu_ventana.h"
#include "ventana/problemas.h"

namespace ventana {

// The language box's items, and its first text.
inline constexpr const std::array<const char*, 2>& kIdiomas = exportacion::kIdiomas;
inline constexpr const char* kIdiomaInicial = exportacion::kTextoValenciano;

// The button that Enter clicks, the one drawn as the default, while `conFoco` (a control of the design, or
// none) has the focus: BExportar and BImportar are each the default button of their panel, as in a Windows
// dialog; the first panel has none, and there, as with no focus, Enter clicks the window's first default
// button in tab order, BExportar. A button with the focus answers Enter itself.
const Control& BotonPorDefecto(const Control* conFoco);

// After an import's closing message: %1 the backup of the replaced pair, %2 the new timetables' page.
inline constexpr const char* kPreguntaVerHorarios =
    "Los horarios que había están guardados en %1.\nLa página para imprimir los horarios nuevos es %2.\n\n"
    "¿Desea ver los horarios ahora?";
// A page written that no program could open: %1 the page.
inline constexpr const char* kMensajeSinNavegador =
    "No se ha podido abrir %1 con el navegador. Ábrala desde el navegador para verla o imprimirla.";

// The manual that "Ayuda" opens: its index page, under the folder of the files installed with the program
// (platform::InstalledFilesFolder), where the installation and the build tree both put it.
std::string RutaManual();
// The manual missing where it is looked for: %1 its index page.
inline constexpr const char* kMensajeSinManual =
    "No se encuentra el manual de uso: falta %1. Vuelva a instalar el programa para recuperarlo.";

// "Acerca de…": the program, its version, and where its backups and pages are.
std::string TextoAcercaDe();

// Copies ESCOLAN's ten files from `carpetaOrigen` into the staging folder, each after closing the table
// object on it; a file the source lacks disappears from the staging folder.
void CopiarDatosCentro(run::TablasPreparadas& tablas, const std::string& carpetaOrigen);

class VentanaPrincipal {
 public:
  // On an engine of its own, or on `engine`.
  explicit VentanaPrincipal(run::InterfazUsuario& interfaz);
  VentanaPrincipal(storage::Engine& engine, run::InterfazUsuario& interfaz);

  // ---- The user's actions, as the window's controls raise them. Each runs as the application runs an
  // event handler: an error ends it and goes to the interface's default error handler.

  // The window was created: FormCreate.
  void Crear();
  // An entry of the directory list opened (double click, Enter): the list moves to `carpeta`.
  void AbrirCarpeta(const std::string& carpeta);
  // A drive picked in the drive list (its index in Unidades()): the directory list moves to that drive's
  // current folder; the list's own drive again is no change, a drive that is not ready an error. The drive
  // list then shows UnidadActual() again.
  void ElegirUnidad(int indice);
  // The export button, with the language box's text. When the export stops on a problem of the folder's data,
  // the problems dialog follows the stop message.
  void PulsarExportar(const std::string& textoIdioma);
  // The import button. After a complete import, the question whether to see the new timetables' page.
  void PulsarImportar();

  // The drive list: the letters of the drives, in order; the list's item for each ("c:"); the item of the
  // directory list's drive, or -1.
  const std::vector<char>& Unidades() const { return unidades_; }
  static std::string NombreDeUnidad(char letra);
  int UnidadActual() const;

  // An order of the window menu, run as the application runs an event handler. It needs `dialogos`.
  void EjecutarOrden(OrdenMenu orden);

  // The toolkit's dialogs: the window menu's dialogs, the problems after an export that stopped, the question
  // after an import. Without them (the command line, most tests) none of those is shown.
  Dialogos* dialogos = nullptr;

  // Every problem of the directory list's folder for the language box's language, as the problems dialog
  // lists them.
  DialogoProblemas ProblemasDeDatos();
  // The page of the timetables of the directory list's folder, for the centre list's centre, written at
  // C:\HTEMP\HORARIOS\horarios.html; its path.
  std::string EscribirPaginaCarpeta();
  // The page of a backup's timetables (the names from the folder it was made from), at
  // C:\HTEMP\HORARIOS\copia-<its name>.html; its path.
  std::string EscribirPaginaCopia(const importacion::CopiaHorarios& copia);
  // Opens a page in the system's browser; throws kMensajeSinNavegador when nothing could open it.
  void AbrirPagina(const std::string& ruta);
  // Opens the manual's index page in the system's browser; throws kMensajeSinManual when it is missing.
  void AbrirManual();
  // The manual's index page that AbrirManual opens: RutaManual() while this is empty.
  std::string manual;
  // The last complete import of this window: its backup of the replaced pair and its page (empty when none).
  const std::string& CopiaUltimaImportacion() const { return copiaUltimaImportacion_; }
  const std::string& PaginaUltimaImportacion() const { return paginaUltimaImportacion_; }

  // The backups of the timetables of the directory list's folder, newest first (import/copias.h).
  std::vector<importacion::CopiaHorarios> CopiasDeHorarios();
  // Puts the backup `sello` of the directory list's folder back into it, as one run, and tells the user where
  // the replaced pair was kept; a refusal or a failure is the interface's error, with nothing changed. Whether
  // it was restored.
  bool RestaurarCopia(const std::string& sello);

  // Stages the tables of `carpeta` as a change of the directory list to it does, whether or not the list is
  // there already, without the change event (the command line's way to a folder).
  void PrepararCarpeta(const std::string& carpeta);

  // The steps that the export button runs, in order.
  std::vector<exportacion::PasoExportacion> pasosExportacion = exportacion::PasosExportacion();

  // ---- The window's handlers, which throw their errors.

  // Every handler below is a run: it holds the run lock (run/bloqueo.h) while it works, and is refused with
  // run::kMensajeOtraEjecucion, having changed nothing, while another run holds it.

  // The window's creation: recover an interrupted copy back, stage from the current folder, move the
  // directory list to C:\ESCOLAN (staging again if that is a change), show the folder, fill the centre list
  // from the staged centro. Throws the first error; what was done before it stays.
  void FormCreate();
  // Moves the directory list to `carpeta`: false when it is already there (no change), else it becomes the
  // process's current folder and ListaDirectoriosChange runs. Throws when the folder cannot be reached.
  bool CambiarDirectorio(const std::string& carpeta);
  // The directory list's change event: show the folder, stage from it.
  void ListaDirectoriosChange();
  // Fills the centre list from the staged centro: Codcen as text, in stored order, the first selected.
  void LeerCentros();
  // The export button, for the language box's text in `idioma`: pasosExportacion, or the steps given.
  void BExportarClick() { BExportarClick(pasosExportacion); }
  void BExportarClick(const std::vector<exportacion::PasoExportacion>& pasos);
  // The import button: from the directory list's folder, for the centre list's centre.
  importacion::FinImportacion BImportarClick();
  // Finishes or undoes a copy back of the import that a crash or a kill interrupted, telling the user which
  // in one message, and removes the temporary files that interrupted copies left in the staging folder. The
  // window's creation does it first; the command line, which has no window, before each of its runs.
  void RecuperarCopiaInterrumpida();
  // One run of this window, as long as it lives: it holds the run lock, which the handlers called meanwhile do
  // not take again (the command line holds one around its staging and its run). Throws as the lock does.
  class Ejecucion {
   public:
    explicit Ejecucion(VentanaPrincipal& ventana);
    ~Ejecucion();
    Ejecucion(const Ejecucion&) = delete;
    Ejecucion& operator=(const Ejecucion&) = delete;

   private:
    VentanaPrincipal& ventana_;
    bool propia_ = false;
  };
  // Runs `trabajo` as one run.
  void EnEjecucion(const std::function<void()>& trabajo);

  // The directory list's folder (the process's current folder).
  std::string Directorio() const;
  const std::string& EdNuevoDir() const { return edNuevoDir_; }
  const std::vector<std::string>& Centros() const { return centros_; }
  // The centre list's text: its selected item, or empty with none.
  std::string Centro() const;
  int CentroSeleccionado() const { return seleccionado_; }
  void SeleccionarCentro(int indice) { seleccionado_ = indice; }
  // The language box's text.
  std::string idioma = kIdiomaInicial;
  // Called after each change event of the directory list has shown the new folder, before it stages (the
  // window refreshes its widgets there).
  std::function<void()> alCambiarDirectorio;

  run::TablasPreparadas& Tablas() { return tablas_; }
  storage::Engine& Engine() { return engine_; }
  run::InterfazUsuario& Interfaz() { return interfaz_; }

 private:
  std::unique_ptr<storage::Engine> enginePropio_;
  storage::Engine& engine_;
  run::InterfazUsuario& interfaz_;
  std::vector<char> unidades_;
  run::TablasPreparadas tablas_;
  std::string edNuevoDir_;
  std::vector<std::string> centros_;
  int seleccionado_ = -1;
  // ProblemasDeDatos as a handler runs it: nothing, after the error is shown, when the folder cannot be read.
  std::optional<DialogoProblemas> LeerProblemas();

  std::optional<run::BloqueoEjecucion> bloqueo_;  // while a run of this window lasts
  std::string copiaUltimaImportacion_;
  std::string paginaUltimaImportacion_;
};

}  // namespace ventana
