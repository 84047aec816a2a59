// The export's last step: each distinct subject, teacher and group of ESCOLAN's group timetable becomes
// one ASIGT record, with the subject's short code and weekly hours and the teacher's abbreviation.
#include <set>
#include <tuple>
#include <unordered_map>

#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/primer_registro.h"
#include "run/rutas.h"

namespace exportacion {
namespace {

using storage::DataType;

struct Asignatura {
  std::string cod;
  double horas = 1.0;
  int repeticiones = 1;
};

std::string Codvalen(storage::Table& asigvalt) { return asigvalt.AsString("CODVALEN"); }
std::int32_t Dni(storage::Table& proft) { return proft.AsInteger("DNI"); }

// What ASIGVALT and PROFT give for each subject code and identity number, looked up once per value: neither
// table changes during the step, and horgrup names the same few over and over.
class Busquedas {
 public:
  Busquedas(storage::Table& asigvalt, storage::Table& proft)
      : asigvalt_(asigvalt), proft_(proft), asignaturas_(asigvalt, Codvalen), profesores_(proft, Dni) {}

  // The subject whose CODVALEN is `codigo`, or the defaults when none is.
  const Asignatura& AsignaturaDe(const std::string& codigo) {
    auto [encontrada, nueva] = asignaturasVistas_.try_emplace(codigo);
    if (nueva && asignaturas_.Buscar(codigo)) {
      encontrada->second = {asigvalt_.AsString("COD"), asigvalt_.AsFloat("NHORAS"), asigvalt_.AsInteger("NHORAS")};
    }
    return encontrada->second;
  }

  // The abbreviation of the teacher with this identity number, or empty when none has it.
  const std::string& ProfesorDe(std::int32_t dni) {
    auto [encontrado, nuevo] = profesoresVistos_.try_emplace(dni);
    if (nuevo && profesores_.Buscar(dni)) encontrado->second = proft_.AsString("ABREV");
    return encontrado->second;
  }

 private:
  storage::Table& asigvalt_;
  storage::Table& proft_;
  run::PrimerRegistro<std::string> asignaturas_;
  run::PrimerRegistro<std::int32_t> profesores_;
  std::unordered_map<std::string, Asignatura> asignaturasVistas_;
  std::unordered_map<std::int32_t, std::string> profesoresVistos_;
};

}  // namespace

void ExportarCargaLectiva(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(contexto.engine, run::kAsigt);
  storage::Table asigt(contexto.engine);
  DefinirTablaIntercambio(asigt, run::kAsigt,
                          {{"CASIG", DataType::ftString, 4}, {"CPROF", DataType::ftString, 4},
                           {"CGRUP", DataType::ftString, 4}, {"CAULA", DataType::ftString, 4},
                           {"TURNO", DataType::ftString, 1}, {"NIVEL", DataType::ftString, 5},
                           {"CURSO", DataType::ftString, 3}, {"GRUPO", DataType::ftString, 2},
                           {"HORAS", DataType::ftFloat, 0}, {"SESIONES", DataType::ftString, 20}});
  asigt.CreateTable();
  asigt.Open();
  storage::Table asigvalt(contexto.engine);
  DirigirAIntercambio(asigvalt, run::kAsigvalt);
  asigvalt.Open();
  storage::Table proft(contexto.engine);
  DirigirAIntercambio(proft, run::kProft);
  proft.Open();
  Busquedas busquedas(asigvalt, proft);

  // The subject, teacher and group of each record written, as the duplicate test reads them back.
  std::set<std::tuple<std::string, std::string, std::string>, std::less<>> escritos;
  storage::Table& horgrup = contexto.tablas.wwTableHorGrup;
  AbiertaDurante abierta(horgrup);
  for (horgrup.First(); !horgrup.Eof(); horgrup.Next()) {
    CodigoGrupo grupo = CortarCodigoGrupo(horgrup.AsString("Codgrup"));
    std::string abreviaturaGrupo = AbreviaturaGrupo(grupo);
    const Asignatura& asignatura =
        busquedas.AsignaturaDe(std::string(SinBlancosNiControles(horgrup.AsString("Codasig"))));
    const std::string& profesor = busquedas.ProfesorDe(horgrup.AsInteger("Dni"));
    if (escritos.contains(std::tie(asignatura.cod, profesor, abreviaturaGrupo))) continue;

    asigt.Append();
    asigt.SetAsString("CASIG", asignatura.cod);
    asigt.SetAsString("CPROF", profesor);
    asigt.SetAsString("CAULA", "");
    asigt.SetAsString("CGRUP", abreviaturaGrupo);
    asigt.SetAsString("TURNO", "");
    asigt.SetAsString("NIVEL", grupo.nivel);
    asigt.SetAsString("CURSO", grupo.curso);
    asigt.SetAsString("GRUPO", grupo.letra);
    asigt.SetAsFloat("HORAS", asignatura.horas);
    asigt.SetAsString("SESIONES", std::string(static_cast<std::size_t>(std::max(asignatura.repeticiones, 0)), '1'));
    asigt.Post();
    escritos.emplace(ComoSeLee(asignatura.cod, 4), ComoSeLee(profesor, 4), ComoSeLee(abreviaturaGrupo, 4));
  }
  asigt.Close();
  asigvalt.Close();
  proft.Close();
}

}  // namespace exportacion
