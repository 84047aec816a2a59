// The main window without widgets: staging, start-up, folder changes and the export run's frame, on a
// temporary drive C: with a scripted user.
#include <filesystem>

#include <gtest/gtest.h>

#include "ventana/ventana_principal.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using storage::DataType;
using testing_support::InterfazGuionada;
using testing_support::PatternBytes;

const std::vector<std::string> kArchivos = {"grupos.dbf", "profesor.dbf", "horgrup.dbf", "asigalum.dbf",
                                            "asignat.dbf", "aulas.dbf", "alumnos.dbf", "alumnos.fpt",
                                            "centro.dbf", "lhortipo.dbf"};

class VentanaPrincipalTest : public ::testing::Test {
 protected:
  void EscribirCentro(const std::string& carpeta, const std::vector<double>& codigos) {
    testing_support::EscribirCentro(drive_, carpeta, codigos);
  }

  // Every ESCOLAN file in a host folder, each with contents of its own.
  void EscribirEscolan(const std::string& carpeta) {
    for (std::size_t i = 0; i < kArchivos.size(); ++i) {
      if (kArchivos[i] != "centro.dbf") drive_.WriteHostFile(carpeta + "/" + kArchivos[i], PatternBytes(100 + i * 1000, static_cast<unsigned>(i)));
    }
    EscribirCentro(carpeta, {46010, 46010, 3001});
  }

  bool Preparado(const std::string& nombre) { return platform::FileExists("C:\\HTEMP\\VALENCIA\\" + nombre); }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{','};
  InterfazGuionada interfaz_;
  ventana::VentanaPrincipal ventana_{engine_, interfaz_};
  int cambios_ = 0;
};

TEST_F(VentanaPrincipalTest, StagingCopiesTheTenFilesByteForByte) {
  EscribirEscolan("ESCOLAN");
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\ESCOLAN");
  for (const std::string& nombre : kArchivos) {
    EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/" + nombre), drive_.ReadHostFile("ESCOLAN/" + nombre)) << nombre;
  }
}

TEST_F(VentanaPrincipalTest, StagingRemovesWhatTheSourceLacks) {
  EscribirEscolan("ESCOLAN");
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\ESCOLAN");
  drive_.MakeHostFolder("VACIA");
  drive_.WriteHostFile("OTRA/lhortipo.dbf", "");
  std::filesystem::remove(drive_.Host("ESCOLAN/lhortipo.dbf"));
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\ESCOLAN");
  EXPECT_FALSE(Preparado("lhortipo.dbf"));
  EXPECT_TRUE(Preparado("centro.dbf"));
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\VACIA");
  for (const std::string& nombre : kArchivos) EXPECT_FALSE(Preparado(nombre)) << nombre;
  drive_.WriteHostFile("HTEMP/VALENCIA/PLANTILLA.DBF", "plantilla");  // not ESCOLAN's: left alone
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\ESCOLAN");
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/PLANTILLA.DBF"), "plantilla");
}

TEST_F(VentanaPrincipalTest, StagingClosesTheTableObjectsFirst) {
  EscribirEscolan("ESCOLAN");
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\ESCOLAN");
  ventana_.Tablas().centro.Open();  // exclusive: its file could not be replaced while open
  EscribirCentro("ESCOLAN", {12345});
  ventana::CopiarDatosCentro(ventana_.Tablas(), "C:\\ESCOLAN");
  EXPECT_FALSE(ventana_.Tablas().centro.Active());
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/centro.dbf"), drive_.ReadHostFile("ESCOLAN/centro.dbf"));
}

TEST_F(VentanaPrincipalTest, StartingElsewhereStagesTwiceAndListsEscolansCentres) {
  EscribirEscolan("ESCOLAN");
  EscribirCentro("INICIO", {999});
  drive_.WriteHostFile("INICIO/lhortipo.dbf", "del inicio");
  std::filesystem::remove(drive_.Host("ESCOLAN/lhortipo.dbf"));
  platform::SetCurrentFolder("C:\\INICIO");
  ventana_.alCambiarDirectorio = [&] { ++cambios_; };
  ventana_.FormCreate();
  EXPECT_EQ(cambios_, 1);
  EXPECT_EQ(ventana_.EdNuevoDir(), "C:\\ESCOLAN");
  EXPECT_EQ(ventana_.Directorio(), "C:\\ESCOLAN");
  EXPECT_EQ(ventana_.Centros(), (std::vector<std::string>{"46010", "46010", "3001"}));
  EXPECT_EQ(ventana_.Centro(), "46010");
  EXPECT_FALSE(Preparado("lhortipo.dbf"));  // staged from INICIO, then gone with the staging from ESCOLAN
  EXPECT_FALSE(ventana_.Tablas().centro.Active());
}

TEST_F(VentanaPrincipalTest, StartingInEscolanStagesOnceWithoutAChangeEvent) {
  EscribirEscolan("escolan");
  platform::SetCurrentFolder("c:\\escolan");
  ventana_.alCambiarDirectorio = [&] { ++cambios_; };
  ventana_.FormCreate();
  EXPECT_EQ(cambios_, 0);
  EXPECT_EQ(ventana_.EdNuevoDir(), "C:\\escolan");
  EXPECT_EQ(ventana_.Centros().size(), 3u);
}

TEST_F(VentanaPrincipalTest, AnEmptyCentroGivesAnEmptyUnselectedList) {
  EscribirCentro("ESCOLAN", {});
  ventana_.FormCreate();
  EXPECT_TRUE(ventana_.Centros().empty());
  EXPECT_EQ(ventana_.CentroSeleccionado(), -1);
  EXPECT_EQ(ventana_.Centro(), "");
}

TEST_F(VentanaPrincipalTest, AMissingEscolanFolderStopsStartUpWithTheFileError) {
  drive_.MakeHostFolder("INICIO");
  platform::SetCurrentFolder("C:\\INICIO");
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { ventana_.FormCreate(); }));
  EXPECT_EQ(interfaz_.sucesos, (std::vector<std::string>{"error: Nombre de archivo inválido"}));
  EXPECT_EQ(ventana_.EdNuevoDir(), "");
  EXPECT_TRUE(ventana_.Centros().empty());
  EXPECT_EQ(ventana_.Directorio(), "C:\\INICIO");
}

TEST_F(VentanaPrincipalTest, AMissingCentroStopsStartUpAfterShowingTheFolder) {
  drive_.MakeHostFolder("ESCOLAN");
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { ventana_.FormCreate(); }));
  EXPECT_EQ(interfaz_.sucesos, (std::vector<std::string>{"error: La tabla no existe: C:\\htemp\\valencia\\centro.DBF"}));
  EXPECT_EQ(ventana_.EdNuevoDir(), "C:\\ESCOLAN");
  EXPECT_TRUE(ventana_.Centros().empty());
}

TEST_F(VentanaPrincipalTest, AFolderChangeStagesAgainButKeepsTheCentreList) {
  EscribirEscolan("ESCOLAN");
  ventana_.FormCreate();
  EscribirEscolan("OTRO");
  EscribirCentro("OTRO", {777});
  ventana_.alCambiarDirectorio = [&] { ++cambios_; };
  EXPECT_TRUE(ventana_.CambiarDirectorio("C:\\OTRO"));
  EXPECT_EQ(cambios_, 1);
  EXPECT_EQ(ventana_.EdNuevoDir(), "C:\\OTRO");
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/VALENCIA/centro.dbf"), drive_.ReadHostFile("OTRO/centro.dbf"));
  EXPECT_EQ(ventana_.Centros(), (std::vector<std::string>{"46010", "46010", "3001"}));
  EXPECT_FALSE(ventana_.CambiarDirectorio("c:\\otro\\"));  // the same folder: no change, no staging
  EXPECT_EQ(cambios_, 1);
  EXPECT_THROW(ventana_.CambiarDirectorio("C:\\NOEXISTE"), platform::FileError);
  EXPECT_EQ(ventana_.Directorio(), "C:\\OTRO");
}

// ---------------------------------------------------------------------------------------------------------
// The export run's frame

std::vector<exportacion::PasoExportacion> Pasos(std::vector<std::string>& hechos, const std::string& fallido) {
  std::vector<exportacion::PasoExportacion> pasos;
  for (const char* nombre : {"Uno", "Dos", "Tres"}) {
    pasos.push_back({nombre, [&hechos, fallido, nombre](exportacion::ContextoExportacion& contexto) {
                       EXPECT_EQ(contexto.idioma, exportacion::Idioma::kCastellano);
                       if (fallido == nombre) throw storage::DatabaseError("falla " + std::string(nombre));
                       hechos.push_back(nombre);
                     }});
  }
  return pasos;
}

TEST_F(VentanaPrincipalTest, TheExportRunFramesItsStepsWithItsMessagesAndTheHourglass) {
  std::vector<std::string> hechos;
  ventana_.idioma = "CASTELLANO";
  ventana_.BExportarClick(Pasos(hechos, ""));
  EXPECT_EQ(hechos, (std::vector<std::string>{"Uno", "Dos", "Tres"}));
  EXPECT_EQ(interfaz_.sucesos,
            (std::vector<std::string>{"mensaje: La duración de este Proceso será más larga, en función de la cantidad "
                                      "de datos que tengamos en nuestra ESCOLAN.",
                                      "cursor: espera", "paso: Uno", "paso: Dos", "paso: Tres", "cursor: normal",
                                      "mensaje:     Proceso finalizado    "}));
}

TEST_F(VentanaPrincipalTest, AFailingStepEndsTheRunWithTheCursorBackAndNoClosingMessage) {
  std::vector<std::string> hechos;
  ventana_.idioma = "CASTELLANO";
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { ventana_.BExportarClick(Pasos(hechos, "Dos")); }));
  EXPECT_EQ(hechos, (std::vector<std::string>{"Uno"}));
  EXPECT_FALSE(interfaz_.cursorEspera);
  std::vector<std::string> finales(interfaz_.sucesos.end() - 3, interfaz_.sucesos.end());
  EXPECT_EQ(finales, (std::vector<std::string>{"paso: Dos", "cursor: normal", "error: falla Dos"}));
}

}  // namespace
