// The export's sixth step: the distinct class groups of ESCOLAN's groups become GRUPOST, the distinct
// courses CURSOST, each in order of first occurrence.
#include <set>
#include <tuple>

#include "export/exportacion.h"
#include "export/pasos.h"
#include "run/rutas.h"

namespace exportacion {

void ExportarGrupos(ContextoExportacion& contexto) {
  using storage::DataType;
  BorrarTablaIntercambio(contexto.engine, run::kGrupost);
  storage::Table grupost(contexto.engine);
  DefinirTablaIntercambio(grupost, run::kGrupost,
                          {{"ABREV", DataType::ftString, 4}, {"TURNO", DataType::ftString, 1},
                           {"NIVEL", DataType::ftString, 5}, {"CURSO", DataType::ftString, 3},
                           {"GRUPO", DataType::ftString, 2}});
  grupost.CreateTable();
  grupost.Open();
  BorrarTablaIntercambio(contexto.engine, run::kCursost);
  storage::Table cursost(contexto.engine);
  DefinirTablaIntercambio(cursost, run::kCursost,
                          {{"ABREV", DataType::ftString, 3}, {"TURNO", DataType::ftString, 1},
                           {"NIVEL", DataType::ftString, 5}, {"CURSO", DataType::ftString, 3}});
  cursost.CreateTable();
  cursost.Open();

  // What each table holds, as its duplicate test reads it back; a group or course is new when its texts,
  // computed afresh, are not among them.
  std::set<std::tuple<std::string, std::string, std::string, std::string>> gruposEscritos;
  std::set<std::tuple<std::string, std::string, std::string>> cursosEscritos;
  storage::Table& grupos = contexto.tablas.grupos;
  AbiertaDurante abierta(grupos);
  for (grupos.First(); !grupos.Eof(); grupos.Next()) {
    std::string turno = grupos.AsString("Turno");
    CodigoGrupo grupo = CortarCodigoGrupo(grupos.AsString("Codgrup"));
    if (grupo.nivel.empty() || grupo.curso.empty()) continue;
    if (!gruposEscritos.contains({turno, grupo.nivel, grupo.curso, grupo.letra})) {
      grupost.Append();
      grupost.SetAsString("ABREV", AbreviaturaGrupo(grupo));
      grupost.SetAsString("TURNO", turno);
      grupost.SetAsString("NIVEL", grupo.nivel);
      grupost.SetAsString("CURSO", grupo.curso);
      grupost.SetAsString("GRUPO", grupo.letra);
      grupost.Post();
      gruposEscritos.emplace(ComoSeLee(turno, 1), ComoSeLee(grupo.nivel, 5), ComoSeLee(grupo.curso, 3),
                             ComoSeLee(grupo.letra, 2));
    }
    if (!cursosEscritos.contains({turno, grupo.nivel, grupo.curso})) {
      cursost.Append();
      cursost.SetAsString("ABREV", turno + Caracteres(grupo.nivel, 1, 1) + grupo.curso);
      cursost.SetAsString("TURNO", turno);
      cursost.SetAsString("NIVEL", grupo.nivel);
      cursost.SetAsString("CURSO", grupo.curso);
      cursost.Post();
      cursosEscritos.emplace(ComoSeLee(turno, 1), ComoSeLee(grupo.nivel, 5), ComoSeLee(grupo.curso, 3));
    }
  }
  grupost.Close();
  cursost.Close();
}

}  // namespace exportacion
