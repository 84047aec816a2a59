// The teacher export: the teachers without a leave date become PROFT, with distinct abbreviations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

class ProfesoresTest : public ExportacionTest {
 protected:
  // profesor with records of FBaja, Apenomprof, Departa and Dni.
  void PrepararProfesores(const Filas& filas) { Preparar("profesor", kProfesor, filas); }

  // Active teachers with the given names.
  void PrepararNombres(const std::vector<std::string>& nombres) {
    Filas filas;
    for (const std::string& nombre : nombres) filas.push_back({"", nombre, "", ""});
    PrepararProfesores(filas);
  }

  std::vector<std::string> Abreviaturas() {
    std::vector<std::string> abreviaturas;
    for (const Fila& fila : LeerIntercambio("PROFT", {"ABREV"})) abreviaturas.push_back(fila[0]);
    return abreviaturas;
  }
};

TEST_F(ProfesoresTest, ActiveTeachersBecomeRecordsWithDistinctAbbreviations) {
  PrepararProfesores({{"", "GARCIA PEREZ, ANA", "MATEMÁTICAS", "11111111"},
                      {"", "GALLEGO RUIZ, LUIS", "LENGUA", "22222222"},
                      {"", "LOPEZ DIAZ, EVA", "INGLÉS", "33333333"},
                      {"", "GAMEZ SOLER, PEDRO", "", "44444444"}});

  Ejecutar(exportacion::ExportarProfesores);

  EXPECT_EQ(LeerIntercambio("PROFT"), (Filas{{"GA", "GARCIA PEREZ, ANA", "MATEMÁTICAS", "11111111"},
                                             {"GA2", "GALLEGO RUIZ, LUIS", "LENGUA", "22222222"},
                                             {"LO", "LOPEZ DIAZ, EVA", "INGLÉS", "33333333"},
                                             {"GA3", "GAMEZ SOLER, PEDRO", "", "44444444"}}));
}

TEST_F(ProfesoresTest, RepeatedAbbreviationsTakeNumbersInStoredOrder) {
  struct Caso {
    std::string nombre;
    std::vector<std::string> nombres;
    std::vector<std::string> abreviaturas;
  };
  std::vector<std::string> once(11, "GARCIA");
  const std::vector<Caso> casos = {
      {"eleven", once, {"GA", "GA2", "GA3", "GA4", "GA5", "GA6", "GA7", "GA8", "GA9", "GA10", "GA11"}},
      {"case matters", {"Garcia", "GARCIA"}, {"Ga", "GA"}},
      {"one character", {"X", "X", "XA"}, {"X", "X2", "XA"}},
      {"empty names", {"", "", ""}, {"", "2", "3"}},
      {"characters, not bytes", {"ÑUÑEZ", "ÑUÑO", "ÁLVAREZ"}, {"ÑU", "ÑU2", "ÁL"}},
      // A number added to one teacher's abbreviation can meet another teacher's: the later rounds separate
      // them again.
      {"an added number meets another", {"A", "A", "A2B"}, {"A", "A2", "A22"}},
      {"an added number meets another later", {"A", "A", "A", "A2B"}, {"A", "A2", "A3", "A22"}},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    PrepararNombres(caso.nombres);
    Ejecutar(exportacion::ExportarProfesores);
    EXPECT_EQ(Abreviaturas(), caso.abreviaturas);
  }
}

TEST_F(ProfesoresTest, TheHundredthOfOneAbbreviationRepeatsTheTenth) {
  PrepararNombres(std::vector<std::string>(100, "GARCIA"));

  Ejecutar(exportacion::ExportarProfesores);

  std::vector<std::string> abreviaturas = Abreviaturas();
  ASSERT_EQ(abreviaturas.size(), 100u);
  EXPECT_EQ(abreviaturas[0], "GA");
  EXPECT_EQ(abreviaturas[1], "GA2");
  EXPECT_EQ(abreviaturas[9], "GA10");
  EXPECT_EQ(abreviaturas[10], "GA11");
  EXPECT_EQ(abreviaturas[98], "GA99");
  EXPECT_EQ(abreviaturas[99], "GA10");
}

TEST_F(ProfesoresTest, TeachersOnLeaveAreLeftOutWhenTheLeaveIsPastOrFuture) {
  PrepararProfesores({{"01/09/2020", "GARCIA PEREZ, ANA", "", "1"},
                      {"", "GALLEGO RUIZ, LUIS", "", "2"},
                      {"31/12/2099", "GAMEZ SOLER, PEDRO", "", "3"},
                      {"", "LOPEZ DIAZ, EVA", "", "4"}});

  Ejecutar(exportacion::ExportarProfesores);

  // GALLEGO keeps GA: the teachers on leave take no part in the abbreviations.
  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "NOMBRE", "DNI"}),
            (Filas{{"GA", "GALLEGO RUIZ, LUIS", "2"}, {"LO", "LOPEZ DIAZ, EVA", "4"}}));
}

TEST_F(ProfesoresTest, ATeacherWithoutIdentityNumberGetsZero) {
  PrepararProfesores({{"", "GARCIA PEREZ, ANA", "", ""}, {"", "LOPEZ DIAZ, EVA", "", "12345678"}});

  Ejecutar(exportacion::ExportarProfesores);

  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}), (Filas{{"GA", "0"}, {"LO", "12345678"}}));
}

TEST_F(ProfesoresTest, LongNamesAndDepartmentsAreCutToForty) {
  const std::string nombre = "GARCIA-VALDECASAS DE LA TORRE Y MONTALBAN, MARIA JOSEFA";  // 55 characters
  const std::string departamento = "DEPARTAMENTO DE GEOGRAFÍA E HISTORIA DEL ARTE";
  PrepararProfesores({{"", nombre, departamento, "7"}});

  Ejecutar(exportacion::ExportarProfesores);

  EXPECT_EQ(LeerIntercambio("PROFT"),
            (Filas{{"GA", "GARCIA-VALDECASAS DE LA TORRE Y MONTALBA", "DEPARTAMENTO DE GEOGRAFÍA E HISTORIA DEL", "7"}}));
}

TEST_F(ProfesoresTest, NoActiveTeacherGivesAnEmptyTable) {
  PrepararProfesores({{"01/09/2020", "GARCIA PEREZ, ANA", "", "1"}});
  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), kSinError);
  EXPECT_EQ(LeerIntercambio("PROFT"), Filas{});

  PrepararProfesores({});
  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), kSinError);
  EXPECT_EQ(LeerIntercambio("PROFT"), Filas{});
}

TEST_F(ProfesoresTest, AnIdentityNumberThatIsNotANumberEndsTheStepWithTheTeachersBeforeIt) {
  Preparar("profesor", kProfesorConDniDeTexto,
           {{"", "GARCIA PEREZ, ANA", "", "111"},
            {"", "GAMEZ SOLER, PEDRO", "", "222"},
            {"", "LOPEZ DIAZ, EVA", "", "X1"},
            {"", "PEREZ GIL, JUAN", "", "444"}});

  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), "'X1' no es un valor entero válido");

  // Posted as written: the abbreviations were not yet made distinct.
  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "NOMBRE", "DNI"}),
            (Filas{{"GA", "GARCIA PEREZ, ANA", "111"}, {"GA", "GAMEZ SOLER, PEDRO", "222"}}));
}

TEST_F(ProfesoresTest, TheIdentityNumberOfATeacherOnLeaveIsNotRead) {
  Preparar("profesor", kProfesorConDniDeTexto,
           {{"01/09/2020", "GARCIA PEREZ, ANA", "", "X1"}, {"", "LOPEZ DIAZ, EVA", "", "444"}});

  ASSERT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), kSinError);

  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}), (Filas{{"LO", "444"}}));
}

TEST_F(ProfesoresTest, AMissingFieldIsNamedAsTheStepAsksForIt) {
  Preparar("profesor", {{"FBAJA", DataType::ftDate}, {"APENOMPROF", DataType::ftString, 60}, {"DNI", DataType::ftInteger}},
           {{"", "GARCIA PEREZ, ANA", "1"}});

  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), "wwTableProfesor: No se encuentra el campo 'Departa'");
}

}  // namespace
}  // namespace exportacion_de_prueba
