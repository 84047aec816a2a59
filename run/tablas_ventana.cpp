#include "run/tablas_ventana.h"

#include "run/rutas.h"
#include "util/ascii.h"

namespace run {
namespace {

// The window's table objects name their folders in lower case ("c:\htemp\valencia"), as the window was
// designed; the table layer's messages show the folder so.
void Dirigir(storage::Table& table, std::string_view carpeta, std::string_view nombre, bool exclusiva) {
  table.SetDatabaseName(util::ToLowerAscii(carpeta));
  table.SetTableName(std::string(nombre));
  table.SetTableType(storage::TableType::ttDBase);
  table.SetExclusive(exclusiva);
}

}  // namespace

TablasVentana::TablasVentana(storage::Engine& engine)
    : wwTableAsignat(engine, "wwTableAsignat"),
      wwTableCentro(engine, "wwTableCentro"),
      wwTableProfesor(engine, "wwTableProfesor"),
      wwTableAsigAlum(engine, "wwTableAsigAlum"),
      wwTableAulas(engine, "wwTableAulas"),
      wwTableGrupos(engine, "wwTableGrupos"),
      wwTableAlumnos(engine, "wwTableAlumnos"),
      wwTableHorGrup(engine, "wwTableHorGrup"),
      wwTableHorProf(engine, "wwTableHorProf"),
      wwTableSoluc(engine, "wwTableSoluc"),
      wwTableLhortipo(engine, "wwTableLhortipo") {
  // asignat is named with its extension and the others without, as the window was designed: the table
  // layer adds ".DBF" to a name without one, and its messages show the name so.
  Dirigir(wwTableAsignat, kCarpetaTrabajo, ArchivoEscolan(kAsignat), true);
  Dirigir(wwTableCentro, kCarpetaTrabajo, kCentro, true);
  Dirigir(wwTableProfesor, kCarpetaTrabajo, kProfesor, true);
  Dirigir(wwTableAsigAlum, kCarpetaTrabajo, kAsigalum, true);
  Dirigir(wwTableAulas, kCarpetaTrabajo, kAulas, true);
  Dirigir(wwTableGrupos, kCarpetaTrabajo, kGrupos, true);
  Dirigir(wwTableAlumnos, kCarpetaTrabajo, kAlumnos, true);
  Dirigir(wwTableHorGrup, kCarpetaTrabajo, kHorgrup, true);
  Dirigir(wwTableHorProf, kCarpetaTrabajo, kHorprof, true);
  Dirigir(wwTableSoluc, kCarpetaIntercambio, kSoluc, true);
  Dirigir(wwTableLhortipo, kCarpetaTrabajo, kLhortipo, false);
}

void DirigirAProfesores(storage::Table& tabla) {
  tabla.SetDatabaseName(std::string(kCarpetaIntercambio));
  tabla.SetTableName(ArchivoDbf(kProft));
  tabla.SetTableType(storage::TableType::ttDBase);
}

void DirigirAPlantilla(storage::Table& tabla) {
  tabla.SetDatabaseName(std::string(kCarpetaTrabajo));
  tabla.SetTableName(ArchivoDbf(kPlantilla));
  tabla.SetTableType(storage::TableType::ttDBase);
}

}  // namespace run
