// The subject export: asignat becomes ASIGVALT and ASIGNOMT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

class AsignaturasTest : public ExportacionTest {
 protected:
  // asignat with records of Codasig, Litresv, Vliteasig, Cliteasig and Horsemte.
  void PrepararAsignat(const Filas& filas) { Preparar("asignat", kAsignat, Reordenar(filas)); }

  // One subject with the given hours and nothing else of interest.
  void PrepararHoras(const std::vector<std::string>& horas) {
    Filas filas;
    for (std::size_t i = 0; i < horas.size(); ++i) {
      filas.push_back({"1ESO" + std::to_string(i), "A" + std::to_string(i), "V", "C", horas[i]});
    }
    PrepararAsignat(filas);
  }

  Filas Codigos(const std::string& tabla) { return LeerIntercambio(tabla, {"COD"}); }

 private:
  static Filas Reordenar(const Filas& filas) {
    Filas r;
    for (const Fila& f : filas) r.push_back({f[0], f[2], f[3], f[4], f[1]});
    return r;
  }
};

TEST_F(AsignaturasTest, ASubjectBecomesItsDictionaryRecordAndItsName) {
  PrepararAsignat({{"1ESOMAT", "MAT", "Matemàtiques", "Matemáticas", "04:00"}});

  Ejecutar(exportacion::ExportarAsignaturas, Idioma::kValenciano);

  EXPECT_EQ(LeerIntercambio("ASIGVALT"), (Filas{{"MAT", "MAT", "Matemàtiques", "1ESOMAT", "4", "ESO", "1"}}));
  EXPECT_EQ(LeerNumeros("ASIGVALT", "NHORAS"), std::vector<double>{4.0});
  EXPECT_EQ(LeerIntercambio("ASIGNOMT"), (Filas{{"MAT", "MAT", "Matemàtiques"}}));
}

// The language as the window reads it from the text of its language box.
TEST_F(AsignaturasTest, OnlyTheExactTextCastellanoChoosesTheCastilianNames) {
  struct Caso {
    std::string idioma;
    std::string nombre;
  };
  const std::vector<Caso> casos = {
      {"CASTELLANO", "Matemáticas"},  {"VALENCIÁ", "Matemàtiques"},    {"castellano", "Matemàtiques"},
      {"Castellano", "Matemàtiques"}, {"CASTELLANO ", "Matemàtiques"}, {" CASTELLANO", "Matemàtiques"},
      {"", "Matemàtiques"},           {"INGLÉS", "Matemàtiques"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("idioma '" + caso.idioma + "'");
    PrepararAsignat({{"1ESOMAT", "MAT", "Matemàtiques", "Matemáticas", "04:00"}});
    Ejecutar(exportacion::ExportarAsignaturas, exportacion::LeerIdioma(caso.idioma));
    EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD", "CODLARGO", "NOMBRE"}), (Filas{{"MAT", "MAT", caso.nombre}}));
    EXPECT_EQ(LeerIntercambio("ASIGNOMT"), (Filas{{"MAT", "MAT", caso.nombre}}));
  }
}

TEST_F(AsignaturasTest, WeeklyHoursComeFromTheFirstTwoCharactersOfTheHoursText) {
  struct Caso {
    char separador;
    std::string horsemte;
    double horas;
  };
  const std::vector<Caso> casos = {
      {',', "3", 3.0},    {',', "12", 12.0},  {',', "123", 12.0}, {',', "04:00", 4.0}, {',', "", 1.0},
      {',', "  ", 1.0},   {',', "00", 1.0},   {',', "0", 1.0},    {',', "-1", 1.0},    {',', "-5", 1.0},
      {',', "+7", 7.0},   {',', " 5", 5.0},   {',', "5 30", 5.0}, {',', "2,5", 2.0},   {',', "1,", 1.0},
      {'.', "2.5", 2.0},  {'.', "3", 3.0},    {'.', "", 1.0},     {'.', "00", 1.0},    {'.', "12", 12.0},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::string("separador '") + caso.separador + "', Horsemte '" + caso.horsemte + "'");
    SeparadorDecimal(caso.separador);
    PrepararHoras({caso.horsemte});
    ASSERT_EQ(ErrorAlEjecutar(exportacion::ExportarAsignaturas), kSinError);
    EXPECT_EQ(LeerNumeros("ASIGVALT", "NHORAS"), std::vector<double>{caso.horas});
  }
}

TEST_F(AsignaturasTest, EachSubjectTakesItsOwnHours) {
  PrepararHoras({"", "05", "  ", "3"});

  Ejecutar(exportacion::ExportarAsignaturas);

  EXPECT_EQ(LeerNumeros("ASIGVALT", "NHORAS"), (std::vector<double>{1.0, 5.0, 1.0, 3.0}));
}

TEST_F(AsignaturasTest, HoursThatAreNotANumberEndTheStepNamingTheirFirstTwoCharacters) {
  struct Caso {
    char separador;
    std::string horsemte;
    std::string mensaje;
  };
  const std::vector<Caso> casos = {
      {'.', "2,5", "'2,' no es un valor punto flotante válido"},
      {',', "2.5", "'2.' no es un valor punto flotante válido"},
      {',', "3:30", "'3:' no es un valor punto flotante válido"},
      {'.', "3:30", "'3:' no es un valor punto flotante válido"},
      {',', "ab", "'ab' no es un valor punto flotante válido"},
      {',', "4h", "'4h' no es un valor punto flotante válido"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::string("separador '") + caso.separador + "', Horsemte '" + caso.horsemte + "'");
    SeparadorDecimal(caso.separador);
    PrepararHoras({caso.horsemte});
    EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarAsignaturas), caso.mensaje);
  }
}

TEST_F(AsignaturasTest, AFailureKeepsTheSubjectsPostedBeforeItAndLeavesTheNamesEmpty) {
  PrepararIntercambio("ASIGNOMT", {{"COD", DataType::ftString, 4}}, {{"OLD"}});
  PrepararAsignat({{"1ESOMAT", "MAT", "Matemàtiques", "Matemáticas", "04"},
                   {"1ESOLEN", "LEN", "Llengua", "Lengua", "03"},
                   {"1ESOFIS", "FIS", "Física", "Física", "3:30"},
                   {"1ESOING", "ING", "Anglés", "Inglés", "02"}});

  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarAsignaturas), "'3:' no es un valor punto flotante válido");

  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD", "CODVALEN"}), (Filas{{"MAT", "1ESOMAT"}, {"LEN", "1ESOLEN"}}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT"), Filas{});
}

TEST_F(AsignaturasTest, AFailedStepRunsAgainOnceTheHoursAreCorrected) {
  PrepararAsignat({{"1ESOMAT", "MAT", "Matemàtiques", "Matemáticas", "3:30"}});
  ASSERT_NE(ErrorAlEjecutar(exportacion::ExportarAsignaturas), kSinError);

  PrepararAsignat({{"1ESOMAT", "MAT", "Matemàtiques", "Matemáticas", "03"}});
  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarAsignaturas), kSinError);

  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD", "NHORAS"}), (Filas{{"MAT", "3"}}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD"}), (Filas{{"MAT"}}));
}

TEST_F(AsignaturasTest, LevelAndCourseAreCutFromTheSubjectCode) {
  PrepararAsignat({{"1ESOMAT", "MAT", "V", "C", "1"},
                   {"2BA", "FIS", "V", "C", "1"},
                   {"1E", "LEN", "V", "C", "1"},
                   {"3", "ING", "V", "C", "1"},
                   {"", "REL", "V", "C", "1"}});

  Ejecutar(exportacion::ExportarAsignaturas);

  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"CODVALEN", "NIVEL", "CURSO"}),
            (Filas{{"1ESOMAT", "ESO", "1"}, {"2BA", "BA", "2"}, {"1E", "E", "1"}, {"3", "", "3"}, {"", "", ""}}));
}

TEST_F(AsignaturasTest, SubjectsSharingAShortCodeStaySeparateButGiveOneName) {
  PrepararAsignat({{"1ESOMAT", "MAT", "Matemàtiques I", "Matemáticas I", "4"},
                   {"1ESOLEN", "LEN", "Llengua", "Lengua", "3"},
                   {"2ESOMAT", "MAT", "Matemàtiques II", "Matemáticas II", "3"}});

  Ejecutar(exportacion::ExportarAsignaturas);

  // Subjects are not merged, in the stored order of asignat.
  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD", "CODVALEN"}),
            (Filas{{"MAT", "1ESOMAT"}, {"LEN", "1ESOLEN"}, {"MAT", "2ESOMAT"}}));
  // Each code once, in the order of the COD index, with the name of the first subject the index lists.
  Filas porCod = LeerIntercambio("ASIGVALT", {"COD", "CODLARGO", "NOMBRE"}, "COD");
  ASSERT_EQ(porCod.size(), 3u);
  EXPECT_EQ(porCod[0], (Fila{"LEN", "LEN", "Llengua"}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT"), (Filas{{"LEN", "LEN", "Llengua"}, porCod[1]}));
}

TEST_F(AsignaturasTest, NamesStandInShortCodeOrderWithTheLastCodeIncluded) {
  PrepararAsignat({{"1ESOMAT", "MAT", "V", "C", "1"},
                   {"1ESOLEN", "LEN", "V", "C", "1"},
                   {"1ESOZOO", "ZOO", "V", "C", "1"},
                   {"1ESOCIE", "CIE", "V", "C", "1"},
                   {"1ESOANG", "ANG", "V", "C", "1"}});

  Ejecutar(exportacion::ExportarAsignaturas);

  EXPECT_EQ(Codigos("ASIGNOMT"), (Filas{{"ANG"}, {"CIE"}, {"LEN"}, {"MAT"}, {"ZOO"}}));
}

TEST_F(AsignaturasTest, SubjectsWithoutAbbreviationShareOneEmptyName) {
  PrepararAsignat({{"1ESOTUT", "", "Tutoria", "Tutoría", "1"},
                   {"1ESOMAT", "MAT", "V", "C", "1"},
                   {"2ESOTUT", "", "Tutoria II", "Tutoría II", "1"}});

  Ejecutar(exportacion::ExportarAsignaturas);

  EXPECT_EQ(Codigos("ASIGVALT"), (Filas{{""}, {"MAT"}, {""}}));
  EXPECT_EQ(Codigos("ASIGNOMT"), (Filas{{""}, {"MAT"}}));
}

TEST_F(AsignaturasTest, TheStartingMarkOnlyHidesACodeEqualToItThatComesFirst) {
  struct Caso {
    std::string nombre;
    std::vector<std::string> abreviaturas;  // in stored order
    Filas nombres;
  };
  const std::vector<Caso> casos = {
      {"first in order", {"MAT", "@#$"}, {{"MAT"}}},
      {"twice and first", {"@#$", "MAT", "@#$"}, {{"MAT"}}},
      {"after the empty code", {"@#$", ""}, {{""}, {"@#$"}}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    Filas filas;
    for (std::size_t i = 0; i < caso.abreviaturas.size(); ++i) {
      filas.push_back({"1ESO" + std::to_string(i), caso.abreviaturas[i], "V", "C", "1"});
    }
    PrepararAsignat(filas);
    Ejecutar(exportacion::ExportarAsignaturas);
    EXPECT_EQ(LeerIntercambio("ASIGVALT").size(), caso.abreviaturas.size());
    EXPECT_EQ(Codigos("ASIGNOMT"), caso.nombres);
  }
}

TEST_F(AsignaturasTest, AnEmptyCatalogueGivesEmptyTablesInPlaceOfEarlierOnes) {
  PrepararAsignat({{"1ESOMAT", "MAT", "V", "C", "1"}});
  Ejecutar(exportacion::ExportarAsignaturas);
  PrepararAsignat({});

  Ejecutar(exportacion::ExportarAsignaturas);

  EXPECT_EQ(LeerIntercambio("ASIGVALT"), Filas{});
  EXPECT_EQ(LeerIntercambio("ASIGNOMT"), Filas{});
}

}  // namespace
}  // namespace exportacion_de_prueba
