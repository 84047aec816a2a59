// The main window without widgets: start-up, folder changes and the export run's frame, on a temporary
// drive C: with a scripted user.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/drive_map.h"
#include "ventana/ventana_principal.h"
#include "tests/support/escolan_de_prueba.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

using storage::DataType;
using testing_support::InterfazGuionada;

const std::vector<std::string>& kArchivos = testing_support::kArchivosEscolan;

class VentanaPrincipalTest : public testing_support::ConEscolan {
 protected:
  ventana::VentanaPrincipal ventana_{engine_, interfaz_};
  int cambios_ = 0;
};

TEST_F(VentanaPrincipalTest, StartingElsewhereStagesTwiceAndListsEscolansCentres) {
  EscribirEscolan("ESCOLAN");
  EscribirCentro("INICIO", {999});
  drive_.WriteHostFile("INICIO/lhortipo.dbf", "del inicio");
  std::filesystem::remove(drive_.Host("ESCOLAN/lhortipo.dbf"));
  platform::SetCurrentFolder("C:\\INICIO");
  ventana_.AlCambiarCarpeta([&] { ++cambios_; });
  ventana_.Iniciar();
  EXPECT_EQ(cambios_, 1);
  EXPECT_EQ(ventana_.CarpetaMostrada(), "C:\\ESCOLAN");
  EXPECT_EQ(ventana_.Directorio(), "C:\\ESCOLAN");
  EXPECT_EQ(ventana_.Centros(), (std::vector<std::string>{"46010", "46010", "3001"}));
  EXPECT_EQ(ventana_.Centro(), "46010");
  EXPECT_FALSE(Preparado("lhortipo.dbf"));  // staged from INICIO, then gone with the staging from ESCOLAN
  EXPECT_FALSE(ventana_.Sesion().Tablas().centro.Active());
}

TEST_F(VentanaPrincipalTest, StartingInEscolanStagesOnceWithoutAChangeEvent) {
  EscribirEscolan("escolan");
  platform::SetCurrentFolder("c:\\escolan");
  ventana_.AlCambiarCarpeta([&] { ++cambios_; });
  ventana_.Iniciar();
  EXPECT_EQ(cambios_, 0);
  EXPECT_EQ(ventana_.CarpetaMostrada(), "C:\\escolan");
  EXPECT_EQ(ventana_.Centros().size(), 3u);
}

TEST_F(VentanaPrincipalTest, AnEmptyCentroGivesAnEmptyUnselectedList) {
  EscribirCentro("ESCOLAN", {});
  ventana_.Iniciar();
  EXPECT_TRUE(ventana_.Centros().empty());
  EXPECT_EQ(ventana_.CentroSeleccionado(), -1);
  EXPECT_EQ(ventana_.Centro(), "");
}

TEST_F(VentanaPrincipalTest, AMissingEscolanFolderStopsStartUpWithTheFileError) {
  drive_.MakeHostFolder("INICIO");
  platform::SetCurrentFolder("C:\\INICIO");
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { ventana_.Iniciar(); }));
  EXPECT_EQ(interfaz_.sucesos, (std::vector<std::string>{"error: Nombre de archivo inválido"}));
  EXPECT_EQ(ventana_.CarpetaMostrada(), "");
  EXPECT_TRUE(ventana_.Centros().empty());
  EXPECT_EQ(ventana_.Directorio(), "C:\\INICIO");
}

TEST_F(VentanaPrincipalTest, AMissingCentroStopsStartUpAfterShowingTheFolder) {
  drive_.MakeHostFolder("ESCOLAN");
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { ventana_.Iniciar(); }));
  EXPECT_EQ(interfaz_.sucesos, (std::vector<std::string>{"error: La tabla no existe: C:\\htemp\\valencia\\centro.DBF"}));
  EXPECT_EQ(ventana_.CarpetaMostrada(), "C:\\ESCOLAN");
  EXPECT_TRUE(ventana_.Centros().empty());
}

TEST_F(VentanaPrincipalTest, AFolderChangeStagesAgainButKeepsTheCentreList) {
  EscribirEscolan("ESCOLAN");
  ventana_.Iniciar();
  EscribirEscolan("OTRO");
  EscribirCentro("OTRO", {777});
  ventana_.AlCambiarCarpeta([&] { ++cambios_; });
  EXPECT_TRUE(ventana_.CambiarDirectorio("C:\\OTRO"));
  EXPECT_EQ(cambios_, 1);
  EXPECT_EQ(ventana_.CarpetaMostrada(), "C:\\OTRO");
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
  ventana_.PonerTextoIdioma("CASTELLANO");
  ventana_.Sesion().PonerPasosExportacion(Pasos(hechos, ""));
  ventana_.Exportar();
  EXPECT_EQ(hechos, (std::vector<std::string>{"Uno", "Dos", "Tres"}));
  EXPECT_EQ(interfaz_.sucesos,
            (std::vector<std::string>{"mensaje: La duración de este Proceso será más larga, en función de la cantidad "
                                      "de datos que tengamos en nuestra ESCOLAN.",
                                      "cursor: espera", "paso: Uno", "paso: Dos", "paso: Tres", "cursor: normal",
                                      "mensaje:     Proceso finalizado    "}));
}

TEST_F(VentanaPrincipalTest, AFailingStepEndsTheRunWithTheCursorBackAndNoClosingMessage) {
  std::vector<std::string> hechos;
  ventana_.PonerTextoIdioma("CASTELLANO");
  ventana_.Sesion().PonerPasosExportacion(Pasos(hechos, "Dos"));
  EXPECT_FALSE(run::EjecutarManejador(interfaz_, [&] { ventana_.Exportar(); }));
  EXPECT_EQ(hechos, (std::vector<std::string>{"Uno"}));
  EXPECT_FALSE(interfaz_.cursorEspera);
  std::vector<std::string> finales(interfaz_.sucesos.end() - 3, interfaz_.sucesos.end());
  EXPECT_EQ(finales, (std::vector<std::string>{"paso: Dos", "cursor: normal", "error: falla Dos"}));
}

// ---------------------------------------------------------------------------------------------------------
// The rules of the window's controls, the same in both windows

TEST(BotonPorDefectoTest, TheButtonWithTheFocusOrItsPanelsOrTheExportOne) {
  namespace diseno = ventana::diseno;
  struct Caso {
    const ventana::Control* conFoco;
    const ventana::Control* boton;
  };
  const std::vector<Caso> casos = {
      {nullptr, &diseno::kBExportar},                       // no focus in the window
      {&diseno::kEdNuevoDir, &diseno::kBExportar},          // the first panel has no default button of its own
      {&diseno::kListaUnidades, &diseno::kBExportar},
      {&diseno::kCBCentro, &diseno::kBExportar},
      {&diseno::kBClose, &diseno::kBClose},                 // a button with the focus answers Enter itself
      {&diseno::kComboBoxValCast, &diseno::kBExportar},     // the export panel's
      {&diseno::kBExportar, &diseno::kBExportar},
      {&diseno::kBImportar, &diseno::kBImportar},           // the import panel's
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.conFoco != nullptr ? std::string(caso.conFoco->nombre) : "no focus");
    EXPECT_EQ(&ventana::BotonPorDefecto(caso.conFoco), caso.boton);
  }
}

// A drive picked in the drive list: D: is mapped to a host folder that is not there, E: to one that is.
TEST_F(VentanaPrincipalTest, APickedDriveMovesToItsCurrentFolderUnlessItIsTheListsOwnOrNotReady) {
  EscribirEscolan("ESCOLAN");
  EscribirCentro("unidad_e", {888});
  platform::DriveMap unidades = platform::Drives();
  unidades.Map('D', drive_.Host("no_esta"));
  unidades.Map('E', drive_.Host("unidad_e"));
  platform::SetDriveMap(unidades);
  struct Caso {
    char letra;
    std::vector<std::string> sucesos;
    std::string carpeta;
    int cambios;
  };
  const std::vector<Caso> casos = {
      {'C', {}, "C:\\ESCOLAN", 0},                           // the list's own drive: no change, no staging
      {'D', {"error: Error de E/S 21"}, "C:\\ESCOLAN", 0},   // not ready: the error, and the list stays
      {'E', {}, "E:\\", 1},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.letra);
    InterfazGuionada interfaz;
    ventana::VentanaPrincipal ventana(engine_, interfaz);
    platform::SetCurrentFolder("C:\\ESCOLAN");
    int cambios = 0;
    ventana.AlCambiarCarpeta([&cambios] { ++cambios; });
    const std::vector<char>& letras = ventana.Unidades();
    const auto letra = std::find(letras.begin(), letras.end(), caso.letra);
    ASSERT_NE(letra, letras.end());
    ventana.ElegirUnidad(static_cast<int>(letra - letras.begin()));
    EXPECT_EQ(interfaz.sucesos, caso.sucesos);
    EXPECT_EQ(ventana.Directorio(), caso.carpeta);
    EXPECT_EQ(letras[static_cast<std::size_t>(ventana.UnidadActual())], caso.carpeta.front());
    EXPECT_EQ(cambios, caso.cambios);
  }
  EXPECT_EQ(ventana::VentanaPrincipal::NombreDeUnidad('E'), "e:");
}

}  // namespace
