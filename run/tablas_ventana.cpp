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
  Dirigir(wwTableAsignat, kCarpetaTrabajo, "asignat.dbf", true);
  Dirigir(wwTableCentro, kCarpetaTrabajo, "centro", true);
  Dirigir(wwTableProfesor, kCarpetaTrabajo, "profesor", true);
  Dirigir(wwTableAsigAlum, kCarpetaTrabajo, "asigalum", true);
  Dirigir(wwTableAulas, kCarpetaTrabajo, "aulas", true);
  Dirigir(wwTableGrupos, kCarpetaTrabajo, "grupos", true);
  Dirigir(wwTableAlumnos, kCarpetaTrabajo, "alumnos", true);
  Dirigir(wwTableHorGrup, kCarpetaTrabajo, "horgrup", true);
  Dirigir(wwTableHorProf, kCarpetaTrabajo, "horprof", true);
  Dirigir(wwTableSoluc, kCarpetaIntercambio, kSoluc, true);
  Dirigir(wwTableLhortipo, kCarpetaTrabajo, "lhortipo", false);
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
