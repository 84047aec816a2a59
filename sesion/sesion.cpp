#include "sesion/sesion.h"

#include <stdexcept>

#include "horarios/horarios.h"
#include "import/devolucion.h"
#include "platform/platform.h"
#include "run/copia.h"
#include "run/mensajes.h"
#include "run/rutas.h"

namespace sesion {
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

// A page under C:\HTEMP\HORARIOS, that folder made when it is missing.
std::string RutaDePagina(std::string_view archivo) {
  if (!platform::FolderExists(run::kCarpetaPaginas)) platform::CreateFolders(run::kCarpetaPaginas);
  return run::EnCarpeta(run::kCarpetaPaginas, archivo);
}

}  // namespace

void CopiarDatosCentro(run::TablasPreparadas& tablas, const std::string& carpetaOrigen) {
  if (!platform::FolderExists(run::kCarpetaTrabajo)) platform::CreateFolders(run::kCarpetaTrabajo);
  for (const ArchivoEscolan& archivo : ArchivosEscolan(tablas)) {
    if (archivo.tabla) archivo.tabla->Close();
    run::CopiarReemplazando(run::EnCarpeta(run::kCarpetaTrabajo, archivo.nombre),
                            run::EnCarpeta(carpetaOrigen, archivo.nombre));
  }
}

std::string RutaManual() {
  return platform::FullPath(platform::InstalledFilesFolder() + "\\manual\\index.html").Text();
}

Sesion::Sesion(run::InterfazUsuario& interfaz)
    : enginePropio_(std::make_unique<storage::Engine>()), engine_(*enginePropio_), interfaz_(interfaz), tablas_(engine_) {}

Sesion::Sesion(storage::Engine& engine, run::InterfazUsuario& interfaz)
    : engine_(engine), interfaz_(interfaz), tablas_(engine) {}

Sesion::Ejecucion::Ejecucion(Sesion& sesion) : sesion_(sesion) {
  if (sesion_.bloqueo_) return;
  sesion_.bloqueo_.emplace();
  propia_ = true;
}

Sesion::Ejecucion::~Ejecucion() {
  if (propia_) sesion_.bloqueo_.reset();
}

// ---------------------------------------------------------------------------------------------------------
// The source folder and its staging

std::string Sesion::Carpeta() const { return platform::CurrentFolder(); }

void Sesion::CambiarCarpeta(const std::string& carpeta) { platform::SetCurrentFolder(carpeta); }

void Sesion::Preparar() {
  EnEjecucion([this] { CopiarDatosCentro(tablas_, Carpeta()); });
}

void Sesion::PrepararCarpeta(const std::string& carpeta) {
  EnEjecucion([&] {
    CambiarCarpeta(carpeta);
    Preparar();
  });
}

void Sesion::LeerCentros(std::vector<std::string>& centros) {
  storage::Table& centro = tablas_.centro;
  centro.Open();
  for (centro.First(); !centro.Eof(); centro.Next()) centros.push_back(centro.AsString("Codcen"));
  centro.Close();
}

void Sesion::RecuperarCopiaInterrumpida() {
  EnEjecucion([this] {
    std::optional<std::string> mensaje = importacion::RecuperarDevolucionInterrumpida();
    run::BorrarTemporalesAbandonados(run::kCarpetaTrabajo);
    if (mensaje) interfaz_.MostrarMensaje(*mensaje);
  });
}

// ---------------------------------------------------------------------------------------------------------
// The runs

void Sesion::Exportar(exportacion::Idioma idioma) { Exportar(idioma, pasosExportacion_); }

void Sesion::Exportar(exportacion::Idioma idioma, const std::vector<exportacion::PasoExportacion>& pasos) {
  EnEjecucion([&] {
    exportacion::ContextoExportacion contexto{engine_, tablas_, idioma, Carpeta()};
    exportacion::Exportar(contexto, interfaz_, pasos);
  });
}

importacion::FinImportacion Sesion::Importar(const std::string& centro) {
  importacion::FinImportacion fin = importacion::FinImportacion::kCompleta;
  copiaUltimaImportacion_.clear();
  paginaUltimaImportacion_.clear();
  EnEjecucion([&] {
    importacion::ContextoImportacion contexto{engine_, tablas_, interfaz_, Carpeta(), centro};
    fin = importacion::Importar(contexto);
    copiaUltimaImportacion_ = contexto.copiaHorarios;
    paginaUltimaImportacion_ = contexto.paginaHorarios;
  });
  return fin;
}

std::vector<diagnostico::Problema> Sesion::Problemas(exportacion::Idioma idioma) {
  const std::string carpeta = Carpeta();
  run::CursorEsperaActivo espera(interfaz_);
  return diagnostico::ProblemasDeCarpeta(engine_, carpeta, idioma);
}

// ---------------------------------------------------------------------------------------------------------
// Backups

std::vector<importacion::CopiaHorarios> Sesion::CopiasDeHorarios() {
  return importacion::CopiasDeCarpeta(engine_, Carpeta());
}

void Sesion::RestaurarCopia(const std::string& sello) {
  EnEjecucion([&] {
    RecuperarCopiaInterrumpida();
    interfaz_.MostrarMensaje(importacion::RestaurarCopia(engine_, Carpeta(), sello));
  });
}

// ---------------------------------------------------------------------------------------------------------
// Pages and the manual

std::string Sesion::EscribirPaginaCarpeta(const std::string& centro) {
  std::string ruta = RutaDePagina(run::kPaginaHorarios);
  run::CursorEsperaActivo espera(interfaz_);
  horarios::EscribirPaginaHorarios(engine_, Carpeta(), centro, ruta);
  return ruta;
}

std::string Sesion::EscribirPaginaCopia(const importacion::CopiaHorarios& copia, const std::string& centro) {
  std::string ruta = RutaDePagina(std::string(run::kPrefijoPaginaCopia) + copia.sello + ".html");
  run::CursorEsperaActivo espera(interfaz_);
  horarios::EscribirPaginaHorarios(engine_, copia.origen, centro, ruta, copia.carpeta);
  return ruta;
}

void Sesion::AbrirPagina(const std::string& ruta) {
  if (!platform::OpenWithDefaultProgram(ruta)) throw std::runtime_error(run::ConValores(kMensajeSinNavegador, {ruta}));
}

void Sesion::AbrirManual() {
  const std::string ruta = manual_.empty() ? RutaManual() : manual_;
  if (!platform::FileExists(ruta)) throw std::runtime_error(run::ConValores(kMensajeSinManual, {ruta}));
  AbrirPagina(ruta);
}

}  // namespace sesion
