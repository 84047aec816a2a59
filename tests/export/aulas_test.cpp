// The room export: aulas becomes AULAT.
#include <gtest/gtest.h>

#include "tests/export/exportacion_de_prueba.h"

namespace exportacion_de_prueba {
namespace {

class AulasTest : public ExportacionTest {
 protected:
  void PrepararAulas(const Filas& filas) { Preparar("aulas", kAulas, filas); }
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

}  // namespace
}  // namespace exportacion_de_prueba
