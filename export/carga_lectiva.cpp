// The export's last step: each distinct subject, teacher and group of ESCOLAN's group timetable becomes
// one ASIGT record, with the subject's short code and weekly hours and the teacher's abbreviation.
#include <set>
#include <tuple>

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

}  // namespace

void ExportarCargaLectiva(ContextoExportacion& contexto) {
  BorrarTablaIntercambio(run::kAsigt);
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
  run::PrimerRegistro<std::string> asignaturas(asigvalt, Codvalen);
  run::PrimerRegistro<std::int32_t> profesores(proft, Dni);

  // The subject, teacher and group of each record written, as the duplicate test reads them back.
  std::set<std::tuple<std::string, std::string, std::string>> escritos;
  storage::Table& horgrup = contexto.tablas.wwTableHorGrup;
  AbiertaDurante abierta(horgrup);
  for (horgrup.First(); !horgrup.Eof(); horgrup.Next()) {
    CodigoGrupo grupo = CortarCodigoGrupo(horgrup.AsString("Codgrup"));
    std::string abreviaturaGrupo = AbreviaturaGrupo(grupo);
    Asignatura asignatura;
    if (asignaturas.Buscar(std::string(SinBlancosNiControles(horgrup.AsString("Codasig"))))) {
      asignatura = {asigvalt.AsString("COD"), asigvalt.AsFloat("NHORAS"), asigvalt.AsInteger("NHORAS")};
    }
    std::string profesor;
    if (profesores.Buscar(horgrup.AsInteger("Dni"))) profesor = proft.AsString("ABREV");
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
