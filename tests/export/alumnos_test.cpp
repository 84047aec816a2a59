// The student export: alumnos and their enrolments in asigalum become ALUMNOST.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

class AlumnosTest : public ExportacionTest {
 protected:
  AlumnosTest() {
    PrepararAsigvalt({{"1ESOMAT", "MAT", "4", "ESO", "1"},
                      {"1ESOLEN", "LEN", "3", "ESO", "1"},
                      {"1ESOING", "ING", "3", "ESO", "1"},
                      {"1ESOEF", "EF", "2", "ESO", "1"}});
  }

  // alumnos with records of Apenom, Codigo, Codgrup and Repite.
  void PrepararAlumnos(const Filas& filas) { Preparar("alumnos", kAlumnos, filas); }

  // asigalum with records of Codigo and Codasig.
  void PrepararMatriculas(const Filas& filas) { Preparar("asigalum", kAsigalum, filas); }

  // The 50 subject slots of each record: the codes given, then empty ones.
  static std::vector<std::string> Ranuras(std::vector<std::string> codigos) {
    codigos.resize(50);
    return codigos;
  }

  std::vector<std::string> CamposDe(const char* prefijo) {
    std::vector<std::string> campos;
    for (int n = 1; n <= 50; ++n) campos.push_back(prefijo + std::to_string(n));
    return campos;
  }

  // Each student's code with its 50 subject slots.
  std::map<std::string, std::vector<std::string>> AsignaturasPorAlumno() {
    std::vector<std::string> campos = CamposDe("ASIG");
    campos.insert(campos.begin(), "EXPED");
    std::map<std::string, std::vector<std::string>> porAlumno;
    for (const Fila& fila : LeerIntercambio("ALUMNOST", campos)) porAlumno[fila[0]] = Fila(fila.begin() + 1, fila.end());
    return porAlumno;
  }

  std::vector<std::string> Expedientes() {
    std::vector<std::string> expedientes;
    for (const Fila& fila : LeerIntercambio("ALUMNOST", {"EXPED"})) expedientes.push_back(fila[0]);
    return expedientes;
  }
};

TEST_F(AlumnosTest, AStudentBecomesARecordWithTheShortCodesOfTheirSubjects) {
  PrepararAlumnos({{"PÉREZ GIL, ANA", "1234", "1ESOA", "1"},
                   {"ROCA MAS, JOAN", "123", "1ESOB", "0"},
                   {"SOLER PONS, EVA", "12", "1ESOB", "0"}});
  PrepararMatriculas({{"1234", "1ESOING"},
                      {"123", "1ESOEF"},
                      {"1234", "1ESOMAT"},
                      {"12", "1ESOLEN"},
                      {"1234", "1ESOLEN"}});

  Ejecutar(exportacion::ExportarAlumnos);

  Filas alumnos = LeerIntercambio("ALUMNOST", {"EXPED", "NOMBRE", "TURNO", "NIVEL", "CURSO", "GRUPO", "OPCION", "REPITE"});
  EXPECT_EQ(alumnos, (Filas{{"1234", "PÉREZ GIL, ANA", "", "ESO", "1", "A", "", "T"},
                            {"123", "ROCA MAS, JOAN", "", "ESO", "1", "B", "", "F"},
                            {"12", "SOLER PONS, EVA", "", "ESO", "1", "B", "", "F"}}));
  auto porAlumno = AsignaturasPorAlumno();
  EXPECT_EQ(porAlumno["1234"], Ranuras({"ING", "MAT", "LEN"}));
  EXPECT_EQ(porAlumno["123"], Ranuras({"EF"}));
  EXPECT_EQ(porAlumno["12"], Ranuras({"LEN"}));
  for (const Fila& divisiones : LeerIntercambio("ALUMNOST", CamposDe("DIV"))) {
    EXPECT_EQ(divisiones, Ranuras({}));
  }
}

TEST_F(AlumnosTest, OnlyARepeatFlagOfOneMarksARepeater) {
  PrepararAlumnos({{"A", "1", "1ESOA", "1"},
                   {"B", "2", "1ESOA", "0"},
                   {"C", "3", "1ESOA", "2"},
                   {"D", "4", "1ESOA", ""},
                   {"E", "5", "1ESOA", "-1"}});
  PrepararMatriculas({});

  Ejecutar(exportacion::ExportarAlumnos);

  EXPECT_EQ(LeerIntercambio("ALUMNOST", {"EXPED", "REPITE"}),
            (Filas{{"1", "T"}, {"2", "F"}, {"3", "F"}, {"4", "F"}, {"5", "F"}}));
}

TEST_F(AlumnosTest, TheGroupCodeGivesLevelCourseAndLetterAndShortCodesLeaveTheStudentOut) {
  PrepararAlumnos({{"A", "1", "1ESOA", "0"},
                   {"B", "2", "", "0"},
                   {"C", "3", "2BA", "0"},
                   {"D", "4", "1", "0"},
                   {"E", "5", "1ESO", "0"},
                   {"F", "6", "1E", "0"}});
  // The subjects of a student left out are not read: 51 of them end nothing.
  Filas matriculas;
  for (int i = 0; i < 51; ++i) matriculas.push_back({"4", "1ESOMAT"});
  matriculas.push_back({"6", "1ESOLEN"});
  PrepararMatriculas(matriculas);

  ASSERT_EQ(ErrorAlEjecutar(exportacion::ExportarAlumnos), kSinError);

  EXPECT_EQ(LeerIntercambio("ALUMNOST", {"EXPED", "NIVEL", "CURSO", "GRUPO", "ASIG1"}),
            (Filas{{"1", "ESO", "1", "A", ""},
                   {"3", "BA", "2", "A", ""},
                   {"5", "ESO", "1", "O", ""},
                   {"6", "E", "1", "E", "LEN"}}));
}

TEST_F(AlumnosTest, SubjectsMissingFromTheDictionaryTakeNoSlot) {
  PrepararAlumnos({{"A", "1", "1ESOA", "0"},
                   {"B", "2", "1ESOA", "0"},
                   {"C", "3", "1ESOA", "0"},
                   {"D", "4", "1ESOA", "0"}});
  PrepararMatriculas({{"1", "1ESOMAT"},
                      {"1", "2BACFIS"},
                      {"1", "1ESOLEN"},
                      {"2", "2BACFIS"},
                      // Compared as they stand: a leading blank or another case finds nothing.
                      {"3", " 1ESOMAT"},
                      {"3", "1esomat"},
                      {"3", "1ESOEF"}});

  Ejecutar(exportacion::ExportarAlumnos);

  auto porAlumno = AsignaturasPorAlumno();
  EXPECT_EQ(porAlumno["1"], Ranuras({"MAT", "LEN"}));
  EXPECT_EQ(porAlumno["2"], Ranuras({}));
  EXPECT_EQ(porAlumno["3"], Ranuras({"EF"}));
  EXPECT_EQ(porAlumno["4"], Ranuras({}));
}

TEST_F(AlumnosTest, TheSameSubjectTwiceFillsTwoSlots) {
  PrepararAlumnos({{"A", "1", "1ESOA", "0"}});
  PrepararMatriculas({{"1", "1ESOMAT"}, {"1", "1ESOMAT"}});

  Ejecutar(exportacion::ExportarAlumnos);

  EXPECT_EQ(AsignaturasPorAlumno()["1"], Ranuras({"MAT", "MAT"}));
}

TEST_F(AlumnosTest, CodesOfTenCharactersAndCodesWithAQuoteFindTheirOwnSubjects) {
  PrepararAlumnos({{"A", "ABCDEFGHIJ", "1ESOA", "0"},
                   {"B", "ABCDEFGHI", "1ESOA", "0"},
                   {"C", "O'NEIL", "1ESOA", "0"},
                   {"D", "O", "1ESOA", "0"},
                   {"E", "''", "1ESOA", "0"}});
  PrepararMatriculas({{"O'NEIL", "1ESOMAT"},
                      {"ABCDEFGHI", "1ESOING"},
                      {"ABCDEFGHIJ", "1ESOLEN"},
                      {"''", "1ESOEF"},
                      {"O", "1ESOING"}});

  Ejecutar(exportacion::ExportarAlumnos);

  auto porAlumno = AsignaturasPorAlumno();
  EXPECT_EQ(porAlumno["ABCDEFGHIJ"], Ranuras({"LEN"}));
  EXPECT_EQ(porAlumno["ABCDEFGHI"], Ranuras({"ING"}));
  EXPECT_EQ(porAlumno["O'NEIL"], Ranuras({"MAT"}));
  EXPECT_EQ(porAlumno["O"], Ranuras({"ING"}));
  EXPECT_EQ(porAlumno["''"], Ranuras({"EF"}));
}

TEST_F(AlumnosTest, StudentsAreNotMerged) {
  PrepararAlumnos({{"A", "1", "1ESOA", "1"}, {"A bis", "1", "2BACB", "0"}});
  PrepararMatriculas({{"1", "1ESOMAT"}});

  Ejecutar(exportacion::ExportarAlumnos);

  EXPECT_EQ(LeerIntercambio("ALUMNOST", {"EXPED", "NOMBRE", "NIVEL", "REPITE", "ASIG1"}),
            (Filas{{"1", "A", "ESO", "T", "MAT"}, {"1", "A bis", "BAC", "F", "MAT"}}));
}

TEST_F(AlumnosTest, FiftySubjectsFitAndTheFiftyFirstEndsTheStep) {
  Filas diccionario;
  std::vector<std::string> cincuenta;
  for (int i = 1; i <= 51; ++i) {
    char cod[5];
    std::snprintf(cod, sizeof cod, "S%02d", i);
    diccionario.push_back({std::string("1ESO") + cod, cod, "1", "ESO", "1"});
    if (i <= 50) cincuenta.push_back(cod);
  }
  PrepararAsigvalt(diccionario);
  PrepararAlumnos({{"A", "1", "1ESOA", "0"}, {"B", "2", "1ESOA", "0"}, {"C", "3", "1ESOA", "0"}});
  Filas matriculas;
  for (const Fila& asignatura : diccionario) {
    if (asignatura[1] != "S51") matriculas.push_back({"1", asignatura[0]});
    matriculas.push_back({"2", asignatura[0]});
  }
  matriculas.push_back({"3", "1ESOS01"});
  PrepararMatriculas(matriculas);

  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarAlumnos), "No se encuentra el campo 'ASIG51'");

  EXPECT_EQ(Expedientes(), std::vector<std::string>{"1"});
  EXPECT_EQ(AsignaturasPorAlumno()["1"], cincuenta);
}

TEST_F(AlumnosTest, NoStudentsGiveAnEmptyTable) {
  PrepararAlumnos({{"A", "1", "1ESOA", "0"}});
  PrepararMatriculas({});
  Ejecutar(exportacion::ExportarAlumnos);
  PrepararAlumnos({});

  Ejecutar(exportacion::ExportarAlumnos);

  EXPECT_EQ(LeerIntercambio("ALUMNOST"), Filas{});
}

}  // namespace
}  // namespace exportacion_de_prueba
