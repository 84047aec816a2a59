#include "export/tablas_ventana.h"

namespace exportacion {
namespace {

void Dirigir(storage::Table& table, const char* carpeta, const char* nombre, bool exclusiva) {
  table.SetDatabaseName(carpeta);
  table.SetTableName(nombre);
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
  Dirigir(wwTableSoluc, kCarpetaIntercambio, "SOLUC", true);
  Dirigir(wwTableLhortipo, kCarpetaTrabajo, "lhortipo", false);
}

}  // namespace exportacion
