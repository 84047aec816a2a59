// The export's second step: the teachers without a leave date become PROFT, each with an abbreviation
// of the first two characters of the name, made distinct by numbers added to repeated ones.
#include <vector>

#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"

namespace exportacion {
namespace {

using storage::DataType;

void EscribirProfesores(storage::Table& profesor, storage::Table& proft) {
  AbiertaDurante abierta(profesor);
  for (profesor.First(); !profesor.Eof(); profesor.Next()) {
    if (!profesor.AsDate("FBaja").IsEmpty()) continue;  // on leave, whenever it began or begins
    proft.Append();
    std::string nombre = profesor.AsString("Apenomprof");
    proft.SetAsString("ABREV", Caracteres(nombre, 1, 2));
    proft.SetAsString("NOMBRE", nombre);
    proft.SetAsString("DEPART", profesor.AsString("Departa"));
    proft.SetAsInteger("DNI", profesor.AsInteger("Dni"));
    proft.Post();
  }
}

// The abbreviations made distinct as the comparison of every record with every other leaves them: the
// records whose abbreviation changes are rewritten through the second cursor.
void DistinguirAbreviaturas(storage::Table& exterior, storage::Table& interior) {
  std::vector<std::string> abreviaturas;
  std::vector<std::uint32_t> registros;
  for (exterior.First(); !exterior.Eof(); exterior.Next()) {
    abreviaturas.push_back(exterior.AsString("ABREV"));
    registros.push_back(exterior.RecNo());
  }
  std::vector<std::string> distintas = AbreviaturasDistintas(abreviaturas);
  for (std::size_t i = 0; i < distintas.size(); ++i) {
    if (distintas[i] == abreviaturas[i]) continue;
    interior.GoToRecord(registros[i]);
    interior.Edit();
    interior.SetAsString("ABREV", distintas[i]);
    interior.Post();
  }
}

}  // namespace

void ExportarProfesores(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(contexto.engine, run::kProft);
  storage::Table proft(contexto.engine);
  DefinirTablaIntercambio(proft, run::kProft,
                          {{"ABREV", DataType::ftString, static_cast<int>(kTamanoAbreviatura)}, {"NOMBRE", DataType::ftString, 40},
                           {"DEPART", DataType::ftString, 40}, {"DNI", DataType::ftInteger, 0}});
  proft.CreateTable();
  proft.Open();
  EscribirProfesores(contexto.tablas.profesor, proft);
  proft.Close();

  storage::Table interior(contexto.engine);
  DirigirAIntercambio(interior, run::kProft);
  interior.Open();
  proft.Open();
  DistinguirAbreviaturas(proft, interior);
  proft.Close();
  interior.Close();
}

}  // namespace exportacion
