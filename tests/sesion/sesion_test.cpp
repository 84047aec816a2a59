// The session without any window: the staging of a folder's tables, on a temporary drive C:.
#include <filesystem>

#include <gtest/gtest.h>

#include "sesion/sesion.h"
#include "tests/support/escolan_de_prueba.h"

namespace {

const std::vector<std::string>& kArchivos = testing_support::kArchivosEscolan;

class SesionTest : public testing_support::ConEscolan {
 protected:
  sesion::Sesion sesion_{engine_, interfaz_};
};

TEST_F(SesionTest, StagingCopiesTheTenFilesByteForByte) {
  EscribirEscolan("ESCOLAN");
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\ESCOLAN");
  for (const std::string& nombre : kArchivos) {
    EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/" + nombre), drive_.ReadHostFile("ESCOLAN/" + nombre)) << nombre;
  }
}

TEST_F(SesionTest, StagingRemovesWhatTheSourceLacks) {
  EscribirEscolan("ESCOLAN");
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\ESCOLAN");
  drive_.MakeHostFolder("VACIA");
  drive_.WriteHostFile("OTRA/lhortipo.dbf", "");
  std::filesystem::remove(drive_.Host("ESCOLAN/lhortipo.dbf"));
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\ESCOLAN");
  EXPECT_FALSE(Preparado("lhortipo.dbf"));
  EXPECT_TRUE(Preparado("centro.dbf"));
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\VACIA");
  for (const std::string& nombre : kArchivos) EXPECT_FALSE(Preparado(nombre)) << nombre;
  drive_.WriteHostFile("HTEMP/VALENCIA/PLANTILLA.DBF", "plantilla");  // not ESCOLAN's: left alone
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\ESCOLAN");
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/PLANTILLA.DBF"), "plantilla");
}

TEST_F(SesionTest, StagingClosesTheTableObjectsFirst) {
  EscribirEscolan("ESCOLAN");
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\ESCOLAN");
  sesion_.Tablas().centro.Open();  // exclusive: its file could not be replaced while open
  EscribirCentro("ESCOLAN", {12345});
  sesion::CopiarDatosCentro(sesion_.Tablas(), "C:\\ESCOLAN");
  EXPECT_FALSE(sesion_.Tablas().centro.Active());
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/centro.dbf"), drive_.ReadHostFile("ESCOLAN/centro.dbf"));
}

TEST_F(SesionTest, AFolderIsStagedAndItsCentresReadWithoutAWindow) {
  EscribirEscolan("OTRA");
  sesion_.PrepararCarpeta("C:\\OTRA");
  EXPECT_EQ(sesion_.Carpeta(), "C:\\OTRA");
  for (const std::string& nombre : kArchivos) {
    EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/" + nombre), drive_.ReadHostFile("OTRA/" + nombre)) << nombre;
  }
  std::vector<std::string> centros{"de antes"};
  sesion_.LeerCentros(centros);
  EXPECT_EQ(centros, (std::vector<std::string>{"de antes", "46010", "46010", "3001"}));
  EXPECT_FALSE(sesion_.Tablas().centro.Active());
  EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});  // the staging tells the user nothing
}

}  // namespace
