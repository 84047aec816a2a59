// The export's last step: each distinct subject, teacher and group of ESCOLAN's group timetable becomes
// one ASIGT record, with the subject's short code and weekly hours and the teacher's abbreviation.
#include <set>
#include <tuple>
#include <unordered_map>

#include "export/exportacion.h"
#include "export/pasos.h"

namespace exportacion {
namespace {

using storage::DataType;

struct Asignatura {
  std::string cod;
  double horas = 1.0;
  int repeticiones = 1;
};

// ASIGVALT by ESCOLAN's subject code, keeping the first record of each code in stored order (what a scan
// from the first record finds).
std::unordered_map<std::string, Asignatura> AsignaturasPorCodigo(storage::Engine& engine) {
  storage::Table asigvalt(engine);
  asigvalt.SetDatabaseName("C:\\HTEMP");
  asigvalt.SetTableName("ASIGVALT.DBF");
  asigvalt.SetTableType(storage::TableType::ttDBase);
  asigvalt.Open();
  std::unordered_map<std::string, Asignatura> porCodigo;
  for (asigvalt.First(); !asigvalt.Eof(); asigvalt.Next()) {
    porCodigo.try_emplace(asigvalt.AsString("CODVALEN"),
                          Asignatura{asigvalt.AsString("COD"), asigvalt.AsFloat("NHORAS"), asigvalt.AsInteger("NHORAS")});
  }
  return porCodigo;
}

// PROFT's abbreviations by identity number, keeping the first teacher of each number in stored order.
std::unordered_map<std::int32_t, std::string> AbreviaturasPorDni(storage::Engine& engine) {
  storage::Table proft(engine);
  proft.SetDatabaseName("C:\\HTEMP");
  proft.SetTableName("PROFT.DBF");
  proft.SetTableType(storage::TableType::ttDBase);
  proft.Open();
  std::unordered_map<std::int32_t, std::string> porDni;
  for (proft.First(); !proft.Eof(); proft.Next()) porDni.try_emplace(proft.AsInteger("DNI"), proft.AsString("ABREV"));
  return porDni;
}

}  // namespace

void ExportarCargaLectiva(ContextoExportacion& contexto) {
  BorrarTablaIntercambio("ASIGT");
  storage::Table asigt(contexto.engine);
  DefinirTablaIntercambio(asigt, "ASIGT.DBF",
                          {{"CASIG", DataType::ftString, 4}, {"CPROF", DataType::ftString, 4},
                           {"CGRUP", DataType::ftString, 4}, {"CAULA", DataType::ftString, 4},
                           {"TURNO", DataType::ftString, 1}, {"NIVEL", DataType::ftString, 5},
                           {"CURSO", DataType::ftString, 3}, {"GRUPO", DataType::ftString, 2},
                           {"HORAS", DataType::ftFloat, 0}, {"SESIONES", DataType::ftString, 20}});
  asigt.CreateTable();
  asigt.Open();
  auto asignaturas = AsignaturasPorCodigo(contexto.engine);
  auto profesores = AbreviaturasPorDni(contexto.engine);

  // The subject, teacher and group of each record written, as the duplicate test reads them back.
  std::set<std::tuple<std::string, std::string, std::string>> escritos;
  storage::Table& horgrup = contexto.tablas.wwTableHorGrup;
  AbiertaDurante abierta(horgrup);
  for (horgrup.First(); !horgrup.Eof(); horgrup.Next()) {
    CodigoGrupo grupo = CortarCodigoGrupo(horgrup.AsString("Codgrup"));
    std::string abreviaturaGrupo = AbreviaturaGrupo(grupo);
    Asignatura asignatura;
    auto encontrada = asignaturas.find(std::string(SinBlancosNiControles(horgrup.AsString("Codasig"))));
    if (encontrada != asignaturas.end()) asignatura = encontrada->second;
    std::string profesor;
    auto encontrado = profesores.find(horgrup.AsInteger("Dni"));
    if (encontrado != profesores.end()) profesor = encontrado->second;
    if (escritos.contains({asignatura.cod, profesor, abreviaturaGrupo})) continue;

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
}

}  // namespace exportacion
