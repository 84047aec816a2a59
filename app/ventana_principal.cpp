#include "app/ventana_principal.h"

#include "import/devolucion.h"
#include "platform/platform.h"
#include "run/copia.h"
#include "run/rutas.h"

namespace app {
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

VentanaPrincipal::VentanaPrincipal(storage::Engine& engine, run::InterfazUsuario& interfaz)
    : engine_(engine), interfaz_(interfaz), tablas_(engine) {}

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
  EnEjecucion([&] {
    importacion::ContextoImportacion contexto{engine_, tablas_, interfaz_, Directorio(), Centro()};
    fin = importacion::Importar(contexto);
  });
  return fin;
}

void VentanaPrincipal::BExportarClick(const std::vector<exportacion::PasoExportacion>& pasos) {
  EnEjecucion([&] {
    exportacion::ContextoExportacion contexto{engine_, tablas_, exportacion::LeerIdioma(idioma), Directorio()};
    exportacion::Exportar(contexto, interfaz_, pasos);
  });
}

}  // namespace app
