// The course-hours export: ASIGVALT becomes ASIGCURT, in ESCOLAN's subject-code order.
#include <gtest/gtest.h>

#include <vector>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

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

}  // namespace
}  // namespace exportacion_de_prueba
