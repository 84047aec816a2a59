// The export steps, each on its own small staged school in a temporary drive C:: the staged ESCOLAN
// tables are written into C:\HTEMP\VALENCIA (and, for the steps that read what earlier steps wrote,
// ASIGVALT and PROFT into C:\HTEMP by hand), the step runs, and its interchange tables are read back.
// The last group runs the whole export through the button's handler.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/exportacion.h"
#include "run/tablas_ventana.h"
#include "platform/platform.h"
#include "storage/storage.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using exportacion::ContextoExportacion;
using storage::DataType;
using storage::Table;

using testing_support::Campo;
using testing_support::Fila;
using testing_support::Filas;
using Paso = void (*)(ContextoExportacion&);


constexpr const char* kValenciano = "VALENCIÁ";
constexpr const char* kSinError = "(sin error)";

// The message of the error that `accion` raises.
std::string ErrorDe(const std::function<void()>& accion) {
  try {
    accion();
  } catch (const std::exception& error) {
    return error.what();
  }
  return kSinError;
}

// `cuantas` times the character "1".
std::string Unos(std::size_t cuantas) { return std::string(cuantas, '1'); }

// A staged school in a drive C: of its own, the engine with the user's decimal separator and the main
// window's table objects on it.
class ExportacionTest : public ::testing::Test {
 protected:
  ExportacionTest() {
    unidad_.MakeHostFolder("HTEMP/VALENCIA");
    SeparadorDecimal(',');
  }

  // A new engine (and new window tables) with the user's decimal separator `separador`.
  void SeparadorDecimal(char separador) {
    tablas_.reset();
    engine_ = std::make_unique<storage::Engine>(separador);
    tablas_ = std::make_unique<run::TablasVentana>(*engine_);
  }

  void Ejecutar(Paso paso, const std::string& idioma = kValenciano) {
    ContextoExportacion contexto{*engine_, *tablas_, idioma};
    paso(contexto);
  }

  // The message with which the step ends, or kSinError.
  std::string ErrorAlEjecutar(Paso paso, const std::string& idioma = kValenciano) {
    return ErrorDe([&] { Ejecutar(paso, idioma); });
  }

  // A table at `ruta` with the given fields and records, each record's values written as text in the order
  // of the fields (floating-point ones as numbers written with a point); an empty value leaves the field
  // empty.
  void CrearTabla(const std::string& ruta, const std::vector<Campo>& campos, const Filas& filas,
                  const std::vector<std::string>& indices = {}) {
    testing_support::CrearTabla(*engine_, ruta, campos, filas, indices);
  }

  // A staged ESCOLAN table, C:\HTEMP\VALENCIA\<nombre>.dbf.
  void Preparar(const std::string& nombre, const std::vector<Campo>& campos, const Filas& filas) {
    CrearTabla("C:\\HTEMP\\VALENCIA\\" + nombre + ".dbf", campos, filas);
  }

  // A table of our own in place of an interchange table, C:\HTEMP\<nombre>.DBF.
  void PrepararIntercambio(const std::string& nombre, const std::vector<Campo>& campos, const Filas& filas,
                           const std::vector<std::string>& indices = {}) {
    CrearTabla("C:\\HTEMP\\" + nombre + ".DBF", campos, filas, indices);
  }

  static std::string Valor(const Table& tabla, const std::string& campo) {
    for (const storage::FieldInfo& info : tabla.Fields()) {
      if (platform::SameName(info.name, campo) && info.dataType == DataType::ftBoolean) {
        return tabla.IsNull(campo) ? "" : tabla.AsBoolean(campo) ? "T" : "F";
      }
    }
    return tabla.AsString(campo);
  }

  // The records of the table at `ruta`, in stored order or in the order of `indice`: the given fields as
  // text (booleans as T or F), or every field when none is given.
  Filas Leer(const std::string& ruta, std::vector<std::string> campos = {}, const std::string& indice = "") {
    Table tabla(*engine_);
    tabla.SetTableName(ruta);
    if (!indice.empty()) tabla.SetIndexName(indice);
    tabla.Open();
    if (campos.empty()) {
      for (const storage::FieldInfo& info : tabla.Fields()) campos.push_back(info.name);
    }
    Filas filas;
    for (tabla.First(); !tabla.Eof(); tabla.Next()) {
      Fila fila;
      for (const std::string& campo : campos) fila.push_back(Valor(tabla, campo));
      filas.push_back(fila);
    }
    tabla.Close();
    return filas;
  }

  // An interchange table read back, C:\HTEMP\<nombre>.DBF.
  Filas LeerIntercambio(const std::string& nombre, const std::vector<std::string>& campos = {},
                        const std::string& indice = "") {
    return Leer("C:\\HTEMP\\" + nombre + ".DBF", campos, indice);
  }

  // One floating-point field of every record of an interchange table.
  std::vector<double> LeerNumeros(const std::string& nombre, const std::string& campo) {
    Table tabla(*engine_);
    tabla.SetTableName("C:\\HTEMP\\" + nombre + ".DBF");
    tabla.Open();
    std::vector<double> valores;
    for (tabla.First(); !tabla.Eof(); tabla.Next()) valores.push_back(tabla.AsFloat(campo));
    tabla.Close();
    return valores;
  }

  static bool Existe(const std::string& ruta) { return platform::FileExists(ruta); }

  // The short-code dictionary the subject export leaves, written by hand for the steps that read it:
  // records of CODVALEN, COD, NHORAS, NIVEL and CURSO.
  void PrepararAsigvalt(const Filas& filas) {
    Filas completas;
    for (const Fila& f : filas) completas.push_back({f[1], f[1], "Nombre de " + f[0], f[0], f[2], f[3], f[4]});
    PrepararIntercambio("ASIGVALT",
                        {{"COD", DataType::ftString, 4},
                         {"CODLARGO", DataType::ftString, 8},
                         {"NOMBRE", DataType::ftString, 40},
                         {"CODVALEN", DataType::ftString, 10},
                         {"NHORAS", DataType::ftFloat},
                         {"NIVEL", DataType::ftString, 5},
                         {"CURSO", DataType::ftString, 3}},
                        completas, {"COD", "CODVALEN"});
  }

  // The teachers the teacher export leaves, written by hand: records of ABREV and DNI.
  void PrepararProft(const Filas& filas) {
    Filas completas;
    for (const Fila& f : filas) completas.push_back({f[0], "Profesor " + f[0], "Departamento", f[1]});
    PrepararIntercambio("PROFT",
                        {{"ABREV", DataType::ftString, 4},
                         {"NOMBRE", DataType::ftString, 40},
                         {"DEPART", DataType::ftString, 40},
                         {"DNI", DataType::ftInteger}},
                        completas);
  }

  testing_support::TemporaryDrive unidad_;
  std::unique_ptr<storage::Engine> engine_;
  std::unique_ptr<run::TablasVentana> tablas_;
};

// ---------------------------------------------------------------------------------------------------------
// The subject export: asignat becomes ASIGVALT and ASIGNOMT.

class AsignaturasTest : public ExportacionTest {
 protected:
  // asignat with records of Codasig, Litresv, Vliteasig, Cliteasig and Horsemte.
  void PrepararAsignat(const Filas& filas) {
    Preparar("asignat",
             {{"CODASIG", DataType::ftString, 8},
              {"VLITEASIG", DataType::ftString, 30},
              {"CLITEASIG", DataType::ftString, 30},
              {"HORSEMTE", DataType::ftString, 5},
              {"LITRESV", DataType::ftString, 3}},
             Reordenar(filas));
  }

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

  Ejecutar(exportacion::ExportarAsignaturas, kValenciano);

  EXPECT_EQ(LeerIntercambio("ASIGVALT"), (Filas{{"MAT", "MAT", "Matemàtiques", "1ESOMAT", "4", "ESO", "1"}}));
  EXPECT_EQ(LeerNumeros("ASIGVALT", "NHORAS"), std::vector<double>{4.0});
  EXPECT_EQ(LeerIntercambio("ASIGNOMT"), (Filas{{"MAT", "MAT", "Matemàtiques"}}));
}

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
    Ejecutar(exportacion::ExportarAsignaturas, caso.idioma);
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

// ---------------------------------------------------------------------------------------------------------
// The teacher export: the teachers without a leave date become PROFT, with distinct abbreviations.

class ProfesoresTest : public ExportacionTest {
 protected:
  // profesor with records of FBaja, Apenomprof, Departa and Dni.
  void PrepararProfesores(const Filas& filas) {
    Preparar("profesor",
             {{"FBAJA", DataType::ftDate},
              {"APENOMPROF", DataType::ftString, 60},
              {"DEPARTA", DataType::ftString, 50},
              {"DNI", DataType::ftInteger}},
             filas);
  }

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
  Preparar("profesor",
           {{"FBAJA", DataType::ftDate},
            {"APENOMPROF", DataType::ftString, 60},
            {"DEPARTA", DataType::ftString, 50},
            {"DNI", DataType::ftString, 10}},
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
  Preparar("profesor",
           {{"FBAJA", DataType::ftDate},
            {"APENOMPROF", DataType::ftString, 60},
            {"DEPARTA", DataType::ftString, 50},
            {"DNI", DataType::ftString, 10}},
           {{"01/09/2020", "GARCIA PEREZ, ANA", "", "X1"}, {"", "LOPEZ DIAZ, EVA", "", "444"}});

  ASSERT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), kSinError);

  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}), (Filas{{"LO", "444"}}));
}

TEST_F(ProfesoresTest, AMissingFieldIsNamedAsTheStepAsksForIt) {
  Preparar("profesor", {{"FBAJA", DataType::ftDate}, {"APENOMPROF", DataType::ftString, 60}, {"DNI", DataType::ftInteger}},
           {{"", "GARCIA PEREZ, ANA", "1"}});

  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarProfesores), "wwTableProfesor: No se encuentra el campo 'Departa'");
}

// ---------------------------------------------------------------------------------------------------------
// The room export: aulas becomes AULAT.

class AulasTest : public ExportacionTest {
 protected:
  void PrepararAulas(const Filas& filas) {
    Preparar("aulas", {{"CODAULA", DataType::ftString, 8}, {"LITAULA", DataType::ftString, 60}}, filas);
  }
};

TEST_F(AulasTest, EveryRoomBecomesARecordInStoredOrder) {
  PrepararAulas({{"A12", "Aula de música"},
                 {"LABORA", "Laboratorio de ciencias naturales y biología, planta baja"},
                 {"A12", "Aula de música (anexo)"},
                 {"B1", ""}});

  Ejecutar(exportacion::ExportarAulas);

  EXPECT_EQ(LeerIntercambio("AULAT"), (Filas{{"A12", "Aula de música", "1", "0"},
                                             {"LABO", "Laboratorio de ciencias naturales y biol", "1", "0"},
                                             {"A12", "Aula de música (anexo)", "1", "0"},
                                             {"B1", "", "1", "0"}}));
}

TEST_F(AulasTest, NoRoomsGiveAnEmptyTable) {
  PrepararAulas({{"A12", "Aula"}});
  Ejecutar(exportacion::ExportarAulas);
  PrepararAulas({});

  Ejecutar(exportacion::ExportarAulas);

  EXPECT_EQ(LeerIntercambio("AULAT"), Filas{});
}

// ---------------------------------------------------------------------------------------------------------
// The student export: alumnos and their enrolments in asigalum become ALUMNOST.

class AlumnosTest : public ExportacionTest {
 protected:
  AlumnosTest() {
    PrepararAsigvalt({{"1ESOMAT", "MAT", "4", "ESO", "1"},
                      {"1ESOLEN", "LEN", "3", "ESO", "1"},
                      {"1ESOING", "ING", "3", "ESO", "1"},
                      {"1ESOEF", "EF", "2", "ESO", "1"}});
  }

  // alumnos with records of Apenom, Codigo, Codgrup and Repite.
  void PrepararAlumnos(const Filas& filas) {
    Preparar("alumnos",
             {{"APENOM", DataType::ftString, 45},
              {"CODIGO", DataType::ftString, 10},
              {"CODGRUP", DataType::ftString, 5},
              {"REPITE", DataType::ftSmallint}},
             filas);
  }

  // asigalum with records of Codigo and Codasig.
  void PrepararMatriculas(const Filas& filas) {
    Preparar("asigalum", {{"CODIGO", DataType::ftString, 10}, {"CODASIG", DataType::ftString, 10}}, filas);
  }

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

// ---------------------------------------------------------------------------------------------------------
// The course-hours export: ASIGVALT becomes ASIGCURT, in ESCOLAN's subject-code order.

using HorasCursoTest = ExportacionTest;

TEST_F(HorasCursoTest, EverySubjectGivesItsLevelCourseAndHoursInSubjectCodeOrder) {
  PrepararAsigvalt({{"2BACFIS", "FIS", "3", "BAC", "2"},
                    {"1ESOMAT", "MAT", "4", "ESO", "1"},
                    {"3ESOMAT", "MAT", "2.5", "ESO", "3"},
                    {"1ESOLEN", "LEN", "3", "ESO", "1"},
                    {"1ESOMA2", "MAT", "4", "ESO", "1"}});

  Ejecutar(exportacion::ExportarHorasCurso);

  EXPECT_EQ(LeerIntercambio("ASIGCURT"), (Filas{{"ESO", "1", "LEN", "3"},
                                                {"ESO", "1", "MAT", "4"},
                                                {"ESO", "1", "MAT", "4"},
                                                {"BAC", "2", "FIS", "3"},
                                                {"ESO", "3", "MAT", "2,5"}}));
  EXPECT_EQ(LeerNumeros("ASIGCURT", "HORAS"), (std::vector<double>{3.0, 4.0, 4.0, 3.0, 2.5}));
}

TEST_F(HorasCursoTest, AnEmptyDictionaryGivesAnEmptyTable) {
  PrepararAsigvalt({{"1ESOMAT", "MAT", "4", "ESO", "1"}});
  Ejecutar(exportacion::ExportarHorasCurso);
  PrepararAsigvalt({});

  Ejecutar(exportacion::ExportarHorasCurso);

  EXPECT_EQ(LeerIntercambio("ASIGCURT"), Filas{});
}

TEST_F(HorasCursoTest, AMissingDictionaryEndsTheStep) {
  EXPECT_NE(ErrorAlEjecutar(exportacion::ExportarHorasCurso), kSinError);
}

// ---------------------------------------------------------------------------------------------------------
// The group and course export: grupos becomes GRUPOST and CURSOST.

class GruposTest : public ExportacionTest {
 protected:
  // grupos with records of Turno and Codgrup.
  void PrepararGrupos(const Filas& filas) {
    Preparar("grupos", {{"TURNO", DataType::ftString, 1}, {"CODGRUP", DataType::ftString, 5}}, filas);
  }
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

// ---------------------------------------------------------------------------------------------------------
// The teaching-load export: horgrup, through ASIGVALT and PROFT, becomes ASIGT.

class CargaLectivaTest : public ExportacionTest {
 protected:
  CargaLectivaTest() {
    PrepararAsigvalt({{"1ESOMAT", "MAT", "4", "ESO", "1"},
                      {"1ESOLEN", "LEN", "3", "ESO", "1"},
                      {"2ESOMAT", "MAT", "3", "ESO", "2"}});
    PrepararProft({{"GA", "111"}, {"LO", "222"}});
  }

  // horgrup with records of Codgrup, Codasig and Dni.
  void PrepararHorgrup(const Filas& filas) {
    Preparar("horgrup",
             {{"CODGRUP", DataType::ftString, 5}, {"CODASIG", DataType::ftString, 14}, {"DNI", DataType::ftInteger}},
             filas);
  }

  // CASIG, CPROF, CGRUP, HORAS and SESIONES of every record.
  Filas Cargas() { return LeerIntercambio("ASIGT", {"CASIG", "CPROF", "CGRUP", "HORAS", "SESIONES"}); }
};

TEST_F(CargaLectivaTest, ATimetableEntryBecomesTheSubjectTeacherAndGroupWithTheirHours) {
  PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"}});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(LeerIntercambio("ASIGT"), (Filas{{"MAT", "GA", "EO1A", "", "", "ESO", "1", "A", "4", "1111"}}));
  EXPECT_EQ(LeerNumeros("ASIGT", "HORAS"), std::vector<double>{4.0});
}

TEST_F(CargaLectivaTest, EachSubjectTeacherAndGroupOnceWithTheFirstOccurrencesHours) {
  PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"},
                   {"1ESOA", "1ESOMAT", "111"},
                   {"1ESOA", "1ESOMAT", "222"},
                   {"1ESOB", "1ESOMAT", "111"},
                   {"1ESOA", "1ESOMAT", "111"},
                   // Another subject with the same short code: the same record, its hours not added.
                   {"1ESOA", "2ESOMAT", "111"},
                   // Another level with the same group abbreviation: the same record.
                   {"1EXOA", "1ESOMAT", "111"},
                   {"1ESOA", "1ESOLEN", "111"}});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(LeerIntercambio("ASIGT", {"CASIG", "CPROF", "CGRUP", "NIVEL", "GRUPO", "HORAS", "SESIONES"}),
            (Filas{{"MAT", "GA", "EO1A", "ESO", "A", "4", "1111"},
                   {"MAT", "LO", "EO1A", "ESO", "A", "4", "1111"},
                   {"MAT", "GA", "EO1B", "ESO", "B", "4", "1111"},
                   {"LEN", "GA", "EO1A", "ESO", "A", "3", "111"}}));
}

TEST_F(CargaLectivaTest, ASubjectNotInTheDictionaryTakesOneHour) {
  PrepararHorgrup({{"1ESOA", "9XXXREL", "111"},
                   {"1ESOA", "9XXXTUT", "111"},
                   {"1ESOA", "1esomat", "222"},
                   {"1ESOA", "1ESOMAT", "111"}});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(Cargas(), (Filas{{"", "GA", "EO1A", "1", "1"}, {"", "LO", "EO1A", "1", "1"}, {"MAT", "GA", "EO1A", "4", "1111"}}));
}

TEST_F(CargaLectivaTest, SessionsRepeatTheHoursRoundedHalfToEven) {
  struct Caso {
    double nhoras;
    std::string sesiones;
  };
  const std::vector<Caso> casos = {
      {0.5, ""},       {1.0, "1"},         {1.5, "11"},        {2.5, "11"},        {3.5, "1111"},
      {4.4, "1111"},   {4.6, "11111"},     {20.0, Unos(20)},   {21.0, Unos(20)},   {99.0, Unos(20)},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE("NHORAS " + std::to_string(caso.nhoras));
    PrepararAsigvalt({{"1ESOMAT", "MAT", std::to_string(caso.nhoras), "ESO", "1"}});
    PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"}});
    Ejecutar(exportacion::ExportarCargaLectiva);
    EXPECT_EQ(LeerIntercambio("ASIGT", {"SESIONES"}), (Filas{{caso.sesiones}}));
    EXPECT_EQ(LeerNumeros("ASIGT", "HORAS"), std::vector<double>{caso.nhoras});
  }
}

TEST_F(CargaLectivaTest, TheSubjectCodeIsTrimmedBeforeItIsLookedUp) {
  PrepararHorgrup({{"1ESOA", "  1ESOMAT  ", "111"}, {"1ESOB", "\t1ESOLEN", "111"}, {"1ESOC", "1ESO MAT", "111"}});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(Cargas(), (Filas{{"MAT", "GA", "EO1A", "4", "1111"},
                             {"LEN", "GA", "EO1B", "3", "111"},
                             {"", "GA", "EO1C", "1", "1"}}));
}

TEST_F(CargaLectivaTest, TheFirstDictionaryRecordOfASubjectCodeCounts) {
  PrepararAsigvalt({{"1ESOLEN", "LEN", "3", "ESO", "1"},
                    {"1ESOMAT", "MAT", "4", "ESO", "1"},
                    {"1ESOMAT", "MTX", "2", "ESO", "1"}});
  PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"}});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(Cargas(), (Filas{{"MAT", "GA", "EO1A", "4", "1111"}}));
}

TEST_F(CargaLectivaTest, ShortOrEmptyGroupCodesAreWrittenAsTheyCut) {
  PrepararHorgrup({{"", "1ESOMAT", "111"}, {"1", "1ESOMAT", "111"}, {"2BA", "1ESOMAT", "111"}, {"1ESO", "1ESOMAT", "111"}});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(LeerIntercambio("ASIGT", {"CGRUP", "NIVEL", "CURSO", "GRUPO", "CAULA", "TURNO"}),
            (Filas{{"", "", "", "", "", ""},
                   {"11", "", "1", "1", "", ""},
                   {"B2A", "BA", "2", "A", "", ""},
                   {"EO1O", "ESO", "1", "O", "", ""}}));
}

TEST_F(CargaLectivaTest, TeachersAreFoundByIdentityNumberAndAMissingOneMatchesZero) {
  struct Caso {
    std::string nombre;
    Filas proft;
    std::string dni;
    std::string cprof;
  };
  const std::vector<Caso> casos = {
      {"found", {{"GA", "111"}, {"LO", "222"}}, "222", "LO"},
      {"not found", {{"GA", "111"}, {"LO", "222"}}, "333", ""},
      {"the first of two with one number", {{"GA", "111"}, {"LO", "222"}, {"PE", "222"}}, "222", "LO"},
      {"no number and a teacher without one", {{"GA", "111"}, {"LO", "0"}, {"PE", ""}}, "", "LO"},
      {"no number and a teacher without one, unwritten", {{"GA", "111"}, {"PE", ""}, {"LO", "0"}}, "", "PE"},
      {"no number and every teacher with one", {{"GA", "111"}}, "", ""},
      {"zero", {{"GA", "111"}, {"PE", "0"}}, "0", "PE"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    PrepararProft(caso.proft);
    PrepararHorgrup({{"1ESOA", "1ESOMAT", caso.dni}});
    Ejecutar(exportacion::ExportarCargaLectiva);
    EXPECT_EQ(LeerIntercambio("ASIGT", {"CPROF"}), (Filas{{caso.cprof}}));
  }
}

TEST_F(CargaLectivaTest, OnlyTheDictionaryRecordsOfSubjectsInTheTimetableAreRead) {
  // Hours no whole number of sessions can stand for, on subjects that no timetable entry uses (or that
  // come after the subject's first record).
  PrepararAsigvalt({{"1ESOMAT", "MAT", "4", "ESO", "1"},
                    {"1ESOMAT", "MTX", "3000000000", "ESO", "1"},
                    {"2BACFIS", "FIS", "3000000000", "BAC", "2"}});
  PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"}});

  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarCargaLectiva), kSinError);
  EXPECT_EQ(Cargas(), (Filas{{"MAT", "GA", "EO1A", "4", "1111"}}));

  PrepararHorgrup({});
  EXPECT_EQ(ErrorAlEjecutar(exportacion::ExportarCargaLectiva), kSinError);
  EXPECT_EQ(Cargas(), Filas{});
}

TEST_F(CargaLectivaTest, AnEmptyTimetableGivesAnEmptyTable) {
  PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"}});
  Ejecutar(exportacion::ExportarCargaLectiva);
  PrepararHorgrup({});

  Ejecutar(exportacion::ExportarCargaLectiva);

  EXPECT_EQ(LeerIntercambio("ASIGT"), Filas{});
}

TEST_F(CargaLectivaTest, AMissingTeacherTableEndsTheStep) {
  PrepararHorgrup({{"1ESOA", "1ESOMAT", "111"}});
  ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\PROFT.DBF"));

  EXPECT_NE(ErrorAlEjecutar(exportacion::ExportarCargaLectiva), kSinError);
}

// ---------------------------------------------------------------------------------------------------------
// The export run through the button: the seven steps in order between the two messages and the hourglass.

const std::vector<std::string> kTablasIntercambio = {"ASIGVALT", "ASIGNOMT", "PROFT",   "AULAT", "ALUMNOST",
                                                     "ASIGCURT", "GRUPOST",  "CURSOST", "ASIGT"};

class ExportacionCompletaTest : public ExportacionTest {
 protected:
  // A small school: three subjects, three teachers (one on leave), two rooms, two students, two groups and
  // their timetable.
  void PrepararEscuela() {
    Preparar("asignat",
             {{"CODASIG", DataType::ftString, 8},
              {"VLITEASIG", DataType::ftString, 30},
              {"CLITEASIG", DataType::ftString, 30},
              {"HORSEMTE", DataType::ftString, 5},
              {"LITRESV", DataType::ftString, 3}},
             {{"2BACFIS", "Física", "Física", "04:00", "FIS"},
              {"1ESOMAT", "Matemàtiques", "Matemáticas", "04:00", "MAT"},
              {"1ESOLEN", "Llengua", "Lengua", "03:00", "LEN"}});
    PrepararProfesores("11111111");
    Preparar("aulas", {{"CODAULA", DataType::ftString, 6}, {"LITAULA", DataType::ftString, 30}},
             {{"A12", "Aula 12"}, {"LAB", "Laboratorio"}});
    Preparar("alumnos",
             {{"APENOM", DataType::ftString, 45},
              {"CODIGO", DataType::ftString, 10},
              {"CODGRUP", DataType::ftString, 5},
              {"REPITE", DataType::ftSmallint}},
             {{"PÉREZ GIL, ANA", "1234", "1ESOA", "1"}, {"ROCA MAS, JOAN", "1235", "1ESOB", "0"}});
    Preparar("asigalum", {{"CODIGO", DataType::ftString, 10}, {"CODASIG", DataType::ftString, 8}},
             {{"1234", "1ESOMAT"}, {"1235", "1ESOLEN"}, {"1234", "1ESOLEN"}});
    Preparar("grupos", {{"TURNO", DataType::ftString, 1}, {"CODGRUP", DataType::ftString, 5}},
             {{"M", "1ESOA"}, {"M", "1ESOB"}});
    Preparar("horgrup",
             {{"CODGRUP", DataType::ftString, 5}, {"CODASIG", DataType::ftString, 8}, {"DNI", DataType::ftInteger}},
             {{"1ESOA", "1ESOMAT", "11111111"},
              {"1ESOA", "1ESOLEN", "22222222"},
              {"1ESOB", "1ESOMAT", "11111111"},
              {"1ESOA", "1ESOMAT", "11111111"}});
  }

  // profesor with the first teacher's identity number as given (a text field, so it may be anything).
  void PrepararProfesores(const std::string& primerDni) {
    Preparar("profesor",
             {{"FBAJA", DataType::ftDate},
              {"APENOMPROF", DataType::ftString, 60},
              {"DEPARTA", DataType::ftString, 50},
              {"DNI", DataType::ftString, 10}},
             {{"", "GARCIA PEREZ, ANA", "MATEMÁTICAS", "11111111"},
              {"", "GALLEGO RUIZ, LUIS", "LENGUA", "22222222"},
              {"", "GAMEZ SOLER, PEDRO", "FÍSICA", primerDni},
              {"01/09/2020", "LOPEZ DIAZ, EVA", "LENGUA", "33333333"},
              {"", "SOLER PONS, MARTA", "FÍSICA", "44444444"}});
  }

  // Every interchange table left from an earlier run: one record with the mark ANTERIOR.
  void PrepararTablasAnteriores() {
    for (const std::string& tabla : kTablasIntercambio) {
      PrepararIntercambio(tabla, {{"MARCA", DataType::ftString, 10}}, {{"ANTERIOR"}});
    }
  }

  bool EsAnterior(const std::string& tabla) {
    return LeerIntercambio(tabla, {"MARCA"}) == Filas{{"ANTERIOR"}};
  }

  // The run as the application runs the button's handler: whether it ended without an error.
  bool Exportar(testing_support::InterfazGuionada& interfaz) {
    ContextoExportacion contexto{*engine_, *tablas_, "CASTELLANO"};
    return run::EjecutarManejador(interfaz, [&] { exportacion::BExportarClick(contexto, interfaz); });
  }

  // Every field and record of the nine tables.
  std::map<std::string, Filas> Instantanea() {
    std::map<std::string, Filas> tablas;
    for (const std::string& tabla : kTablasIntercambio) {
      Table t(*engine_);
      t.SetTableName("C:\\HTEMP\\" + tabla + ".DBF");
      t.Open();
      Fila campos;
      for (const storage::FieldInfo& info : t.Fields()) {
        campos.push_back(info.name + " " + info.type + std::to_string(info.size) + "." + std::to_string(info.decimals));
      }
      t.Close();
      tablas[tabla] = LeerIntercambio(tabla);
      tablas[tabla].insert(tablas[tabla].begin(), campos);
    }
    return tablas;
  }

  static std::vector<std::string> Columna(const Filas& filas, std::size_t i) {
    std::vector<std::string> columna;
    for (const Fila& fila : filas) columna.push_back(fila[i]);
    return columna;
  }
};

TEST_F(ExportacionCompletaTest, ARunShowsItsMessagesAroundTheSevenStepsInOrder) {
  PrepararEscuela();
  testing_support::InterfazGuionada interfaz;

  EXPECT_TRUE(Exportar(interfaz));

  EXPECT_EQ(interfaz.sucesos,
            (std::vector<std::string>{std::string("mensaje: ") + exportacion::kMensajeInicioExportacion,
                                      "cursor: espera", "paso: ExportarAsignaturas", "paso: ExportarProfesores",
                                      "paso: ExportarAulas", "paso: ExportarAlumnos", "paso: ExportarHorasCurso",
                                      "paso: ExportarGrupos", "paso: ExportarCargaLectiva", "cursor: normal",
                                      "mensaje:     Proceso finalizado    "}));
  EXPECT_EQ(std::string(exportacion::kMensajeInicioExportacion),
            "La duración de este Proceso será más larga, en función de la cantidad de datos que tengamos en nuestra "
            "ESCOLAN.");
  EXPECT_FALSE(interfaz.cursorEspera);
}

TEST_F(ExportacionCompletaTest, NothingChangesBeforeTheOpeningMessageIsClosed) {
  class InterfazQueMira : public testing_support::InterfazGuionada {
   public:
    std::function<void()> alMostrarMensaje;
    void MostrarMensaje(const std::string& texto) override {
      if (alMostrarMensaje) alMostrarMensaje();
      alMostrarMensaje = nullptr;
      InterfazGuionada::MostrarMensaje(texto);
    }
  };
  PrepararEscuela();
  PrepararTablasAnteriores();
  InterfazQueMira interfaz;
  std::vector<std::string> anterioresAlMensaje;
  interfaz.alMostrarMensaje = [&] {
    for (const std::string& tabla : kTablasIntercambio) {
      if (EsAnterior(tabla)) anterioresAlMensaje.push_back(tabla);
    }
  };

  EXPECT_TRUE(Exportar(interfaz));

  EXPECT_EQ(anterioresAlMensaje, kTablasIntercambio);
}

TEST_F(ExportacionCompletaTest, ACompleteRunWritesTheNineTablesThatFitTogether) {
  PrepararEscuela();
  // Index files left beside tables that have none are removed with them.
  for (const std::string& tabla : kTablasIntercambio) unidad_.WriteHostFile("HTEMP/" + tabla + ".MDX", "restos");
  testing_support::InterfazGuionada interfaz;

  ASSERT_TRUE(Exportar(interfaz));

  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD", "NOMBRE", "CODVALEN", "NHORAS"}),
            (Filas{{"FIS", "Física", "2BACFIS", "4"}, {"MAT", "Matemáticas", "1ESOMAT", "4"}, {"LEN", "Lengua", "1ESOLEN", "3"}}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD", "NOMBRE"}), (Filas{{"FIS", "Física"}, {"LEN", "Lengua"}, {"MAT", "Matemáticas"}}));
  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}),
            (Filas{{"GA", "11111111"}, {"GA2", "22222222"}, {"GA3", "11111111"}, {"SO", "44444444"}}));
  EXPECT_EQ(LeerIntercambio("AULAT", {"ABREV"}), (Filas{{"A12"}, {"LAB"}}));
  EXPECT_EQ(LeerIntercambio("ALUMNOST", {"EXPED", "GRUPO", "REPITE", "ASIG1", "ASIG2", "ASIG3"}),
            (Filas{{"1234", "A", "T", "MAT", "LEN", ""}, {"1235", "B", "F", "LEN", "", ""}}));
  EXPECT_EQ(LeerIntercambio("ASIGCURT", {"ASIG", "HORAS"}), (Filas{{"LEN", "3"}, {"MAT", "4"}, {"FIS", "4"}}));
  EXPECT_EQ(LeerIntercambio("GRUPOST", {"ABREV"}), (Filas{{"EO1A"}, {"EO1B"}}));
  EXPECT_EQ(LeerIntercambio("CURSOST", {"ABREV"}), (Filas{{"ME1"}}));
  // The first DNI 11111111 in PROFT is GARCIA's.
  EXPECT_EQ(LeerIntercambio("ASIGT", {"CASIG", "CPROF", "CGRUP", "SESIONES"}),
            (Filas{{"MAT", "GA", "EO1A", "1111"}, {"LEN", "GA2", "EO1A", "111"}, {"MAT", "GA", "EO1B", "1111"}}));

  // Only ASIGVALT has an index, on COD and on CODVALEN.
  for (const std::string& tabla : kTablasIntercambio) {
    SCOPED_TRACE(tabla);
    EXPECT_EQ(Existe("C:\\HTEMP\\" + tabla + ".MDX"), tabla == "ASIGVALT");
  }
  EXPECT_EQ(Columna(LeerIntercambio("ASIGVALT", {"COD"}, "COD"), 0), (std::vector<std::string>{"FIS", "LEN", "MAT"}));
  EXPECT_EQ(Columna(LeerIntercambio("ASIGVALT", {"CODVALEN"}, "CODVALEN"), 0),
            (std::vector<std::string>{"1ESOLEN", "1ESOMAT", "2BACFIS"}));
}

TEST_F(ExportacionCompletaTest, TheTablesHaveTheGeneratorsLayout) {
  struct Definicion {
    std::string nombre;
    DataType tipo;
    int tamano;  // characters of text fields; not checked for the others
  };
  const DataType C = DataType::ftString, F = DataType::ftFloat, I = DataType::ftInteger, L = DataType::ftBoolean;
  std::vector<Definicion> alumnost = {{"EXPED", C, 20}, {"NOMBRE", C, 50}, {"TURNO", C, 1}, {"NIVEL", C, 5},
                                      {"CURSO", C, 3},  {"GRUPO", C, 2},   {"OPCION", C, 1}, {"REPITE", L, 0}};
  for (int n = 1; n <= 50; ++n) {
    alumnost.push_back({"ASIG" + std::to_string(n), C, 4});
    alumnost.push_back({"DIV" + std::to_string(n), C, 1});
  }
  const std::map<std::string, std::vector<Definicion>> disenos = {
      {"ASIGVALT",
       {{"COD", C, 4}, {"CODLARGO", C, 8}, {"NOMBRE", C, 40}, {"CODVALEN", C, 10}, {"NHORAS", F, 0}, {"NIVEL", C, 5},
        {"CURSO", C, 3}}},
      {"ASIGNOMT", {{"COD", C, 4}, {"CODLARGO", C, 8}, {"NOMBRE", C, 40}}},
      {"PROFT", {{"ABREV", C, 4}, {"NOMBRE", C, 40}, {"DEPART", C, 40}, {"DNI", I, 0}}},
      {"AULAT", {{"ABREV", C, 4}, {"NOMBRE", C, 40}, {"EDIFICIO", C, 1}, {"MAXALUM", I, 0}}},
      {"ALUMNOST", alumnost},
      {"ASIGCURT", {{"NIVEL", C, 5}, {"CURSO", C, 3}, {"ASIG", C, 4}, {"HORAS", F, 0}}},
      {"GRUPOST", {{"ABREV", C, 4}, {"TURNO", C, 1}, {"NIVEL", C, 5}, {"CURSO", C, 3}, {"GRUPO", C, 2}}},
      {"CURSOST", {{"ABREV", C, 3}, {"TURNO", C, 1}, {"NIVEL", C, 5}, {"CURSO", C, 3}}},
      {"ASIGT",
       {{"CASIG", C, 4}, {"CPROF", C, 4}, {"CGRUP", C, 4}, {"CAULA", C, 4}, {"TURNO", C, 1}, {"NIVEL", C, 5},
        {"CURSO", C, 3}, {"GRUPO", C, 2}, {"HORAS", F, 0}, {"SESIONES", C, 20}}},
  };
  PrepararEscuela();
  testing_support::InterfazGuionada interfaz;
  ASSERT_TRUE(Exportar(interfaz));

  for (const auto& [tabla, diseno] : disenos) {
    SCOPED_TRACE(tabla);
    Table t(*engine_);
    t.SetTableName("C:\\HTEMP\\" + tabla + ".DBF");
    t.Open();
    const std::vector<storage::FieldInfo>& campos = t.Fields();
    ASSERT_EQ(campos.size(), diseno.size());
    for (std::size_t i = 0; i < diseno.size(); ++i) {
      SCOPED_TRACE(diseno[i].nombre);
      EXPECT_EQ(campos[i].name, diseno[i].nombre);
      EXPECT_EQ(campos[i].dataType, diseno[i].tipo);
      if (diseno[i].tipo == C) {
        EXPECT_EQ(campos[i].size, diseno[i].tamano);
      }
    }
  }
}

TEST_F(ExportacionCompletaTest, TwoRunsOverTheSameDataGiveTheSameTables) {
  PrepararEscuela();
  testing_support::InterfazGuionada interfaz;
  ASSERT_TRUE(Exportar(interfaz));
  std::map<std::string, Filas> primera = Instantanea();

  ASSERT_TRUE(Exportar(interfaz));

  EXPECT_EQ(Instantanea(), primera);
}

TEST_F(ExportacionCompletaTest, AFailingTeacherStepEndsTheRunLeavingTheLaterTablesAsTheyWere) {
  PrepararEscuela();
  PrepararProfesores("X1");
  PrepararTablasAnteriores();
  testing_support::InterfazGuionada interfaz;

  EXPECT_FALSE(Exportar(interfaz));

  EXPECT_EQ(interfaz.sucesos,
            (std::vector<std::string>{std::string("mensaje: ") + exportacion::kMensajeInicioExportacion,
                                      "cursor: espera", "paso: ExportarAsignaturas", "paso: ExportarProfesores",
                                      "cursor: normal", "error: 'X1' no es un valor entero válido"}));
  EXPECT_FALSE(interfaz.cursorEspera);
  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD"}), (Filas{{"FIS"}, {"MAT"}, {"LEN"}}));
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD"}), (Filas{{"FIS"}, {"LEN"}, {"MAT"}}));
  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "NOMBRE"}),
            (Filas{{"GA", "GARCIA PEREZ, ANA"}, {"GA", "GALLEGO RUIZ, LUIS"}}));
  for (const char* tabla : {"AULAT", "ALUMNOST", "ASIGCURT", "GRUPOST", "CURSOST", "ASIGT"}) {
    EXPECT_TRUE(EsAnterior(tabla)) << tabla;
  }
}

TEST_F(ExportacionCompletaTest, ARunAfterAFailedOneWithTheDataCorrectedCompletes) {
  PrepararEscuela();
  PrepararProfesores("X1");
  testing_support::InterfazGuionada interfaz;
  ASSERT_FALSE(Exportar(interfaz));

  PrepararProfesores("55555555");
  EXPECT_TRUE(Exportar(interfaz)) << interfaz.sucesos.back();

  EXPECT_EQ(LeerIntercambio("PROFT", {"ABREV", "DNI"}),
            (Filas{{"GA", "11111111"}, {"GA2", "22222222"}, {"GA3", "55555555"}, {"SO", "44444444"}}));
  EXPECT_EQ(interfaz.sucesos.back(), "mensaje:     Proceso finalizado    ");
}

TEST_F(ExportacionCompletaTest, WithoutStagedSubjectsTheRunEndsWithTheSubjectTablesNewAndEmpty) {
  PrepararEscuela();
  ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\VALENCIA\\asignat.dbf"));
  PrepararTablasAnteriores();
  testing_support::InterfazGuionada interfaz;

  EXPECT_FALSE(Exportar(interfaz));

  ASSERT_EQ(interfaz.sucesos.size(), 5u);
  EXPECT_EQ(interfaz.sucesos[3], "cursor: normal");
  EXPECT_EQ(interfaz.sucesos[4].rfind("error: ", 0), 0u);
  EXPECT_EQ(LeerIntercambio("ASIGVALT", {"COD"}), Filas{});
  EXPECT_EQ(LeerIntercambio("ASIGNOMT", {"COD"}), Filas{});
  for (const char* tabla : {"PROFT", "AULAT", "ALUMNOST", "ASIGCURT", "GRUPOST", "CURSOST", "ASIGT"}) {
    EXPECT_TRUE(EsAnterior(tabla)) << tabla;
  }
}

}  // namespace
