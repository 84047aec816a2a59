// The teaching-load export: horgrup, through ASIGVALT and PROFT, becomes ASIGT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

// `cuantas` times the character "1".
std::string Unos(std::size_t cuantas) { return std::string(cuantas, '1'); }

class CargaLectivaTest : public ExportacionTest {
 protected:
  CargaLectivaTest() {
    PrepararAsigvalt({{"1ESOMAT", "MAT", "4", "ESO", "1"},
                      {"1ESOLEN", "LEN", "3", "ESO", "1"},
                      {"2ESOMAT", "MAT", "3", "ESO", "2"}});
    PrepararProft({{"GA", "111"}, {"LO", "222"}});
  }

  // horgrup with records of Codgrup, Codasig and Dni.
  void PrepararHorgrup(const Filas& filas) { Preparar("horgrup", kHorgrup, filas); }

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

}  // namespace
}  // namespace exportacion_de_prueba
