// The export's fourth step: the students with a group become ALUMNOST, each with up to 50 subjects from
// their enrolments, translated to short codes through ASIGVALT.
#include <optional>
#include <unordered_map>

#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"
#include "storage/code_page.h"

namespace exportacion {
namespace {

using storage::DataType;

constexpr int kAsignaturas = kAsignaturasPorAlumno;

// The names of the subject fields by number, "ASIG1" and "DIV1" to those of the 51st subject, which the
// table does not have: made once, not once per subject written.
struct CamposDeAsignatura {
  CamposDeAsignatura() {
    for (int n = 0; n <= kAsignaturas + 1; ++n) {
      asig.push_back(CampoAsignatura(n));
      div.push_back("DIV" + std::to_string(n));
    }
  }
  std::vector<std::string> asig;
  std::vector<std::string> div;
};

void CrearAlumnost(storage::Table& alumnost) {
  std::vector<Campo> campos = {{"EXPED", DataType::ftString, 20}, {"NOMBRE", DataType::ftString, 50},
                               {"TURNO", DataType::ftString, 1},  {"NIVEL", DataType::ftString, 5},
                               {"CURSO", DataType::ftString, 3},  {"GRUPO", DataType::ftString, 2},
                               {"OPCION", DataType::ftString, 1}, {"REPITE", DataType::ftBoolean, 0}};
  DefinirTablaIntercambio(alumnost, run::kAlumnost, campos);
  for (int n = 1; n <= kAsignaturas; ++n) {
    alumnost.AddFieldDef(CampoAsignatura(n), DataType::ftString, 4);
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

// The short code that ASIGVALT's CODVALEN index finds for each of ESCOLAN's subject codes, or none, found
// once per code: ASIGVALT does not change during the step, and students share their subjects.
class CodigosCortos {
 public:
  explicit CodigosCortos(storage::Table& asigvalt) : asigvalt_(asigvalt) {}

  const std::optional<std::string>& De(const std::string& codasig) {
    auto [encontrado, nuevo] = vistos_.try_emplace(codasig);
    if (nuevo && asigvalt_.FindKey(codasig)) encontrado->second = asigvalt_.AsString("COD");
    return encontrado->second;
  }

 private:
  storage::Table& asigvalt_;
  std::unordered_map<std::string, std::optional<std::string>> vistos_;
};

// The student's enrolments found in ASIGVALT fill ASIG1, ASIG2, ... in enrolment order; the 51st found
// subject has no field to go to, which ends the step with the table layer's error. asigalum stays open: its
// new filter applies at once.
void EscribirAsignaturasDelAlumno(storage::Table& asigalum, CodigosCortos& codigos, const CamposDeAsignatura& campos,
                                  storage::Table& alumnost) {
  asigalum.SetFiltered(false);
  asigalum.SetFilter(FiltroDeAlumno(alumnost.AsString("EXPED")));
  asigalum.SetFiltered(true);
  int n = 1;
  for (asigalum.First(); !asigalum.Eof(); asigalum.Next()) {
    const std::optional<std::string>& cod = codigos.De(asigalum.AsString("Codasig"));
    if (!cod) continue;
    alumnost.SetAsString(campos.asig[n], *cod);
    alumnost.SetAsString(campos.div[n], "");
    ++n;
  }
}

}  // namespace

void ExportarAlumnos(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(contexto.engine, run::kAlumnost);
  storage::Table alumnost(contexto.engine);
  CrearAlumnost(alumnost);
  storage::Table asigvalt(contexto.engine);
  DirigirAIntercambio(asigvalt, run::kAsigvalt);
  asigvalt.SetIndexName("CODVALEN");
  asigvalt.Open();
  alumnost.Open();
  storage::Table& alumnos = contexto.tablas.alumnos;
  storage::Table& asigalum = contexto.tablas.asigalum;
  AbiertaDurante alumnosAbierta(alumnos);
  AbiertaDurante asigalumAbierta(asigalum);
  CodigosCortos codigos(asigvalt);
  const CamposDeAsignatura campos;
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
    EscribirAsignaturasDelAlumno(asigalum, codigos, campos, alumnost);
    alumnost.Post();
  }
  alumnost.Close();
  asigvalt.Close();
}

}  // namespace exportacion
