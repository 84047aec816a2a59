// The main window's table objects: one per staged ESCOLAN table and one for the generator's solution,
// closed until a step opens them, living as long as the window (or a command-line run).
#pragma once

#include "storage/storage.h"

namespace run {

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

// Points a closed table object at the table that a review dialog of the import edits: the teachers
// (C:\HTEMP\PROFT.DBF) or the class-period template (PLANTILLA.DBF in the staging folder).
void DirigirAProfesores(storage::Table& tabla);
void DirigirAPlantilla(storage::Table& tabla);

}  // namespace run
