// The backups of the school's timetables: listed from C:\HTEMP\COPIAS, and one put back through the import's
// copy back.
#include "import/copias.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "import/devolucion.h"
#include "run/copia.h"
#include "run/mensajes.h"
#include "run/rutas.h"

namespace importacion {
namespace {

using run::EnCarpeta;

constexpr std::string_view kOrigen = "ORIGEN.TXT";
constexpr std::string_view kDiario = "DIARIO.TXT";

bool Digitos(std::string_view texto) {
  return !texto.empty() && std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Numero(std::string_view digitos) {
  int numero = 0;
  for (char c : digitos) numero = numero * 10 + (c - '0');
  return numero;
}

// The date and time a backup's name writes.
platform::LocalTime FechaDeSello(std::string_view sello) {
  platform::LocalTime fecha;
  fecha.date = {Numero(sello.substr(0, 4)), Numero(sello.substr(4, 2)), Numero(sello.substr(6, 2))};
  fecha.hour = Numero(sello.substr(9, 2));
  fecha.minute = Numero(sello.substr(11, 2));
  fecha.second = Numero(sello.substr(13, 2));
  return fecha;
}

// The school's folder that ORIGEN.TXT names: its first line.
std::optional<std::string> OrigenDe(const std::string& carpeta) {
  std::string ruta = EnCarpeta(carpeta, kOrigen);
  if (!platform::FileExists(ruta)) return std::nullopt;
  std::string texto = platform::ReadWholeFile(ruta);
  texto = texto.substr(0, texto.find_first_of("\r\n"));
  if (texto.empty()) return std::nullopt;
  return texto;
}

bool MismaCarpeta(std::string_view a, std::string_view b) {
  try {
    return platform::SameName(platform::FullPath(a).Text(), platform::FullPath(b).Text());
  } catch (const std::exception&) {
    return false;  // a name that is no path names no folder of ours
  }
}

// The lessons of a timetable of the backup: its records that are not deleted. A backup is left as it was
// found, not held.
std::optional<int> Clases(storage::Engine& engine, const std::string& ruta) {
  if (!platform::FileExists(ruta)) return std::nullopt;
  try {
    return static_cast<int>(engine.CountRecords(ruta));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::string TextoFecha(const platform::LocalTime& fecha) {
  char texto[40];
  std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", fecha.date.day, fecha.date.month, fecha.date.year);
  return texto;
}

std::string TextoHora(const platform::LocalTime& fecha) {
  char texto[40];
  std::snprintf(texto, sizeof texto, "%02d:%02d:%02d", fecha.hour, fecha.minute, fecha.second);
  return texto;
}

std::string TextoClases(const std::optional<int>& clases) {
  return clases ? std::to_string(*clases) + " clases" : std::string("falta");
}

std::string LineaDeCopia(const CopiaHorarios& copia) {
  return copia.sello + "  " + TextoFecha(copia.fecha) + " " + TextoHora(copia.fecha) +
         "  horgrup: " + TextoClases(copia.clasesHorgrup) + "  horprof: " + TextoClases(copia.clasesHorprof) + "  " +
         copia.origen;
}

bool EsSelloDeCopia(std::string_view texto) {
  if (texto.size() < 15 || texto[8] != '-' || !Digitos(texto.substr(0, 8)) || !Digitos(texto.substr(9, 6))) {
    return false;
  }
  std::string_view resto = texto.substr(15);
  return resto.empty() || (resto.front() == '-' && Digitos(resto.substr(1)));
}

std::vector<CopiaHorarios> CopiasDeCarpeta(storage::Engine& engine, std::string_view carpetaOrigen) {
  std::vector<CopiaHorarios> copias;
  for (const std::string& nombre : platform::Subfolders(run::kCarpetaCopias)) {
    if (!EsSelloDeCopia(nombre)) continue;
    std::string carpeta = EnCarpeta(run::kCarpetaCopias, nombre);
    if (platform::FileExists(EnCarpeta(carpeta, kDiario))) continue;
    std::optional<std::string> origen = OrigenDe(carpeta);
    if (!origen || !MismaCarpeta(*origen, carpetaOrigen)) continue;
    CopiaHorarios copia{nombre, carpeta, *origen, FechaDeSello(nombre), {}, {}};
    copia.clasesHorgrup = Clases(engine, EnCarpeta(carpeta, run::ArchivoEscolan(run::kHorgrup)));
    copia.clasesHorprof = Clases(engine, EnCarpeta(carpeta, run::ArchivoEscolan(run::kHorprof)));
    copias.push_back(std::move(copia));
  }
  // Names of one form sort as their dates; a second backup of one second (-2, -3...) after the first.
  std::sort(copias.begin(), copias.end(), [](const CopiaHorarios& a, const CopiaHorarios& b) {
    if (a.sello.substr(0, 15) != b.sello.substr(0, 15)) return a.sello.substr(0, 15) > b.sello.substr(0, 15);
    return a.sello.size() != b.sello.size() ? a.sello.size() > b.sello.size() : a.sello > b.sello;
  });
  return copias;
}

std::string RestaurarCopia(storage::Engine& engine, std::string_view carpetaOrigen, std::string_view sello) {
  std::vector<CopiaHorarios> copias = CopiasDeCarpeta(engine, carpetaOrigen);
  auto copia = std::find_if(copias.begin(), copias.end(), [&](const CopiaHorarios& c) { return c.sello == sello; });
  if (copia == copias.end()) {
    throw storage::DatabaseError(run::ConValores(kMensajeCopiaDesconocida, {sello, carpetaOrigen}));
  }
  for (std::string_view horario : {run::kHorgrup, run::kHorprof}) {
    const bool legible = (horario == run::kHorgrup ? copia->clasesHorgrup : copia->clasesHorprof).has_value();
    if (!legible) {
      throw storage::DatabaseError(run::ConValores(kMensajeCopiaIncompleta, {sello, run::ArchivoEscolan(horario)}));
    }
  }
  // The backup's pair takes the place of the staged timetables, which the copy back puts into the folder.
  if (!platform::FolderExists(run::kCarpetaTrabajo)) platform::CreateFolders(run::kCarpetaTrabajo);
  for (std::string_view horario : {run::kHorgrup, run::kHorprof}) {
    std::string archivo = run::ArchivoEscolan(horario);
    engine.Release(EnCarpeta(run::kCarpetaTrabajo, archivo));
    run::CopiarArchivoExistente(EnCarpeta(run::kCarpetaTrabajo, archivo), EnCarpeta(copia->carpeta, archivo),
                                run::Durabilidad::kEnDisco);
  }
  std::string guardada = DevolverHorarios(carpetaOrigen);
  return run::ConValores(kMensajeCopiaRestaurada, {sello, carpetaOrigen, guardada});
}

}  // namespace importacion
