// The export's second step: the teachers without a leave date become PROFT, each with an abbreviation
// of the first two characters of the name, made distinct by numbers added to repeated ones.
#include <map>
#include <set>
#include <vector>

#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"

namespace exportacion {
namespace {

using storage::DataType;

constexpr int kTamanoAbreviatura = 4;

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

// Every record against every other: each later record with the same abbreviation gets the counter added
// (2, 3, ...), starting again at 2 for every outer record. A change is posted at once and seen by both
// cursors, so the first of a set keeps its abbreviation and the others take 2, 3 and so on in stored order.
//
// The inner walk visits only the records that hold the outer record's abbreviation: the record numbers of
// each abbreviation, kept as the changes are posted, are those an inner walk from the first record would
// find equal, in the order it would find them (a record changes only when the inner walk passes it, so no
// record comes to hold the abbreviation sought during one walk, and none stops holding it before its turn).
void DistinguirAbreviaturas(storage::Table& exterior, storage::Table& interior) {
  std::map<std::string, std::set<std::uint32_t>> registrosPorAbreviatura;
  for (interior.First(); !interior.Eof(); interior.Next()) {
    registrosPorAbreviatura[interior.AsString("ABREV")].insert(interior.RecNo());
  }
  for (exterior.First(); !exterior.Eof(); exterior.Next()) {
    // The inner cursor never changes the outer record, so its abbreviation holds for the whole inner walk.
    std::string abreviatura = exterior.AsString("ABREV");
    auto iguales = registrosPorAbreviatura.find(abreviatura);
    if (iguales == registrosPorAbreviatura.end()) continue;
    // An abbreviation that fills the field keeps no digit added to it: its records would be written back
    // as they are.
    if (ComoSeLee(abreviatura + "2", kTamanoAbreviatura) == abreviatura) continue;
    std::vector<std::uint32_t> recorrido(iguales->second.begin(), iguales->second.end());
    int contador = 2;
    for (std::uint32_t registro : recorrido) {
      if (registro == exterior.RecNo()) continue;
      interior.GoToRecord(registro);
      interior.Edit();
      interior.SetAsString("ABREV", interior.AsString("ABREV") + std::to_string(contador));
      interior.Post();
      ++contador;
      registrosPorAbreviatura[abreviatura].erase(registro);
      registrosPorAbreviatura[interior.AsString("ABREV")].insert(registro);
    }
  }
}

}  // namespace

void ExportarProfesores(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(contexto.engine, run::kProft);
  storage::Table proft(contexto.engine);
  DefinirTablaIntercambio(proft, run::kProft,
                          {{"ABREV", DataType::ftString, kTamanoAbreviatura}, {"NOMBRE", DataType::ftString, 40},
                           {"DEPART", DataType::ftString, 40}, {"DNI", DataType::ftInteger, 0}});
  proft.CreateTable();
  proft.Open();
  EscribirProfesores(contexto.tablas.wwTableProfesor, proft);
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
