// The main window without its widgets: the staging of ESCOLAN's tables, the source folder and centre list
// that the window shows, and its handlers. The Qt window and the command line both drive it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/exportacion.h"
#include "import/importacion.h"
#include "run/bloqueo.h"
#include "run/interfaz_usuario.h"
#include "run/tablas_preparadas.h"

namespace app {

// The language box's first choice.
inline constexpr const char* kIdiomaInicial = exportacion::kTextoValenciano;

// Copies ESCOLAN's ten files from `carpetaOrigen` into the staging folder, each after closing the table
// object on it; a file the source lacks disappears from the staging folder.
void CopiarDatosCentro(run::TablasPreparadas& tablas, const std::string& carpetaOrigen);

class VentanaPrincipal {
 public:
  VentanaPrincipal(storage::Engine& engine, run::InterfazUsuario& interfaz);

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
  // The export button.
  void BExportarClick(const std::vector<exportacion::PasoExportacion>& pasos = exportacion::PasosExportacion());
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
  storage::Engine& engine_;
  run::InterfazUsuario& interfaz_;
  run::TablasPreparadas tablas_;
  std::string edNuevoDir_;
  std::vector<std::string> centros_;
  int seleccionado_ = -1;
  std::optional<run::BloqueoEjecucion> bloqueo_;  // while a run of this window lasts
};

}  // namespace app
