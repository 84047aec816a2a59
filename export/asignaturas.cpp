// The export's first step: ESCOLAN's subject catalogue becomes ASIGVALT (the dictionary from ESCOLAN's
// subject code to the generator's short code) and ASIGNOMT (one name per short code).
#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"

namespace exportacion {
namespace {

using storage::DataType;

void EscribirAsignatura(storage::Table& asignat, storage::Table& asigvalt, Idioma idioma, char separadorDecimal) {
  asigvalt.Append();
  asigvalt.SetAsString("COD", asignat.AsString("Litresv"));
  asigvalt.SetAsString("CODLARGO", asignat.AsString("Litresv"));
  asigvalt.SetAsString("NOMBRE", asignat.AsString(CampoNombreAsignatura(idioma)));
  asigvalt.SetAsString("CODVALEN", asignat.AsString("Codasig"));
  asigvalt.SetAsFloat("NHORAS", HorasSemanales(asignat.AsString("Horsemte"), separadorDecimal));
  asigvalt.SetAsString("NIVEL", Caracteres(asignat.AsString("Codasig"), 2, 3));
  asigvalt.SetAsString("CURSO", Caracteres(asignat.AsString("Codasig"), 1, 1));
  asigvalt.Post();
}

// One ASIGNOMT record per distinct short code, from the first subject with that code in COD order.
// The previous code starts as "@#$", a text no short code is meant to be, so the first record always
// counts as new; a short code that really is "@#$" and sorts first gets no name record, as in the
// ASIGNOMT tables this step has always written.
void EscribirNombres(storage::Table& asigvalt, storage::Table& asignomt) {
  std::string anterior = "@#$";
  for (asigvalt.First(); !asigvalt.Eof(); asigvalt.Next()) {
    std::string cod = asigvalt.AsString("COD");
    if (cod == anterior) continue;
    anterior = cod;
    asignomt.Append();
    for (const char* campo : {"COD", "CODLARGO", "NOMBRE"}) asignomt.SetAsString(campo, asigvalt.AsString(campo));
    asignomt.Post();
  }
}

}  // namespace

void ExportarAsignaturas(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(contexto.engine, run::kAsignomt);
  storage::Table asigvalt(contexto.engine);
  DefinirTablaIntercambio(asigvalt, run::kAsigvalt,
                          {{"COD", DataType::ftString, 4}, {"CODLARGO", DataType::ftString, 8},
                           {"NOMBRE", DataType::ftString, 40}, {"CODVALEN", DataType::ftString, 10},
                           {"NHORAS", DataType::ftFloat, 0}, {"NIVEL", DataType::ftString, 5},
                           {"CURSO", DataType::ftString, 3}},
                          {"COD", "CODVALEN"});
  asigvalt.CreateTable();
  storage::Table asignomt(contexto.engine);
  DefinirTablaIntercambio(asignomt, run::kAsignomt,
                          {{"COD", DataType::ftString, 4}, {"CODLARGO", DataType::ftString, 8},
                           {"NOMBRE", DataType::ftString, 40}});
  asignomt.CreateTable();

  asignomt.Open();
  asigvalt.Open();
  {
    storage::Table& asignat = contexto.tablas.asignat;
    AbiertaDurante abierta(asignat);
    for (asignat.First(); !asignat.Eof(); asignat.Next()) {
      EscribirAsignatura(asignat, asigvalt, contexto.idioma, contexto.engine.DecimalSeparator());
    }
  }
  asigvalt.Close();
  asigvalt.SetIndexName("COD");
  asigvalt.Open();
  EscribirNombres(asigvalt, asignomt);
  asignomt.Close();
  asigvalt.Close();
}

}  // namespace exportacion
