// The window menu's orders and what follows a run, without widgets: the problems dialog after an export that
// stops and from the menu, the question after an import and the page it opens, the backups dialog's rows,
// page and restore. On the small sample school on a temporary drive C:, with a scripted user, and a stand-in
// for the browser that notes what it was given.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "muestra/muestra_escolan.h"
#include "platform/drive_map.h"
#include "platform/platform.h"
#include "run/rutas.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"
#include "ventana/copias.h"
#include "ventana/ventana_principal.h"

namespace {

namespace fs = std::filesystem;

using testing_support::InterfazGuionada;

// The toolkit's dialogs as a test sees them: each shown dialog and question noted among the user's events,
// the question answered as told, and what a shown dialog held kept for the test.
class DialogosGuionados : public ventana::Dialogos {
 public:
  explicit DialogosGuionados(InterfazGuionada& interfaz) : interfaz_(interfaz) {}

  bool respuesta = true;
  std::vector<std::string> preguntas;
  std::vector<ventana::FilaProblema> filas;
  std::string resumen;
  std::function<void(ventana::DialogoCopias&)> alMostrarCopias;

  void MostrarProblemas(ventana::DialogoProblemas& dialogo) override {
    interfaz_.sucesos.push_back("problemas: " + std::to_string(dialogo.Filas().size()));
    filas = dialogo.Filas();
    resumen = dialogo.Resumen();
  }
  void MostrarCopias(ventana::DialogoCopias& dialogo) override {
    interfaz_.sucesos.push_back("copias: " + std::to_string(dialogo.Copias().size()));
    if (alMostrarCopias) alMostrarCopias(dialogo);
  }
  bool Preguntar(const std::string& texto) override {
    interfaz_.sucesos.push_back("pregunta");
    preguntas.push_back(texto);
    return respuesta;
  }

 private:
  InterfazGuionada& interfaz_;
};

// A stand-in for the browser: a script that notes each document it is given, one per line.
class NavegadorDePrueba {
 public:
  // With `abre` false, the program named is not there: nothing can be started.
  explicit NavegadorDePrueba(const testing_support::TemporaryDrive& unidad, bool abre = true)
      : notas_(unidad.Root() + "/abiertos.txt"), script_(unidad.Root() + "/navegador.sh") {
    std::ofstream(script_) << "#!/bin/sh\necho \"$1\" >> '" << notas_ << "'\n";
    fs::permissions(script_, fs::perms::owner_all);
    ::setenv("ESCOLAN_HORVANE_OPENER", abre ? script_.c_str() : "/no/hay/navegador", 1);
  }
  ~NavegadorDePrueba() { ::unsetenv("ESCOLAN_HORVANE_OPENER"); }

  // The documents opened so far. The stand-in runs apart from the program, as a browser would: it is given
  // up to ten seconds to note `esperados` of them.
  std::vector<std::string> Abiertos(std::size_t esperados = 1) const {
    std::vector<std::string> abiertos;
    for (int intento = 0; intento < 1000; ++intento) {
      abiertos.clear();
      std::ifstream entrada(notas_);
      for (std::string linea; std::getline(entrada, linea);) abiertos.push_back(linea);
      if (abiertos.size() >= esperados) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return abiertos;
  }

 private:
  std::string notas_;
  std::string script_;
};

// "C:\\HTEMP\\x.html" as the drive's helpers name it: "HTEMP/x.html".
std::string HostRelativa(std::string ruta) {
  ruta.erase(0, 3);
  for (char& c : ruta) c = c == '\\' ? '/' : c;
  return ruta;
}

std::string Texto(const std::vector<std::string>& sucesos) {
  std::string texto;
  for (const std::string& suceso : sucesos) texto += suceso + "\n";
  return texto;
}

class DialogosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    muestra::EscribirMuestraEscolan("C:\\ESCOLAN", muestra::TamanoMuestra::kPequena);
    platform::SetCurrentFolder("C:\\ESCOLAN");
    ventana_.PonerDialogos(&dialogos_);
  }

  // The first subject of asignat made to give its weekly hours as "3:30", which the export stops on.
  std::uint32_t HorasQueDetienenLaExportacion() {
    storage::Table asignat(engine_);
    asignat.SetTableName("C:\\ESCOLAN\\asignat.dbf");
    asignat.Open();
    asignat.First();
    std::uint32_t registro = asignat.RecNo();
    asignat.Edit();
    asignat.SetAsString("Horsemte", "3:30");
    asignat.Post();
    asignat.Close();
    engine_.ReleaseAll();
    return registro;
  }

  // An export, identity numbers for every teacher, a solution and one complete import of it: the folder then
  // has a backup of its first pair in C:\HTEMP\COPIAS.
  void ExportarEImportar() {
    ventana_.Sesion().PrepararCarpeta("C:\\ESCOLAN");
    ventana_.LeerCentros();
    ventana_.PulsarExportar(ventana::kIdiomaInicial);
    ASSERT_EQ(Texto(interfaz_.sucesos).find("error"), std::string::npos) << Texto(interfaz_.sucesos);
    testing_support::DarDniATodos(engine_);
    ASSERT_EQ(testing_support::EscribirSolucionDesdeAsigt(engine_, 12), 12);
    engine_.ReleaseAll();
    antes_ = Par();
    interfaz_.sucesos.clear();
    ventana_.PulsarImportar();
    ASSERT_NE(Par(), antes_) << Texto(interfaz_.sucesos);
  }

  std::string Par() { return unidad_.ReadHostFile("ESCOLAN/horgrup.dbf") + unidad_.ReadHostFile("ESCOLAN/horprof.dbf"); }

  testing_support::TemporaryDrive unidad_;
  storage::Engine engine_{','};
  InterfazGuionada interfaz_;
  DialogosGuionados dialogos_{interfaz_};
  ventana::VentanaPrincipal ventana_{engine_, interfaz_};
  std::string antes_;
};

// The stop message comes first and unchanged; the problems dialog follows it with every problem, among them
// the subject's weekly hours with the value the field holds beside the export's message.
TEST_F(DialogosTest, AnExportThatStopsShowsEveryProblemAfterItsMessage) {
  const std::uint32_t registro = HorasQueDetienenLaExportacion();
  ventana_.Sesion().PrepararCarpeta("C:\\ESCOLAN");
  ventana_.PulsarExportar(ventana::kIdiomaInicial);

  // The stop message, then the review (under the hourglass), then the dialog.
  std::vector<std::string> errores;
  for (const std::string& suceso : interfaz_.sucesos) {
    if (suceso.rfind("error: ", 0) == 0) errores.push_back(suceso);
  }
  ASSERT_EQ(errores.size(), 1u) << Texto(interfaz_.sucesos);
  const std::string parada = errores[0];
  EXPECT_EQ(interfaz_.sucesos.back(), "problemas: " + std::to_string(dialogos_.filas.size()));
  EXPECT_FALSE(interfaz_.cursorEspera);

  const ventana::FilaProblema* horas = nullptr;
  for (const ventana::FilaProblema& fila : dialogos_.filas) {
    if (fila.tabla == "asignat.dbf" && fila.campo == "Horsemte") horas = &fila;
  }
  ASSERT_NE(horas, nullptr);
  EXPECT_EQ(horas->registro, std::to_string(registro));
  EXPECT_EQ(horas->valor, "3:30");
  EXPECT_NE(horas->queOcurre.find("3:"), std::string::npos) << horas->queOcurre;
  EXPECT_NE(horas->queOcurre.find("la exportación se detendrá aquí"), std::string::npos) << horas->queOcurre;
  // The stop message is the problem's own.
  EXPECT_NE(horas->queOcurre.find(parada.substr(7)), std::string::npos) << parada << "\n" << horas->queOcurre;
  EXPECT_EQ(dialogos_.resumen, "C:\\ESCOLAN: " + std::to_string(dialogos_.filas.size()) + " problemas encontrados.");
}

TEST_F(DialogosTest, AnExportThatEndsShowsNoDialog) {
  ventana_.Sesion().PrepararCarpeta("C:\\ESCOLAN");
  ventana_.PulsarExportar(ventana::kIdiomaInicial);
  EXPECT_EQ(Texto(interfaz_.sucesos).find("problemas"), std::string::npos) << Texto(interfaz_.sucesos);
  EXPECT_EQ(Texto(interfaz_.sucesos).find("error"), std::string::npos) << Texto(interfaz_.sucesos);
}

// An export stopped by something other than the data (a full disk) shows its message only, although the
// folder has problems of its own (the sample's teachers without an identity number).
TEST_F(DialogosTest, AnExportStoppedByAnythingElseShowsOnlyItsMessage) {
  HorasQueDetienenLaExportacion();
  ventana_.Sesion().PrepararCarpeta("C:\\ESCOLAN");
  ventana_.Sesion().PonerPasosExportacion({{"ExportarAsignaturas", [](exportacion::ContextoExportacion&) {
    throw storage::DatabaseError("Error de E/S 112: C:\\HTEMP\\ASIGVALT.DBF");
  }}});
  ventana_.PulsarExportar(ventana::kIdiomaInicial);
  EXPECT_EQ(std::count(interfaz_.sucesos.begin(), interfaz_.sucesos.end(), "error: Error de E/S 112: C:\\HTEMP\\ASIGVALT.DBF"), 1)
      << Texto(interfaz_.sucesos);
  EXPECT_EQ(Texto(interfaz_.sucesos).find("problemas"), std::string::npos) << Texto(interfaz_.sucesos);
}

// From the menu at any time, for the folder and language of the window; nothing in the folder changes.
TEST_F(DialogosTest, TheMenuListsTheProblemsOfTheFolderAsItIs) {
  const std::string asignat = unidad_.ReadHostFile("ESCOLAN/asignat.dbf");
  ventana_.EjecutarOrden(ventana::OrdenMenu::kRevisarDatos);
  ASSERT_EQ(interfaz_.sucesos.back(), "problemas: " + std::to_string(dialogos_.filas.size())) << Texto(interfaz_.sucesos);
  // The sample's two teachers without an identity number, with the number the field holds.
  int sinDni = 0;
  for (const ventana::FilaProblema& fila : dialogos_.filas) {
    if (fila.tabla == "profesor.dbf" && fila.campo == "Dni" && fila.queOcurre.find("no tiene D.N.I.") != std::string::npos) {
      ++sinDni;
      EXPECT_TRUE(fila.valor.empty() || fila.valor == "0") << fila.valor;
    }
  }
  EXPECT_EQ(sinDni, 2);
  EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/asignat.dbf"), asignat);
}

// The list as text: the title, the summary, then one line per problem with its value; saved as UTF-8 with its
// byte order mark and Windows line ends; a file that cannot be written is the interface's error.
TEST_F(DialogosTest, TheListAsTextCopiedAndSaved) {
  diagnostico::Problema horas{"asignat.dbf", 12, "Horsemte", "'3:' no es un valor válido: la exportación se detendrá aquí", "3:30"};
  diagnostico::Problema memo{"alumnos.fpt", 0, "", "falta el archivo de memos", ""};
  ventana::DialogoProblemas dialogo(interfaz_, "C:\\ESCOLAN", {horas, memo});
  const std::string esperado =
      "Problemas en los datos de ESCOLAN\r\nC:\\ESCOLAN: 2 problemas encontrados.\r\n\r\n"
      "asignat.dbf, registro 12, campo Horsemte ('3:30'): '3:' no es un valor válido: la exportación se detendrá aquí\r\n"
      "alumnos.fpt: falta el archivo de memos\r\n";
  EXPECT_EQ(dialogo.Texto(), esperado);
  EXPECT_EQ(dialogo.Filas()[0].registro, "12");
  EXPECT_EQ(dialogo.Filas()[1].registro, "");

  ASSERT_TRUE(dialogo.Guardar("C:\\problemas.txt")) << Texto(interfaz_.sucesos);
  EXPECT_EQ(unidad_.ReadHostFile("problemas.txt"), "\xEF\xBB\xBF" + esperado);
  EXPECT_FALSE(dialogo.Guardar("C:\\NO\\HAY\\problemas.txt"));
  EXPECT_EQ(interfaz_.sucesos.back().rfind("error: ", 0), 0u) << Texto(interfaz_.sucesos);

  ventana::DialogoProblemas ninguno(interfaz_, "C:\\ESCOLAN", {});
  EXPECT_EQ(ninguno.Resumen(), "C:\\ESCOLAN: Ningún problema: la carpeta se puede exportar.");
}

// After the closing message: where the backup and the page are, and the question; Sí opens the page.
TEST_F(DialogosTest, AfterAnImportTheQuestionOpensTheNewTimetables) {
  NavegadorDePrueba navegador(unidad_);
  ASSERT_NO_FATAL_FAILURE(ExportarEImportar());
  const std::string& copia = ventana_.Sesion().CopiaUltimaImportacion();
  const std::string& pagina = ventana_.Sesion().PaginaUltimaImportacion();
  ASSERT_EQ(copia.rfind("C:\\HTEMP\\COPIAS\\", 0), 0u) << copia;
  EXPECT_EQ(pagina, copia + "\\horarios.html");
  ASSERT_GE(interfaz_.sucesos.size(), 2u);
  EXPECT_EQ(interfaz_.sucesos.back(), "pregunta") << Texto(interfaz_.sucesos);
  EXPECT_EQ(interfaz_.sucesos[interfaz_.sucesos.size() - 2].rfind("mensaje:     Proceso finalizado", 0), 0u)
      << Texto(interfaz_.sucesos);
  EXPECT_EQ(dialogos_.preguntas.back(), "Los horarios que había están guardados en " + copia +
                                            ".\nLa página para imprimir los horarios nuevos es " + pagina +
                                            ".\n\n¿Desea ver los horarios ahora?");
  EXPECT_EQ(navegador.Abiertos(), std::vector<std::string>{unidad_.Host(HostRelativa(pagina))});
}

// The menu's "Ver los horarios…": the folder's page under C:\HTEMP\HORARIOS, never in ESCOLAN's folder, opened;
// a page that nothing could open is said so.
TEST_F(DialogosTest, TheFoldersPageWrittenUnderHtempAndOpened) {
  const std::vector<std::string> antes = unidad_.HostEntries("ESCOLAN");
  {
    NavegadorDePrueba navegador(unidad_);
    ventana_.EjecutarOrden(ventana::OrdenMenu::kVerHorarios);
    EXPECT_EQ(navegador.Abiertos(), std::vector<std::string>{unidad_.Host("HTEMP/HORARIOS/horarios.html")})
        << Texto(interfaz_.sucesos);
  }
  EXPECT_NE(unidad_.ReadHostFile("HTEMP/HORARIOS/horarios.html").find("<html"), std::string::npos);
  EXPECT_EQ(unidad_.HostEntries("ESCOLAN"), antes);
  EXPECT_FALSE(interfaz_.cursorEspera);

  NavegadorDePrueba sinNavegador(unidad_, false);
  ventana_.EjecutarOrden(ventana::OrdenMenu::kVerHorarios);
  EXPECT_EQ(interfaz_.sucesos.back(), "error: No se ha podido abrir C:\\HTEMP\\HORARIOS\\horarios.html con el "
                                      "navegador. Ábrala desde el navegador para verla o imprimirla.");
}

// The backups dialog: the import's backup listed; its page shows the old timetables with the school's names;
// "Restaurar" asks naming the date and folder, does nothing on No, and on Sí puts the old pair back and lists
// the backup of the pair it replaced as well.
TEST_F(DialogosTest, TheBackupsDialogShowsAndRestoresABackup) {
  NavegadorDePrueba navegador(unidad_);
  dialogos_.respuesta = false;
  ASSERT_NO_FATAL_FAILURE(ExportarEImportar());
  const std::string nuevo = Par();

  dialogos_.alMostrarCopias = [&](ventana::DialogoCopias& dialogo) {
    ASSERT_EQ(dialogo.Copias().size(), 1u);
    const importacion::CopiaHorarios copia = dialogo.Copias()[0];
    EXPECT_EQ(dialogo.Seleccionada(), 0);
    EXPECT_TRUE(dialogo.Completa(0));
    EXPECT_EQ(dialogo.Celda(0, 0), importacion::TextoFecha(copia.fecha));
    EXPECT_EQ(dialogo.Celda(0, 4), "C:\\ESCOLAN");
    EXPECT_EQ(dialogo.Resumen(), "Copias de los horarios de C:\\ESCOLAN en C:\\HTEMP\\COPIAS, la más reciente primero: 1.");

    dialogo.VerHorarios();
    const std::string pagina = "HTEMP/HORARIOS/copia-" + copia.sello + ".html";
    EXPECT_EQ(navegador.Abiertos(), std::vector<std::string>{unidad_.Host(pagina)}) << Texto(interfaz_.sucesos);
    EXPECT_NE(unidad_.ReadHostFile(pagina).find("<html"), std::string::npos);

    dialogos_.respuesta = false;
    EXPECT_FALSE(dialogo.Restaurar());
    EXPECT_EQ(Par(), nuevo);
    EXPECT_EQ(dialogos_.preguntas.back(), "¿Desea restaurar los horarios de la copia del " +
                                              importacion::TextoFecha(copia.fecha) + " a las " +
                                              importacion::TextoHora(copia.fecha) +
                                              " en C:\\ESCOLAN? Los horarios que hay ahora se guardarán antes en "
                                              "una copia nueva.");

    dialogos_.respuesta = true;
    EXPECT_TRUE(dialogo.Restaurar()) << Texto(interfaz_.sucesos);
    EXPECT_EQ(Par(), antes_);
    EXPECT_EQ(dialogo.Copias().size(), 2u);
  };
  ventana_.EjecutarOrden(ventana::OrdenMenu::kCopiasHorarios);
  EXPECT_EQ(interfaz_.sucesos.back().rfind("mensaje: Se han restaurado los horarios de la copia", 0), 0u)
      << Texto(interfaz_.sucesos);
}

// The menu's "Ayuda": the manual's index page where the program's installation keeps it, beside the program's
// folder as an installation under a prefix lays it out (the build tree holds a copy there too), handed to the
// browser; a manual missing there is said so, naming the page looked for, and nothing is opened.
TEST_F(DialogosTest, TheManualOpenedFromWhereTheProgramIsInstalled) {
  const fs::path pagina =
      fs::canonical("/proc/self/exe").parent_path().parent_path() / "share/escolan-horvane/manual/index.html";
  ASSERT_TRUE(fs::is_regular_file(pagina)) << pagina;
  EXPECT_EQ(sesion::RutaManual(), platform::WindowsPathOfHost(pagina.string()));
  {
    NavegadorDePrueba navegador(unidad_);
    ventana_.EjecutarOrden(ventana::OrdenMenu::kManual);
    EXPECT_EQ(navegador.Abiertos(), std::vector<std::string>{pagina.string()}) << Texto(interfaz_.sucesos);
    EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{});
  }

  fs::remove(unidad_.Root() + "/abiertos.txt");
  NavegadorDePrueba navegador(unidad_);
  ventana_.Sesion().PonerManual("C:\\Archivos de programa\\ESCOLAN-Horvane\\manual\\index.html");
  ventana_.EjecutarOrden(ventana::OrdenMenu::kManual);
  EXPECT_EQ(interfaz_.sucesos, std::vector<std::string>{"error: No se encuentra el manual de uso: falta C:\\Archivos de "
                                                        "programa\\ESCOLAN-Horvane\\manual\\index.html. Vuelva a "
                                                        "instalar el programa para recuperarlo."});
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(navegador.Abiertos(0), std::vector<std::string>{});
}

TEST(MenuVentanaTest, EachShortcutRunsItsItem) {
  struct Caso {
    char letra;
    const ventana::ElementoMenu* elemento;
  };
  // No letter finds the manual, whose shortcut has none (F1).
  const std::vector<Caso> casos = {{'R', &ventana::kMenuVentana[0]}, {'h', &ventana::kMenuVentana[1]},
                                   {'K', &ventana::kMenuVentana[2]}, {'i', &ventana::kMenuVentana[4]},
                                   {'X', nullptr},                   {'1', nullptr},
                                   {'\0', nullptr}};
  for (const Caso& caso : casos) EXPECT_EQ(ventana::ElementoDeAtajo(caso.letra), caso.elemento) << caso.letra;
  EXPECT_EQ(ventana::TextoAtajo(ventana::kMenuVentana[0]), "Ctrl+R");

  ASSERT_EQ(ventana::kMenuVentana[3].orden, ventana::OrdenMenu::kManual);
  EXPECT_EQ(ventana::ElementoDeTeclaFuncion(1), &ventana::kMenuVentana[3]);
  EXPECT_EQ(ventana::ElementoDeTeclaFuncion(0), nullptr);
  EXPECT_EQ(ventana::ElementoDeTeclaFuncion(2), nullptr);
  EXPECT_EQ(ventana::TextoAtajo(ventana::kMenuVentana[3]), "F1");
}

}  // namespace
