#include "ventana/ventana_principal.h"

#include <algorithm>

#include "platform/platform.h"
#include "run/mensajes.h"
#include "run/rutas.h"
#include "util/ascii.h"
#include "ventana/copias.h"
#include "ventana/version.h"

namespace ventana {

std::string TextoAcercaDe() {
  return std::string(kNombreProducto) + "  " + kVersion +
         "\n\nExporta los datos de ESCOLAN para Horvane e importa los horarios que Horvane genera." +
         "\n\nCopias de los horarios que cada importación sustituye: " + std::string(run::kCarpetaCopias) +
         " (una carpeta con la fecha y la hora de cada una, con la página de los horarios importados)." +
         "\nPáginas de los horarios que se piden desde esta ventana: " + std::string(run::kCarpetaPaginas) + ".";
}

const Control& BotonPorDefecto(const Control* conFoco) {
  for (const Control* boton : {&diseno::kBClose, &diseno::kBExportar, &diseno::kBImportar}) {
    if (conFoco == boton) return *boton;
  }
  if (conFoco != nullptr && conFoco->panel == diseno::kPanelImportacion) return diseno::kBImportar;
  return diseno::kBExportar;  // Draw3D2's, and the window's first
}

VentanaPrincipal::VentanaPrincipal(run::InterfazUsuario& interfaz)
    : sesion_(interfaz), unidades_(platform::MappedDrives()) {}

VentanaPrincipal::VentanaPrincipal(storage::Engine& engine, run::InterfazUsuario& interfaz)
    : sesion_(engine, interfaz), unidades_(platform::MappedDrives()) {}

// ---------------------------------------------------------------------------------------------------------
// The user's actions

void VentanaPrincipal::Crear() { run::EjecutarManejador(Interfaz(), [this] { Iniciar(); }); }

void VentanaPrincipal::AbrirCarpeta(const std::string& carpeta) {
  run::EjecutarManejador(Interfaz(), [&] { CambiarDirectorio(carpeta); });
}

void VentanaPrincipal::ElegirUnidad(int indice) {
  if (indice < 0 || static_cast<std::size_t>(indice) >= unidades_.size() || indice == UnidadActual()) return;
  const char letra = unidades_[static_cast<std::size_t>(indice)];
  run::EjecutarManejador(Interfaz(), [&] {
    if (!platform::DriveReady(letra)) throw platform::FileError(platform::kNotReady);
    CambiarDirectorio(platform::CurrentFolderOfDrive(letra));
  });
}

void VentanaPrincipal::PulsarExportar(const std::string& textoIdioma) {
  PonerTextoIdioma(textoIdioma);
  std::string parada;
  const bool exportada = run::EjecutarManejador(Interfaz(), [&] {
    try {
      Exportar();
    } catch (const std::exception& error) {
      parada = error.what();
      throw;
    }
  });
  if (exportada || dialogos_ == nullptr) return;
  // The stop message has been shown; when the export stopped on a problem of the data, every problem of the
  // folder follows it (an export stopped by something else, a full disk say, shows none).
  std::optional<DialogoProblemas> problemas = LeerProblemas();
  if (problemas && problemas->Explica(parada)) dialogos_->MostrarProblemas(*problemas);
}

void VentanaPrincipal::PulsarImportar() {
  importacion::FinImportacion fin = importacion::FinImportacion::kRechazada;
  if (!run::EjecutarManejador(Interfaz(), [&] { fin = Importar(); })) return;
  const std::string& pagina = sesion_.PaginaUltimaImportacion();
  if (fin != importacion::FinImportacion::kCompleta || dialogos_ == nullptr || pagina.empty()) return;
  if (!dialogos_->Preguntar(run::ConValores(kPreguntaVerHorarios, {sesion_.CopiaUltimaImportacion(), pagina}))) return;
  run::EjecutarManejador(Interfaz(), [&] { sesion_.AbrirPagina(pagina); });
}

void VentanaPrincipal::EjecutarOrden(OrdenMenu orden) {
  if (dialogos_ == nullptr) return;
  switch (orden) {
    case OrdenMenu::kRevisarDatos: {
      if (std::optional<DialogoProblemas> problemas = LeerProblemas()) dialogos_->MostrarProblemas(*problemas);
      return;
    }
    case OrdenMenu::kVerHorarios:
      run::EjecutarManejador(Interfaz(), [this] { sesion_.AbrirPagina(sesion_.EscribirPaginaCarpeta(Centro())); });
      return;
    case OrdenMenu::kCopiasHorarios: {
      DialogoCopias copias(sesion_, *dialogos_, Centro());
      dialogos_->MostrarCopias(copias);
      return;
    }
    case OrdenMenu::kManual:
      run::EjecutarManejador(Interfaz(), [this] { sesion_.AbrirManual(); });
      return;
    case OrdenMenu::kAcercaDe:
      Interfaz().MostrarMensaje(TextoAcercaDe());
      return;
  }
}

std::optional<DialogoProblemas> VentanaPrincipal::LeerProblemas() {
  std::optional<DialogoProblemas> problemas;
  run::EjecutarManejador(Interfaz(), [&] { problemas.emplace(ProblemasDeDatos()); });
  return problemas;
}

// ---------------------------------------------------------------------------------------------------------
// The same, throwing their errors

void VentanaPrincipal::Iniciar() {
  sesion::Sesion::Ejecucion ejecucion(sesion_);
  sesion_.RecuperarCopiaInterrumpida();
  sesion_.Preparar();
  CambiarDirectorio(std::string(run::kCarpetaEscolan));
  carpetaMostrada_ = Directorio();
  LeerCentros();
}

bool VentanaPrincipal::CambiarDirectorio(const std::string& carpeta) {
  if (platform::SameName(platform::FullPath(carpeta).Text(), platform::FullPath(Directorio()).Text())) return false;
  // Under the lock before the folder changes: a refused change leaves the window on the folder whose tables
  // are staged.
  sesion::Sesion::Ejecucion ejecucion(sesion_);
  sesion_.CambiarCarpeta(carpeta);
  CarpetaCambiada();
  return true;
}

void VentanaPrincipal::CarpetaCambiada() {
  sesion::Sesion::Ejecucion ejecucion(sesion_);
  carpetaMostrada_ = Directorio();
  if (alCambiarCarpeta_) alCambiarCarpeta_();
  sesion_.Preparar();
}

void VentanaPrincipal::LeerCentros() {
  sesion_.LeerCentros(centros_);
  seleccionado_ = centros_.empty() ? -1 : 0;
}

void VentanaPrincipal::Exportar() { sesion_.Exportar(Idioma()); }

importacion::FinImportacion VentanaPrincipal::Importar() { return sesion_.Importar(Centro()); }

DialogoProblemas VentanaPrincipal::ProblemasDeDatos() {
  const std::string carpeta = Directorio();
  return DialogoProblemas(Interfaz(), carpeta, sesion_.Problemas(Idioma()));
}

// ---------------------------------------------------------------------------------------------------------
// What the window shows

std::string VentanaPrincipal::NombreDeUnidad(char letra) {
  return {util::ToLowerAscii(letra), ':'};
}

int VentanaPrincipal::UnidadActual() const {
  const std::string directorio = Directorio();
  if (directorio.empty()) return -1;
  const auto posicion = std::find(unidades_.begin(), unidades_.end(), directorio.front());
  return posicion == unidades_.end() ? -1 : static_cast<int>(posicion - unidades_.begin());
}

std::string VentanaPrincipal::Centro() const {
  return seleccionado_ >= 0 && seleccionado_ < static_cast<int>(centros_.size()) ? centros_[seleccionado_] : std::string();
}

}  // namespace ventana
