// The export's third step: ESCOLAN's rooms become AULAT.
#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"

namespace exportacion {

void ExportarAulas(ContextoExportacion& contexto) {
  using storage::DataType;
  BorrarTablaIntercambio(contexto.engine, run::kAulat);
  storage::Table aulat(contexto.engine);
  DefinirTablaIntercambio(aulat, run::kAulat,
                          {{"ABREV", DataType::ftString, 4}, {"NOMBRE", DataType::ftString, 40},
                           {"EDIFICIO", DataType::ftString, 1}, {"MAXALUM", DataType::ftInteger, 0}});
  aulat.CreateTable();
  aulat.Open();
  storage::Table& aulas = contexto.tablas.aulas;
  AbiertaDurante abierta(aulas);
  for (aulas.First(); !aulas.Eof(); aulas.Next()) {
    aulat.Append();
    aulat.SetAsString("ABREV", aulas.AsString("Codaula"));
    aulat.SetAsString("NOMBRE", aulas.AsString("Litaula"));
    aulat.SetAsString("EDIFICIO", "1");
    aulat.SetAsInteger("MAXALUM", 0);
    aulat.Post();
  }
  aulat.Close();
}

}  // namespace exportacion
