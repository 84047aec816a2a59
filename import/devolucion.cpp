// The copy back as a small transaction: backup, journal, temporary copies on disk, the point of no return,
// the moves, and the journal cleared. See devolucion.h for the promise.
#include "import/devolucion.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/platform.h"
#include "run/claves.h"
#include "run/copia.h"
#include "run/rutas.h"

namespace importacion {
namespace {

using run::EnCarpeta;

constexpr std::string_view kDiario = "DIARIO.TXT";
constexpr std::string_view kDiarioNuevo = "DIARIO.NUEVO";
constexpr std::string_view kOrigen = "ORIGEN.TXT";

// How far a copy back went. Before kConfirmada nothing of the school's has changed and the way out is back;
// from kConfirmada on, every new file is on disk and the way out is forward; kDeshaciendo is the way back
// after a move failed.
enum class Estado { kPreparada, kConfirmada, kDeshaciendo };

constexpr const char* NombreDe(Estado estado) {
  switch (estado) {
    case Estado::kPreparada: return "PREPARADA";
    case Estado::kConfirmada: return "CONFIRMADA";
    case Estado::kDeshaciendo: return "DESHACIENDO";
  }
  return "";
}

struct Archivo {
  std::string nombre;   // "horgrup.dbf"
  bool existia = true;  // the school's folder had it before
};

struct Diario {
  Estado estado = Estado::kPreparada;
  std::string copia;   // the backup folder
  std::string origen;  // the school's folder
  std::vector<Archivo> archivos;

  std::string Destino(const Archivo& a) const { return EnCarpeta(origen, a.nombre); }
  std::string Respaldo(const Archivo& a) const { return EnCarpeta(copia, a.nombre); }
  // The new file beside its target, and the backup on its way back: named after the backup folder, so that
  // the journal finds them again and no two copies back share one.
  std::string Temporal(const Archivo& a) const { return Beside(a, ".tmp"); }
  std::string Restauracion(const Archivo& a) const { return Beside(a, ".res"); }

 private:
  std::string Beside(const Archivo& a, std::string_view extension) const {
    std::string base = a.nombre.substr(0, a.nombre.find('.'));
    std::string sello(platform::FileNamePart(copia));
    return EnCarpeta(origen, std::string(run::kPrefijoTemporal) + base + "-" + sello + std::string(extension));
  }
};

std::span<const std::byte> Bytes(std::string_view texto) { return std::as_bytes(std::span(texto)); }

// The journal goes to disk whole or not at all: written beside, then moved over the old one.
void EscribirDiario(const Diario& diario) {
  std::string texto = std::string("estado=") + NombreDe(diario.estado) + "\norigen=" + diario.origen + "\n";
  for (const Archivo& a : diario.archivos) texto += "archivo=" + a.nombre + ";" + (a.existia ? "1" : "0") + "\n";
  std::string nuevo = EnCarpeta(diario.copia, kDiarioNuevo);
  platform::WriteWholeFile(nuevo, Bytes(texto), true);
  platform::MoveReplacing(nuevo, EnCarpeta(diario.copia, kDiario));
}

// The journal is the program's own, but a damaged one must never send a move anywhere else: its folder is
// a full path with a drive, and its files are the two timetables, each once (a timetable named twice, once as
// there and once as not, would be put back and then deleted).
bool DiarioCoherente(const Diario& diario) {
  const std::string& origen = diario.origen;
  const bool conUnidad =
      origen.size() >= 3 && std::isalpha(static_cast<unsigned char>(origen[0])) != 0 && origen[1] == ':' && origen[2] == '\\';
  if (!conUnidad || diario.archivos.empty() || diario.archivos.size() > 2) return false;
  if (diario.archivos.size() == 2 && platform::SameName(diario.archivos[0].nombre, diario.archivos[1].nombre)) return false;
  return std::all_of(diario.archivos.begin(), diario.archivos.end(), [](const Archivo& a) {
    return platform::SameName(a.nombre, run::ArchivoEscolan(run::kHorgrup)) ||
           platform::SameName(a.nombre, run::ArchivoEscolan(run::kHorprof));
  });
}

std::optional<Diario> LeerDiario(const std::string& copia) {
  std::string ruta = EnCarpeta(copia, kDiario);
  if (!platform::FileExists(ruta)) return std::nullopt;
  Diario diario;
  diario.copia = copia;
  bool conEstado = false;
  for (const auto& [clave, valor] : run::LeerClaves(platform::ReadWholeFile(ruta))) {
    if (clave == "origen") diario.origen = valor;
    if (clave == "archivo") {
      std::size_t separador = valor.find(';');
      diario.archivos.push_back({valor.substr(0, separador), separador == std::string::npos || valor.substr(separador + 1) != "0"});
    }
    if (clave == "estado") {
      for (Estado estado : {Estado::kPreparada, Estado::kConfirmada, Estado::kDeshaciendo}) {
        if (valor == NombreDe(estado)) {
          diario.estado = estado;
          conEstado = true;
        }
      }
    }
  }
  if (!conEstado || !DiarioCoherente(diario)) {
    throw std::runtime_error("El diario de la copia de los horarios está dañado: " + ruta);
  }
  return diario;
}

void BorrarDiario(const Diario& diario) {
  platform::RemoveFile(EnCarpeta(diario.copia, kDiario));
  platform::RemoveFile(EnCarpeta(diario.copia, kDiarioNuevo));
}

// A school's file replaced by `nuevo`; an error names the school's file.
void Reemplazar(const std::string& nuevo, const std::string& destino) {
  platform::OnFile(destino, [&] { platform::MoveReplacing(nuevo, destino); });
}

void BorrarSiExiste(const std::string& ruta) {
  if (platform::FileExists(ruta) && !platform::RemoveFile(ruta)) throw platform::FileError(platform::kSharingViolation, ruta);
}

// The way back before the point of no return: the school's files were never touched.
void DeshacerPreparada(const Diario& diario) {
  for (const Archivo& a : diario.archivos) BorrarSiExiste(diario.Temporal(a));
}

// The way forward: every new file that is still beside its target goes over it.
void Completar(const Diario& diario) {
  for (const Archivo& a : diario.archivos) {
    if (platform::FileExists(diario.Temporal(a))) Reemplazar(diario.Temporal(a), diario.Destino(a));
  }
}

// The way back after the point of no return: a new file still beside its target was never moved and goes;
// a target already replaced gets its backup again (or goes, when the folder had none).
void Deshacer(const Diario& diario) {
  for (const Archivo& a : diario.archivos) {
    BorrarSiExiste(diario.Restauracion(a));
    if (platform::FileExists(diario.Temporal(a))) {
      BorrarSiExiste(diario.Temporal(a));
    } else if (a.existia) {
      run::CopiarArchivoExistente(diario.Restauracion(a), diario.Respaldo(a), run::Durabilidad::kEnDisco);
      Reemplazar(diario.Restauracion(a), diario.Destino(a));
    } else {
      BorrarSiExiste(diario.Destino(a));
    }
  }
}

// A new dated folder under C:\HTEMP\COPIAS: AAAAMMDD-HHMMSS, with -2, -3... when one is there already.
std::string CrearCarpetaCopia() {
  platform::LocalTime ahora = platform::Now();
  char sello[32];
  std::snprintf(sello, sizeof sello, "%04d%02d%02d-%02d%02d%02d", ahora.date.year, ahora.date.month,
                ahora.date.day, ahora.hour, ahora.minute, ahora.second);
  for (int intento = 1;; ++intento) {
    std::string nombre = sello + (intento == 1 ? std::string() : "-" + std::to_string(intento));
    std::string carpeta = EnCarpeta(run::kCarpetaCopias, nombre);
    if (platform::FolderExists(carpeta)) continue;
    if (!platform::CreateFolders(carpeta)) throw platform::FileError(platform::kPathNotFound);
    return carpeta;
  }
}

std::string Formateado(const char* plantilla, const std::string& carpeta) {
  std::string texto = plantilla;
  texto.replace(texto.find("%s"), 2, carpeta);
  return texto;
}

}  // namespace

std::string DevolverHorarios(std::string_view carpetaOrigen) {
  Diario diario;
  diario.origen = std::string(carpetaOrigen);
  for (std::string_view horario : {run::kHorgrup, run::kHorprof}) {
    Archivo a{run::ArchivoEscolan(horario), true};
    if (!platform::FileExists(EnCarpeta(run::kCarpetaTrabajo, a.nombre))) {
      throw platform::FileError(platform::kFileNotFound);
    }
    if (platform::IsReadOnly(diario.Destino(a))) throw platform::FileError(platform::kAccessDenied, diario.Destino(a));
    a.existia = platform::FileExists(diario.Destino(a));
    diario.archivos.push_back(a);
  }

  diario.copia = CrearCarpetaCopia();
  for (const Archivo& a : diario.archivos) {
    if (a.existia) run::CopiarArchivoExistente(diario.Respaldo(a), diario.Destino(a), run::Durabilidad::kEnDisco);
  }
  std::string origen = diario.origen + "\n";
  platform::WriteWholeFile(EnCarpeta(diario.copia, kOrigen), Bytes(origen), true);

  try {
    EscribirDiario(diario);
  } catch (...) {
    BorrarDiario(diario);
    throw;
  }
  try {
    for (const Archivo& a : diario.archivos) {
      run::CopiarArchivoExistente(diario.Temporal(a), EnCarpeta(run::kCarpetaTrabajo, a.nombre),
                                  run::Durabilidad::kEnDisco);
    }
    diario.estado = Estado::kConfirmada;
    EscribirDiario(diario);
  } catch (...) {
    DeshacerPreparada(diario);
    BorrarDiario(diario);
    throw;
  }

  try {
    for (const Archivo& a : diario.archivos) Reemplazar(diario.Temporal(a), diario.Destino(a));
  } catch (...) {
    // The journal says "back" before anything goes back, so that a crash in between is undone too.
    diario.estado = Estado::kDeshaciendo;
    EscribirDiario(diario);
    Deshacer(diario);
    BorrarDiario(diario);
    throw;
  }
  BorrarDiario(diario);
  return diario.copia;
}

std::optional<std::string> RecuperarDevolucionInterrumpida() {
  std::optional<std::string> mensaje;
  for (const std::string& nombre : platform::Subfolders(run::kCarpetaCopias)) {
    std::optional<Diario> diario = LeerDiario(EnCarpeta(run::kCarpetaCopias, nombre));
    if (!diario) continue;
    if (diario->estado == Estado::kConfirmada) {
      try {
        Completar(*diario);
      } catch (...) {
        // A move that failed once a target was replaced would leave the folder with one file of each: back,
        // the journal saying so first, as the copy back itself goes back. Before any was replaced nothing
        // has changed, and the journal stays for the next run to go forward again.
        bool reemplazado = false;
        for (const Archivo& a : diario->archivos) {
          reemplazado = reemplazado || !platform::FileExists(diario->Temporal(a));
        }
        if (reemplazado) {
          diario->estado = Estado::kDeshaciendo;
          EscribirDiario(*diario);
          Deshacer(*diario);
          BorrarDiario(*diario);
        }
        throw;
      }
      mensaje = Formateado(kMensajeDevolucionCompletada, diario->origen);
    } else {
      if (diario->estado == Estado::kPreparada) DeshacerPreparada(*diario);
      if (diario->estado == Estado::kDeshaciendo) Deshacer(*diario);
      mensaje = Formateado(kMensajeDevolucionDeshecha, diario->origen);
    }
    BorrarDiario(*diario);
  }
  return mensaje;
}

}  // namespace importacion
