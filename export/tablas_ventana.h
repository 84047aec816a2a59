// The main window's table objects: one per staged ESCOLAN table and one for the generator's solution,
// closed until a step opens them, living as long as the window (or a command-line run).
#pragma once

#include "storage/storage.h"

namespace exportacion {

inline constexpr const char* kCarpetaTrabajo = "c:\\htemp\\valencia";   // the staged copies of ESCOLAN's tables
inline constexpr const char* kCarpetaIntercambio = "c:\\htemp";         // the generator's tables

struct TablasVentana {
  explicit TablasVentana(storage::Engine& engine);

  storage::Table wwTableAsignat;
  storage::Table wwTableCentro;
  storage::Table wwTableProfesor;
  storage::Table wwTableAsigAlum;
  storage::Table wwTableAulas;
  storage::Table wwTableGrupos;
  storage::Table wwTableAlumnos;
  storage::Table wwTableHorGrup;
  storage::Table wwTableHorProf;
  storage::Table wwTableSoluc;
  storage::Table wwTableLhortipo;
};

}  // namespace exportacion
