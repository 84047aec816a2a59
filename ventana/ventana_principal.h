// The main window without its widgets: what it shows (the source folder, the drive list, the centre list, the
// language box) and what its controls do, on a session that runs things (sesion/sesion.h), with the rules of
// its controls (which button Enter clicks, which drive a pick moves to). The Qt window and the Win32 window
// draw it and hand it their controls' events; the command line uses the session, never this model.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "export/reglas.h"
#include "run/interfaz_usuario.h"
#include "sesion/sesion.h"
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

// "Acerca de…": the program, its version, and where its backups and pages are.
std::string TextoAcercaDe();

class VentanaPrincipal {
 public:
  // On a session of its own, on an engine of its own or on `engine`.
  explicit VentanaPrincipal(run::InterfazUsuario& interfaz);
  VentanaPrincipal(storage::Engine& engine, run::InterfazUsuario& interfaz);
  VentanaPrincipal(const VentanaPrincipal&) = delete;
  VentanaPrincipal& operator=(const VentanaPrincipal&) = delete;

  sesion::Sesion& Sesion() { return sesion_; }
  run::InterfazUsuario& Interfaz() { return sesion_.Interfaz(); }

  // The toolkit's dialogs: the window menu's dialogs, the problems after an export that stopped, the question
  // after an import. Without them (most tests) none of those is shown.
  void PonerDialogos(Dialogos* dialogos) { dialogos_ = dialogos; }
  Dialogos* DialogosPuestos() const { return dialogos_; }
  // Called after each change of the directory list's folder has been shown in the folder box, before its
  // tables are staged (the window refreshes its widgets there).
  void AlCambiarCarpeta(std::function<void()> aviso) { alCambiarCarpeta_ = std::move(aviso); }

  // ---- The user's actions, as the window's controls raise them. Each runs as the application runs an
  // event handler: an error ends it and goes to the interface's default error handler.

  // The window was created.
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
  // An order of the window menu. It needs the dialogs.
  void EjecutarOrden(OrdenMenu orden);

  // ---- The same, throwing their errors. Each is a run of the session: it holds the run lock while it works.

  // The window's start: recover an interrupted copy back, stage from the current folder, move the directory
  // list to C:\ESCOLAN (staging again if that is a change), show the folder, fill the centre list from the
  // staged centro. Throws the first error; what was done before it stays.
  void Iniciar();
  // Moves the directory list to `carpeta`: false when it is already there (no change), else it becomes the
  // source folder and CarpetaCambiada runs. Throws when the folder cannot be reached.
  bool CambiarDirectorio(const std::string& carpeta);
  // The directory list's folder changed: show it, stage from it.
  void CarpetaCambiada();
  // Fills the centre list from the staged centro: Codcen as text, in stored order, the first selected.
  void LeerCentros();
  // The export, subject names in the language box's language.
  void Exportar();
  // The import from the directory list's folder, for the centre list's centre.
  importacion::FinImportacion Importar();
  // Every problem of the directory list's folder for the language box's language, as the problems dialog
  // lists them.
  DialogoProblemas ProblemasDeDatos();

  // ---- What the window shows

  // The drive list: the letters of the drives, in order; the list's item for each ("c:"); the item of the
  // directory list's drive, or -1.
  const std::vector<char>& Unidades() const { return unidades_; }
  static std::string NombreDeUnidad(char letra);
  int UnidadActual() const;
  // The directory list's folder (the session's source folder).
  std::string Directorio() const { return sesion_.Carpeta(); }
  // The folder box's text: the folder shown at the last change (empty before the first).
  const std::string& CarpetaMostrada() const { return carpetaMostrada_; }
  const std::vector<std::string>& Centros() const { return centros_; }
  // The centre list's text: its selected item, or empty with none.
  std::string Centro() const;
  int CentroSeleccionado() const { return seleccionado_; }
  void SeleccionarCentro(int indice) { seleccionado_ = indice; }
  // The language box's text as the last export took it, and the language of subject names it chooses.
  void PonerTextoIdioma(std::string texto) { textoIdioma_ = std::move(texto); }
  const std::string& TextoIdioma() const { return textoIdioma_; }
  exportacion::Idioma Idioma() const { return exportacion::LeerIdioma(textoIdioma_); }

 private:
  // ProblemasDeDatos as a handler runs it: nothing, after the error is shown, when the folder cannot be read.
  std::optional<DialogoProblemas> LeerProblemas();

  sesion::Sesion sesion_;
  Dialogos* dialogos_ = nullptr;
  std::function<void()> alCambiarCarpeta_;
  std::vector<char> unidades_;
  std::string carpetaMostrada_;
  std::vector<std::string> centros_;
  int seleccionado_ = -1;
  std::string textoIdioma_ = kIdiomaInicial;
};

}  // namespace ventana
