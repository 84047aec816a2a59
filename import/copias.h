// The backups of a school's timetables that the imports leave in C:\HTEMP\COPIAS, and putting one back.
//
// Each import backs up the pair it replaces (horgrup.dbf, horprof.dbf) into a folder of its own named after
// its date and time, AAAAMMDD-HHMMSS (with -2, -3... when two shared a second), with ORIGEN.TXT naming the
// school's folder. Restoring one is a copy back like the import's (import/devolucion.h): the current pair is
// backed up first into a new dated folder, both files change or neither does, and an interrupted restore is
// finished or undone at the next start.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "storage/storage.h"

namespace importacion {

struct CopiaHorarios {
  std::string sello;    // the folder's name: "20261211-043512", or "20261211-043512-2"
  std::string carpeta;  // C:\HTEMP\COPIAS\<sello>
  std::string origen;   // the school's folder, as ORIGEN.TXT names it
  platform::LocalTime fecha;
  // The records of each timetable, deleted ones left out; nothing where the file is missing or cannot be read.
  std::optional<int> clasesHorgrup;
  std::optional<int> clasesHorprof;
  // Whether the backup has both files, which a restore needs.
  bool Completa() const { return clasesHorgrup.has_value() && clasesHorprof.has_value(); }
};

// The backups of `carpetaOrigen` (names compared as Windows compares them), newest first. Folders of another
// school, folders whose name is no date and time, and backups whose copy back is still unfinished (its journal
// is there: the next start settles it) are not listed; a backup missing a file is, without its lessons.
std::vector<CopiaHorarios> CopiasDeCarpeta(storage::Engine& engine, std::string_view carpetaOrigen);

// A backup on one line: its name, its date and time, the lessons of each timetable, the school's folder
// ("20261211-043512  11/12/2026 04:35:12  horgrup: 120 clases  horprof: 118 clases  C:\ESCOLAN"; "falta"
// for a file missing or unreadable).
std::string LineaDeCopia(const CopiaHorarios& copia);

// A backup's parts as the backups' list shows them: its date ("11/12/2026"), its time ("04:35:12"), and the
// lessons of one of its timetables ("120 clases", or "falta").
std::string TextoFecha(const platform::LocalTime& fecha);
std::string TextoHora(const platform::LocalTime& fecha);
std::string TextoClases(const std::optional<int>& clases);

// Whether `texto` is a backup's name: AAAAMMDD-HHMMSS, with -N after it.
bool EsSelloDeCopia(std::string_view texto);

// Puts the timetables of the backup `sello` of `carpetaOrigen` back into that folder, after backing up the pair
// that is there now. Refused with nothing changed (a DatabaseError with one of the messages below) when the
// folder has no such backup or the backup lacks a file; a read-only timetable is refused as the import's copy
// back refuses it ("Acceso al archivo denegado"). Returns the message that tells the user it was done and where
// the replaced pair was kept.
std::string RestaurarCopia(storage::Engine& engine, std::string_view carpetaOrigen, std::string_view sello);

// A restore done: %1 the backup's name, %2 the school's folder, %3 the backup of the pair it replaced.
inline constexpr const char* kMensajeCopiaRestaurada =
    "Se han restaurado los horarios de la copia %1 en %2. Los que había están guardados en %3.";
// %1 the backup's name, %2 the school's folder.
inline constexpr const char* kMensajeCopiaDesconocida =
    "No hay ninguna copia %1 de los horarios de %2: no se ha cambiado ningún horario.";
// %1 the backup's name, %2 the file it lacks or cannot read.
inline constexpr const char* kMensajeCopiaIncompleta =
    "La copia %1 no tiene %2 completo: no se ha cambiado ningún horario.";

}  // namespace importacion
