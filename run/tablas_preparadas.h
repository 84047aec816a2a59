// The table objects on the staged tables: one per ESCOLAN table staged in C:\HTEMP\VALENCIA and one for the
// generator's solution (C:\HTEMP\SOLUC.DBF), each named for its table, closed until a step opens them, living
// as long as the main window (or a command-line run).
#pragma once

#include "storage/storage.h"

namespace run {

struct TablasPreparadas {
  explicit TablasPreparadas(storage::Engine& engine);

  storage::Table asignat;
  storage::Table centro;
  storage::Table profesor;
  storage::Table asigalum;
  storage::Table aulas;
  storage::Table grupos;
  storage::Table alumnos;
  storage::Table horgrup;
  storage::Table horprof;
  storage::Table soluc;
  storage::Table lhortipo;
};

// Points a closed table object at the table that a review dialog of the import edits: the teachers
// (C:\HTEMP\PROFT.DBF) or the class-period template (PLANTILLA.DBF in the staging folder).
void DirigirAProfesores(storage::Table& tabla);
void DirigirAPlantilla(storage::Table& tabla);

}  // namespace run
