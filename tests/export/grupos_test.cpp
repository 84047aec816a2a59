// The group and course export: grupos becomes GRUPOST and CURSOST.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

class GruposTest : public ExportacionTest {
 protected:
  // grupos with records of Turno and Codgrup.
  void PrepararGrupos(const Filas& filas) { Preparar("grupos", kGrupos, filas); }
};

TEST_F(GruposTest, DistinctGroupsAndCoursesInOrderOfFirstOccurrence) {
  struct Caso {
    std::string nombre;
    Filas grupos;
    Filas grupost;  // ABREV, TURNO, NIVEL, CURSO, GRUPO
    Filas cursost;  // ABREV, TURNO, NIVEL, CURSO
  };
  const std::vector<Caso> casos = {
      {"one group", {{"M", "1ESOA"}}, {{"EO1A", "M", "ESO", "1", "A"}}, {{"ME1", "M", "ESO", "1"}}},
      {"two groups of one course",
       {{"M", "1ESOA"}, {"M", "1ESOB"}},
       {{"EO1A", "M", "ESO", "1", "A"}, {"EO1B", "M", "ESO", "1", "B"}},
       {{"ME1", "M", "ESO", "1"}}},
      {"one group code in two shifts",
       {{"M", "1ESOA"}, {"T", "1ESOA"}},
       {{"EO1A", "M", "ESO", "1", "A"}, {"EO1A", "T", "ESO", "1", "A"}},
       {{"ME1", "M", "ESO", "1"}, {"TE1", "T", "ESO", "1"}}},
      {"a group again",
       {{"M", "1ESOA"}, {"M", "1ESOB"}, {"M", "1ESOA"}},
       {{"EO1A", "M", "ESO", "1", "A"}, {"EO1B", "M", "ESO", "1", "B"}},
       {{"ME1", "M", "ESO", "1"}}},
      {"order of first occurrence",
       {{"M", "2BACA"}, {"T", "1ESOA"}, {"M", "2BACB"}, {"T", "1ESOB"}},
       {{"BC2A", "M", "BAC", "2", "A"},
        {"EO1A", "T", "ESO", "1", "A"},
        {"BC2B", "M", "BAC", "2", "B"},
        {"EO1B", "T", "ESO", "1", "B"}},
       {{"MB2", "M", "BAC", "2"}, {"TE1", "T", "ESO", "1"}}},
      {"codes too short to cut", {{"M", ""}, {"M", "1"}, {"T", "2"}}, {}, {}},
      {"codes too short among others",
       {{"M", "1"}, {"M", "1ESOA"}, {"M", ""}},
       {{"EO1A", "M", "ESO", "1", "A"}},
       {{"ME1", "M", "ESO", "1"}}},
      {"four characters", {{"M", "1ESO"}}, {{"EO1O", "M", "ESO", "1", "O"}}, {{"ME1", "M", "ESO", "1"}}},
      {"three characters", {{"M", "2BA"}}, {{"B2A", "M", "BA", "2", "A"}}, {{"MB2", "M", "BA", "2"}}},
      {"two characters", {{"M", "1E"}}, {{"E1E", "M", "E", "1", "E"}}, {{"ME1", "M", "E", "1"}}},
      {"no shift",
       {{"", "1ESOA"}, {"", "1ESOB"}},
       {{"EO1A", "", "ESO", "1", "A"}, {"EO1B", "", "ESO", "1", "B"}},
       {{"E1", "", "ESO", "1"}}},
      {"case matters",
       {{"M", "1esoa"}, {"M", "1ESOA"}},
       {{"eo1a", "M", "eso", "1", "a"}, {"EO1A", "M", "ESO", "1", "A"}},
       {{"Me1", "M", "eso", "1"}, {"ME1", "M", "ESO", "1"}}},
      // What was written reads back without its trailing blank, so a level ending in one never matches
      // an earlier record, while a level without the blank matches what it left.
      {"a level ending in a blank",
       {{"M", "1ES"}, {"M", "1ES A"}, {"M", "1ES A"}, {"M", "1ES"}},
       {{"E1S", "M", "ES", "1", "S"}, {"E 1A", "M", "ES", "1", "A"}, {"E 1A", "M", "ES", "1", "A"}},
       {{"ME1", "M", "ES", "1"}, {"ME1", "M", "ES", "1"}, {"ME1", "M", "ES", "1"}}},
      {"no groups", {}, {}, {}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    PrepararGrupos(caso.grupos);
    Ejecutar(exportacion::ExportarGrupos);
    EXPECT_EQ(LeerIntercambio("GRUPOST"), caso.grupost);
    EXPECT_EQ(LeerIntercambio("CURSOST"), caso.cursost);
  }
}

}  // namespace
}  // namespace exportacion_de_prueba
