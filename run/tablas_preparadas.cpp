#include "run/tablas_preparadas.h"

#include "run/rutas.h"
#include "util/ascii.h"

namespace run {
namespace {

// The table objects name their folders in lower case ("c:\htemp\valencia"), as the main window was designed;
// the table layer's messages show the folder so.
void Dirigir(storage::Table& table, std::string_view carpeta, std::string_view nombre, bool exclusiva) {
  table.SetDatabaseName(util::ToLowerAscii(carpeta));
  table.SetTableName(std::string(nombre));
  table.SetDbfExtensionImplied(true);
  table.SetExclusive(exclusiva);
}

}  // namespace

// Each object keeps the name of the main window's table component it stands for ("wwTableAsignat"): the table
// layer puts it before some of its messages.
TablasPreparadas::TablasPreparadas(storage::Engine& engine)
    : asignat(engine, "wwTableAsignat"),
      centro(engine, "wwTableCentro"),
      profesor(engine, "wwTableProfesor"),
      asigalum(engine, "wwTableAsigAlum"),
      aulas(engine, "wwTableAulas"),
      grupos(engine, "wwTableGrupos"),
      alumnos(engine, "wwTableAlumnos"),
      horgrup(engine, "wwTableHorGrup"),
      horprof(engine, "wwTableHorProf"),
      soluc(engine, "wwTableSoluc"),
      lhortipo(engine, "wwTableLhortipo") {
  // asignat is named with its extension and the others without, as the window was designed: the table
  // layer adds ".DBF" to a name without one, and its messages show the name so.
  Dirigir(asignat, kCarpetaTrabajo, ArchivoEscolan(kAsignat), true);
  Dirigir(centro, kCarpetaTrabajo, kCentro, true);
  Dirigir(profesor, kCarpetaTrabajo, kProfesor, true);
  Dirigir(asigalum, kCarpetaTrabajo, kAsigalum, true);
  Dirigir(aulas, kCarpetaTrabajo, kAulas, true);
  Dirigir(grupos, kCarpetaTrabajo, kGrupos, true);
  Dirigir(alumnos, kCarpetaTrabajo, kAlumnos, true);
  Dirigir(horgrup, kCarpetaTrabajo, kHorgrup, true);
  Dirigir(horprof, kCarpetaTrabajo, kHorprof, true);
  Dirigir(soluc, kCarpetaIntercambio, kSoluc, true);
  Dirigir(lhortipo, kCarpetaTrabajo, kLhortipo, false);
}

void DirigirAProfesores(storage::Table& tabla) {
  tabla.SetDatabaseName(std::string(kCarpetaIntercambio));
  tabla.SetTableName(ArchivoDbf(kProft));
  tabla.SetDbfExtensionImplied(true);
}

void DirigirAPlantilla(storage::Table& tabla) {
  tabla.SetDatabaseName(std::string(kCarpetaTrabajo));
  tabla.SetTableName(ArchivoDbf(kPlantilla));
  tabla.SetDbfExtensionImplied(true);
}

}  // namespace run
