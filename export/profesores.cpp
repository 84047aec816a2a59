// The export's second step: the teachers without a leave date become PROFT, each with an abbreviation
// of the first two characters of the name, made distinct by numbers added to repeated ones.
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

// Every record against every other: each later record with the same abbreviation gets the counter added
// (2, 3, ...), starting again at 2 for every outer record. A change is posted at once and seen by both
// cursors, so the first of a set keeps its abbreviation and the others take 2, 3 and so on in stored order.
void DistinguirAbreviaturas(storage::Table& exterior, storage::Table& interior) {
  for (exterior.First(); !exterior.Eof(); exterior.Next()) {
    // The inner cursor never changes the outer record, so its abbreviation holds for the whole inner walk.
    std::string abreviatura = exterior.AsString("ABREV");
    int contador = 2;
    for (interior.First(); !interior.Eof(); interior.Next()) {
      if (interior.RecNo() == exterior.RecNo() || interior.AsString("ABREV") != abreviatura) continue;
      interior.Edit();
      interior.SetAsString("ABREV", interior.AsString("ABREV") + std::to_string(contador));
      interior.Post();
      ++contador;
    }
  }
}

}  // namespace

void ExportarProfesores(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(run::kProft);
  storage::Table proft(contexto.engine);
  DefinirTablaIntercambio(proft, run::kProft,
                          {{"ABREV", DataType::ftString, 4}, {"NOMBRE", DataType::ftString, 40},
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
}

}  // namespace exportacion
