// The school's timetables as one printable page: a week grid per group and per teacher, with an index,
// the lessons counted and every clash listed and marked. No widgets and no host calls: the page is read
// from ESCOLAN's tables through the engine and written through the platform's file layer.
//
// Two halves, each usable alone:
//   - reading (lectura.cpp): a folder's horgrup, horprof and the tables that name things (asignat,
//     profesor, aulas, grupos, centro) and give the period times (lhortipo, the template), into a
//     HorarioCentro;
//   - the page (clases.cpp, pagina.cpp): lessons paired, clashes found, period times settled, HTML built.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {
class Engine;
}

namespace horarios {

// ---------------------------------------------------------------------------------------------------------
// What the tables hold

// A horgrup record: a lesson of a group (its subject and teacher), with the times stored with it.
struct RegistroHorgrup {
  std::int32_t dni = 0;
  int dia = 0;
  int hora = 0;
  std::string grupo;       // codgrup
  std::string asignatura;  // codasig
  std::string desde;       // Hordiades
  std::string hasta;       // Hordiahas
};

// A horprof record: a lesson of a teacher and the room it takes, with its times.
struct RegistroHorprof {
  std::int32_t dni = 0;
  int dia = 0;
  int hora = 0;
  std::string aula;  // CODAULA where the table has it and it is not empty, else Ocupa (see LeerHorario)
  std::string desde;  // Horad
  std::string hasta;  // Horah
};

// One lesson as the page shows it: what a horgrup record and its horprof record say together. A lesson from
// only one of the two tables lacks the other's fields (no room, or no group and subject).
struct Clase {
  std::int32_t dni = 0;
  int dia = 0;
  int hora = 0;
  std::string grupo;
  std::string asignatura;
  std::string aula;
  std::string desde;
  std::string hasta;
  bool operator==(const Clase&) const = default;
};

// Pairs each horgrup record with a horprof record of the same teacher, day and period: within such a
// teacher, day and period, the first with the first, the second with the second, in stored order (the
// import writes the two tables pairwise in one order, and ESCOLAN keeps each teacher's records of one hour
// together whatever it does to the rest). Records left over stay lessons of their own. The lessons follow
// horgrup's order, then the horprof records left over in theirs.
std::vector<Clase> EmparejarClases(const std::vector<RegistroHorgrup>& horgrup,
                                   const std::vector<RegistroHorprof>& horprof);

// The start and end of a class period.
struct Periodo {
  std::string desde;
  std::string hasta;
  bool operator==(const Periodo&) const = default;
};
using Periodos = std::map<int, Periodo>;

// The time of each period, each of its two ends taken from the first of these that has it: the lessons
// themselves (the first lesson of that period with the time, in order: what ESCOLAN shows for the lesson),
// the centre's lhortipo, then the class-period template that the last import used.
Periodos HorasDePeriodos(const std::vector<Clase>& clases, const Periodos& lhortipo, const Periodos& plantilla);

// A teacher, group or room in two places at one day and period.
enum class TipoChoque { kProfesor, kGrupo, kAula };
struct Choque {
  TipoChoque tipo = TipoChoque::kProfesor;
  std::string quien;  // the teacher's identity number as text, the group's or the room's code
  int dia = 0;
  int hora = 0;
  std::vector<std::size_t> clases;  // the lessons involved, as positions in the list searched
};

// Every clash of the lessons, in order of kind, then who, day and period. When `aulas` lists any room, a
// lesson's room counts only when it is one of them: a room the school does not have (a code cut short when it
// was stored, say) would make clashes that are not there.
//   - a teacher (identity number not 0) with lessons in more than one room, or of more than one subject, at
//     once;
//   - a room (not empty) with lessons of more than one teacher at once;
//   - a group (not empty) with lessons of more than one teacher, or in more than one room, at once.
// Several groups taught one subject together (one teacher in one room) make no clash; a group split at one
// hour between several teachers does, as the page cannot tell a planned split from a mistake.
std::vector<Choque> BuscarChoques(const std::vector<Clase>& clases,
                                  const std::map<std::string, std::string>& aulas = {});

// ---------------------------------------------------------------------------------------------------------
// A centre's timetables, read

struct HorarioCentro {
  std::string centro;        // the centre code; empty for every record of the folder
  std::string nombreCentro;  // centro's LITCEN, when it has one
  std::vector<Clase> clases;
  Periodos periodos;  // settled by HorasDePeriodos
  // Names by code: subjects (asignat), teachers by identity number (profesor), rooms (aulas), and each
  // group's shift (grupos).
  std::map<std::string, std::string> asignaturas;
  std::map<std::int32_t, std::string> profesores;
  std::map<std::string, std::string> aulas;
  std::map<std::string, std::string> turnos;
  // What the reader of the page should know about the rooms: lessons whose room the school's aulas does not
  // have, and a horprof whose Ocupa is too narrow for the school's room codes.
  std::vector<std::string> avisos;
};

// The centre codes of the folder's centro.dbf, in stored order, read as text (as the centre list shows them).
std::vector<std::string> CentrosDeCarpeta(storage::Engine& engine, std::string_view carpeta);

// Reads the centre's timetables from `carpeta`: horgrup.dbf and horprof.dbf (a table layer's error when they
// cannot be read), the names of asignat, profesor, aulas, grupos and centro and the times of lhortipo where
// those tables are there, and the template C:\HTEMP\VALENCIA\PLANTILLA.DBF where it is. Every table is opened
// shared and only read: ESCOLAN may have them open, and nothing of the folder changes. With `carpetaClases`,
// horgrup.dbf and horprof.dbf come from that folder instead (a backup of the timetables, which holds only
// those two), and everything else from `carpeta`.
HorarioCentro LeerHorario(storage::Engine& engine, std::string_view carpeta, const std::string& centro,
                          std::string_view carpetaClases = {});

// ---------------------------------------------------------------------------------------------------------
// The page

// `texto` with & < > " ' written as HTML entities.
std::string EscaparHtml(std::string_view texto);

// The whole page: UTF-8, inline styles, no script, A4 landscape, one grid per printed page.
std::string PaginaHtml(const HorarioCentro& horario);

// The same page handed to `parte` piece after piece as it is built, each piece once about `tamano` bytes are
// ready (the last one at the end): a page of thousands of lessons is megabytes, and its file is written
// without the page being held whole.
void PaginaHtmlPorPartes(const HorarioCentro& horario, std::size_t tamano,
                         const std::function<void(std::string_view)>& parte);

// Reads the centre's timetables from `carpeta` (the lessons from `carpetaClases`, when given: see LeerHorario)
// and writes their page at `ruta` (a Windows path).
void EscribirPaginaHorarios(storage::Engine& engine, std::string_view carpeta, const std::string& centro,
                            std::string_view ruta, std::string_view carpetaClases = {});

}  // namespace horarios
