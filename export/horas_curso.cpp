// The export's fifth step: every subject's level, course and weekly hours, in ESCOLAN's subject-code
// order, become ASIGCURT.
#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"

namespace exportacion {

void ExportarHorasCurso(ContextoExportacion& contexto) {
  using storage::DataType;
  BorrarTablaIntercambio(contexto.engine, run::kAsigcurt);
  storage::Table asigcurt(contexto.engine);
  DefinirTablaIntercambio(asigcurt, run::kAsigcurt,
                          {{"NIVEL", DataType::ftString, 5}, {"CURSO", DataType::ftString, 3},
                           {"ASIG", DataType::ftString, 4}, {"HORAS", DataType::ftFloat, 0}});
  asigcurt.CreateTable();
  storage::Table asigvalt(contexto.engine);
  DirigirAIntercambio(asigvalt, run::kAsigvalt);
  asigvalt.SetIndexName("CODVALEN");
  asigvalt.Open();
  asigcurt.Open();
  for (asigvalt.First(); !asigvalt.Eof(); asigvalt.Next()) {
    asigcurt.Append();
    asigcurt.SetAsString("NIVEL", asigvalt.AsString("NIVEL"));
    asigcurt.SetAsString("CURSO", asigvalt.AsString("CURSO"));
    asigcurt.SetAsString("ASIG", asigvalt.AsString("COD"));
    asigcurt.SetAsFloat("HORAS", asigvalt.AsFloat("NHORAS"));
    asigcurt.Post();
  }
  asigcurt.Close();
  asigvalt.Close();
}

}  // namespace exportacion
