#include "ventana/ventana_principal.h"

#include <algorithm>

#include "horarios/horarios.h"
#include "import/devolucion.h"
#include "run/mensajes.h"
#include "platform/platform.h"
#include "run/copia.h"
#include "run/rutas.h"
#include "util/ascii.h"
#include "ventana/copias.h"
#include "ventana/version.h"

namespace ventana {
namespace {

// The staged files, in order, with the table object on each (none for the memo file).
struct ArchivoEscolan {
  std::string nombre;
  storage::Table* tabla;
};

std::vector<ArchivoEscolan> ArchivosEscolan(run::TablasPreparadas& t) {
  using run::ArchivoEscolan;
  return {{ArchivoEscolan(run::kGrupos), &t.grupos},   {ArchivoEscolan(run::kProfesor), &t.profesor},
          {ArchivoEscolan(run::kHorgrup), &t.horgrup}, {ArchivoEscolan(run::kAsigalum), &t.asigalum},
          {ArchivoEscolan(run::kAsignat), &t.asignat}, {ArchivoEscolan(run::kAulas), &t.aulas},
          {ArchivoEscolan(run::kAlumnos), &t.alumnos}, {std::string(run::kMemoAlumnos), nullptr},
          {ArchivoEscolan(run::kCentro), &t.centro},   {ArchivoEscolan(run::kLhortipo), &t.lhortipo}};
}

}  // namespace

void CopiarDatosCentro(run::TablasPreparadas& tablas, const std::string& carpetaOrigen) {
  if (!platform::FolderExists(run::kCarpetaTrabajo)) platform::CreateFolders(run::kCarpetaTrabajo);
  for (const ArchivoEscolan& archivo : ArchivosEscolan(tablas)) {
    if (archivo.tabla) archivo.tabla->Close();
    run::CopiarReemplazando(run::EnCarpeta(run::kCarpetaTrabajo, archivo.nombre), run::EnCarpeta(carpetaOrigen, archivo.nombre));
  }
}

std::string RutaManual() {
  return platform::FullPath(platform::InstalledFilesFolder() + "\\manual\\index.html").Text();
}

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
    : enginePropio_(std::make_unique<storage::Engine>()),
      engine_(*enginePropio_),
      interfaz_(interfaz),
      unidades_(platform::MappedDrives()),
      tablas_(engine_) {}

VentanaPrincipal::VentanaPrincipal(storage::Engine& engine, run::InterfazUsuario& interfaz)
    : engine_(engine), interfaz_(interfaz), unidades_(platform::MappedDrives()), tablas_(engine) {}

// ---------------------------------------------------------------------------------------------------------
// The user's actions

void VentanaPrincipal::Crear() { run::EjecutarManejador(interfaz_, [this] { FormCreate(); }); }

void VentanaPrincipal::AbrirCarpeta(const std::string& carpeta) {
  run::EjecutarManejador(interfaz_, [&] { CambiarDirectorio(carpeta); });
}

void VentanaPrincipal::ElegirUnidad(int indice) {
  if (indice < 0 || static_cast<std::size_t>(indice) >= unidades_.size() || indice == UnidadActual()) return;
  const char letra = unidades_[static_cast<std::size_t>(indice)];
  run::EjecutarManejador(interfaz_, [&] {
    if (!platform::DriveReady(letra)) throw platform::FileError(platform::kNotReady);
    CambiarDirectorio(platform::CurrentFolderOfDrive(letra));
  });
}

void VentanaPrincipal::PulsarExportar(const std::string& textoIdioma) {
  idioma = textoIdioma;
  std::string parada;
  const bool exportada = run::EjecutarManejador(interfaz_, [&] {
    try {
      BExportarClick();
    } catch (const std::exception& error) {
      parada = error.what();
      throw;
    }
  });
  if (exportada || dialogos == nullptr) return;
  // The stop message has been shown; when the export stopped on a problem of the data, every problem of the
  // folder follows it (an export stopped by something else, a full disk say, shows none).
  std::optional<DialogoProblemas> problemas = LeerProblemas();
  if (problemas && problemas->Explica(parada)) dialogos->MostrarProblemas(*problemas);
}

void VentanaPrincipal::PulsarImportar() {
  importacion::FinImportacion fin = importacion::FinImportacion::kRechazada;
  if (!run::EjecutarManejador(interfaz_, [&] { fin = BImportarClick(); })) return;
  if (fin != importacion::FinImportacion::kCompleta || dialogos == nullptr || paginaUltimaImportacion_.empty()) return;
  const std::string pagina = paginaUltimaImportacion_;
  if (!dialogos->Preguntar(run::ConValores(kPreguntaVerHorarios, {copiaUltimaImportacion_, pagina}))) return;
  run::EjecutarManejador(interfaz_, [&] { AbrirPagina(pagina); });
}

void VentanaPrincipal::EjecutarOrden(OrdenMenu orden) {
  if (dialogos == nullptr) return;
  switch (orden) {
    case OrdenMenu::kRevisarDatos: {
      if (std::optional<DialogoProblemas> problemas = LeerProblemas()) dialogos->MostrarProblemas(*problemas);
      return;
    }
    case OrdenMenu::kVerHorarios:
      run::EjecutarManejador(interfaz_, [this] { AbrirPagina(EscribirPaginaCarpeta()); });
      return;
    case OrdenMenu::kCopiasHorarios: {
      DialogoCopias copias(*this, *dialogos);
      dialogos->MostrarCopias(copias);
      return;
    }
    case OrdenMenu::kManual:
      run::EjecutarManejador(interfaz_, [this] { AbrirManual(); });
      return;
    case OrdenMenu::kAcercaDe:
      interfaz_.MostrarMensaje(TextoAcercaDe());
      return;
  }
}

std::optional<DialogoProblemas> VentanaPrincipal::LeerProblemas() {
  std::optional<DialogoProblemas> problemas;
  run::EjecutarManejador(interfaz_, [&] { problemas.emplace(ProblemasDeDatos()); });
  return problemas;
}

DialogoProblemas VentanaPrincipal::ProblemasDeDatos() {
  const std::string carpeta = Directorio();
  run::CursorEsperaActivo espera(interfaz_);
  return DialogoProblemas(interfaz_, carpeta,
                          diagnostico::ProblemasDeCarpeta(engine_, carpeta, exportacion::LeerIdioma(idioma)));
}

namespace {

// A page under C:\HTEMP\HORARIOS, that folder made when it is missing.
std::string RutaDePagina(std::string_view archivo) {
  if (!platform::FolderExists(run::kCarpetaPaginas)) platform::CreateFolders(run::kCarpetaPaginas);
  return run::EnCarpeta(run::kCarpetaPaginas, archivo);
}

}  // namespace

std::string VentanaPrincipal::EscribirPaginaCarpeta() {
  std::string ruta = RutaDePagina(run::kPaginaHorarios);
  run::CursorEsperaActivo espera(interfaz_);
  horarios::EscribirPaginaHorarios(engine_, Directorio(), Centro(), ruta);
  return ruta;
}

std::string VentanaPrincipal::EscribirPaginaCopia(const importacion::CopiaHorarios& copia) {
  std::string ruta = RutaDePagina(std::string(run::kPrefijoPaginaCopia) + copia.sello + ".html");
  run::CursorEsperaActivo espera(interfaz_);
  horarios::EscribirPaginaHorarios(engine_, copia.origen, Centro(), ruta, copia.carpeta);
  return ruta;
}

void VentanaPrincipal::AbrirPagina(const std::string& ruta) {
  if (!platform::OpenWithDefaultProgram(ruta)) {
    throw std::runtime_error(run::ConValores(kMensajeSinNavegador, {ruta}));
  }
}

void VentanaPrincipal::AbrirManual() {
  const std::string ruta = manual.empty() ? RutaManual() : manual;
  if (!platform::FileExists(ruta)) throw std::runtime_error(run::ConValores(kMensajeSinManual, {ruta}));
  AbrirPagina(ruta);
}

std::string VentanaPrincipal::NombreDeUnidad(char letra) {
  return {util::ToLowerAscii(letra), ':'};
}

int VentanaPrincipal::UnidadActual() const {
  const std::string directorio = Directorio();
  if (directorio.empty()) return -1;
  const auto posicion = std::find(unidades_.begin(), unidades_.end(), directorio.front());
  return posicion == unidades_.end() ? -1 : static_cast<int>(posicion - unidades_.begin());
}

std::vector<importacion::CopiaHorarios> VentanaPrincipal::CopiasDeHorarios() {
  return importacion::CopiasDeCarpeta(engine_, Directorio());
}

bool VentanaPrincipal::RestaurarCopia(const std::string& sello) {
  return run::EjecutarManejador(interfaz_, [&] {
    EnEjecucion([&] {
      RecuperarCopiaInterrumpida();
      interfaz_.MostrarMensaje(importacion::RestaurarCopia(engine_, Directorio(), sello));
    });
  });
}

void VentanaPrincipal::PrepararCarpeta(const std::string& carpeta) {
  EnEjecucion([&] {
    platform::SetCurrentFolder(carpeta);
    edNuevoDir_ = Directorio();
    CopiarDatosCentro(tablas_, Directorio());
  });
}

// ---------------------------------------------------------------------------------------------------------
// The handlers

std::string VentanaPrincipal::Directorio() const { return platform::CurrentFolder(); }

std::string VentanaPrincipal::Centro() const {
  return seleccionado_ >= 0 && seleccionado_ < static_cast<int>(centros_.size()) ? centros_[seleccionado_] : std::string();
}

VentanaPrincipal::Ejecucion::Ejecucion(VentanaPrincipal& ventana) : ventana_(ventana) {
  if (ventana_.bloqueo_) return;
  ventana_.bloqueo_.emplace();
  propia_ = true;
}

VentanaPrincipal::Ejecucion::~Ejecucion() {
  if (propia_) ventana_.bloqueo_.reset();
}

void VentanaPrincipal::EnEjecucion(const std::function<void()>& trabajo) {
  Ejecucion ejecucion(*this);
  trabajo();
}

void VentanaPrincipal::RecuperarCopiaInterrumpida() {
  EnEjecucion([this] {
    std::optional<std::string> mensaje = importacion::RecuperarDevolucionInterrumpida();
    run::BorrarTemporalesAbandonados(run::kCarpetaTrabajo);
    if (mensaje) interfaz_.MostrarMensaje(*mensaje);
  });
}

void VentanaPrincipal::FormCreate() {
  EnEjecucion([this] {
    RecuperarCopiaInterrumpida();
    CopiarDatosCentro(tablas_, Directorio());
    CambiarDirectorio(std::string(run::kCarpetaEscolan));
    edNuevoDir_ = Directorio();
    LeerCentros();
  });
}

void VentanaPrincipal::LeerCentros() {
  storage::Table& centro = tablas_.centro;
  centro.Open();
  for (centro.First(); !centro.Eof(); centro.Next()) centros_.push_back(centro.AsString("Codcen"));
  seleccionado_ = centros_.empty() ? -1 : 0;
  centro.Close();
}

bool VentanaPrincipal::CambiarDirectorio(const std::string& carpeta) {
  if (platform::SameName(platform::FullPath(carpeta).Text(), platform::FullPath(Directorio()).Text())) return false;
  // Under the lock before the folder changes: a refused change leaves the window on the folder whose tables
  // are staged.
  EnEjecucion([&] {
    platform::SetCurrentFolder(carpeta);
    ListaDirectoriosChange();
  });
  return true;
}

void VentanaPrincipal::ListaDirectoriosChange() {
  EnEjecucion([this] {
    edNuevoDir_ = Directorio();
    if (alCambiarDirectorio) alCambiarDirectorio();
    CopiarDatosCentro(tablas_, Directorio());
  });
}

importacion::FinImportacion VentanaPrincipal::BImportarClick() {
  importacion::FinImportacion fin = importacion::FinImportacion::kCompleta;
  copiaUltimaImportacion_.clear();
  paginaUltimaImportacion_.clear();
  EnEjecucion([&] {
    importacion::ContextoImportacion contexto{engine_, tablas_, interfaz_, Directorio(), Centro()};
    fin = importacion::Importar(contexto);
    copiaUltimaImportacion_ = contexto.copiaHorarios;
    paginaUltimaImportacion_ = contexto.paginaHorarios;
  });
  return fin;
}

void VentanaPrincipal::BExportarClick(const std::vector<exportacion::PasoExportacion>& pasos) {
  EnEjecucion([&] {
    exportacion::ContextoExportacion contexto{engine_, tablas_, exportacion::LeerIdioma(idioma), Directorio()};
    exportacion::Exportar(contexto, interfaz_, pasos);
  });
}

}  // namespace ventana
