// The export's fourth step: the students with a group become ALUMNOST, each with up to 50 subjects from
// their enrolments, translated to short codes through ASIGVALT.
#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"
#include "storage/code_page.h"

namespace exportacion {
namespace {

using storage::DataType;

constexpr int kAsignaturas = 50;

void CrearAlumnost(storage::Table& alumnost) {
  std::vector<Campo> campos = {{"EXPED", DataType::ftString, 20}, {"NOMBRE", DataType::ftString, 50},
                               {"TURNO", DataType::ftString, 1},  {"NIVEL", DataType::ftString, 5},
                               {"CURSO", DataType::ftString, 3},  {"GRUPO", DataType::ftString, 2},
                               {"OPCION", DataType::ftString, 1}, {"REPITE", DataType::ftBoolean, 0}};
  DefinirTablaIntercambio(alumnost, run::kAlumnost, campos);
  for (int n = 1; n <= kAsignaturas; ++n) {
    alumnost.AddFieldDef("ASIG" + std::to_string(n), DataType::ftString, 4);
    alumnost.AddFieldDef("DIV" + std::to_string(n), DataType::ftString, 1);
  }
  alumnost.CreateTable();
}

// "Codigo= '<code padded to 10>'", with quotes in the code doubled.
std::string FiltroDeAlumno(const std::string& codigo) {
  std::string relleno = codigo;
  std::size_t caracteres = storage::CharacterCount(codigo);
  if (caracteres < 10) relleno.append(10 - caracteres, ' ');
  std::string citado;
  for (char c : relleno) citado += c == '\'' ? std::string("''") : std::string(1, c);
  return "Codigo= '" + citado + "'";
}

// The student's enrolments found in ASIGVALT fill ASIG1, ASIG2, ... in enrolment order; the 51st found
// subject has no field to go to, which ends the step with the table layer's error.
void EscribirAsignaturasDelAlumno(storage::Table& asigalum, storage::Table& asigvalt, storage::Table& alumnost) {
  asigalum.Close();
  asigalum.SetFiltered(false);
  asigalum.SetFilter(FiltroDeAlumno(alumnost.AsString("EXPED")));
  asigalum.SetFiltered(true);
  asigalum.Open();
  int n = 1;
  for (asigalum.First(); !asigalum.Eof(); asigalum.Next()) {
    if (!asigvalt.FindKey(asigalum.AsString("Codasig"))) continue;
    alumnost.SetAsString("ASIG" + std::to_string(n), asigvalt.AsString("COD"));
    alumnost.SetAsString("DIV" + std::to_string(n), "");
    ++n;
  }
}

}  // namespace

void ExportarAlumnos(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(run::kAlumnost);
  storage::Table alumnost(contexto.engine);
  CrearAlumnost(alumnost);
  storage::Table asigvalt(contexto.engine);
  DirigirAIntercambio(asigvalt, run::kAsigvalt);
  asigvalt.SetIndexName("CODVALEN");
  asigvalt.Open();
  alumnost.Open();
  storage::Table& alumnos = contexto.tablas.wwTableAlumnos;
  storage::Table& asigalum = contexto.tablas.wwTableAsigAlum;
  AbiertaDurante alumnosAbierta(alumnos);
  AbiertaDurante asigalumAbierta(asigalum);
  for (alumnos.First(); !alumnos.Eof(); alumnos.Next()) {
    CodigoGrupo grupo = CortarCodigoGrupo(alumnos.AsString("Codgrup"));
    if (grupo.nivel.empty() || grupo.curso.empty()) continue;
    alumnost.Append();
    alumnost.SetAsString("TURNO", "");
    alumnost.SetAsString("EXPED", alumnos.AsString("Codigo"));
    alumnost.SetAsString("NOMBRE", alumnos.AsString("Apenom"));
    alumnost.SetAsString("NIVEL", grupo.nivel);
    alumnost.SetAsString("CURSO", grupo.curso);
    alumnost.SetAsString("GRUPO", grupo.letra);
    alumnost.SetAsString("OPCION", "");
    alumnost.SetAsBoolean("REPITE", alumnos.AsInteger("Repite") == 1);
    EscribirAsignaturasDelAlumno(asigalum, asigvalt, alumnost);
    alumnost.Post();
  }
}

}  // namespace exportacion
