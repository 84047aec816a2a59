// The backups of the school's timetables in C:\HTEMP\COPIAS: which are listed and how, and restoring one, with
// its refusals, on a temporary drive C: with a scripted user.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "import/copias.h"
#include "import/devolucion.h"
#include "run/bloqueo.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"
#include "sesion/sesion.h"

namespace {

namespace fs = std::filesystem;

using testing_support::InterfazGuionada;

// A timetable of `clases` lessons (its records), as the table layer writes one.
void EscribirHorario(storage::Engine& engine, const std::string& ruta, int clases) {
  testing_support::Filas filas;
  for (int i = 1; i <= clases; ++i) filas.push_back({std::to_string(i)});
  testing_support::CrearTabla(engine, ruta, {{"DIA", storage::DataType::ftInteger}}, filas);
}

class CopiasTest : public ::testing::Test {
 protected:
  // A backup folder under C:\HTEMP\COPIAS: each timetable with so many lessons (none: missing; -1: bytes that
  // are no table), ORIGEN.TXT naming `origen` (none when empty), and a journal when `sinTerminar`.
  void Copia(const std::string& sello, const std::string& origen, int horgrup, int horprof, bool sinTerminar = false) {
    const std::string carpeta = "HTEMP/COPIAS/" + sello;
    unidad_.MakeHostFolder(carpeta);
    for (const auto& [archivo, clases] : {std::pair{"horgrup.dbf", horgrup}, std::pair{"horprof.dbf", horprof}}) {
      if (clases < 0) unidad_.WriteHostFile(carpeta + "/" + archivo, "no es una tabla");
      if (clases > 0) EscribirHorario(engine_, "C:\\HTEMP\\COPIAS\\" + sello + "\\" + archivo, clases);
    }
    engine_.ReleaseAll();
    if (!origen.empty()) unidad_.WriteHostFile(carpeta + "/ORIGEN.TXT", origen + "\r\n");
    if (sinTerminar) unidad_.WriteHostFile(carpeta + "/DIARIO.TXT", "estado=PREPARADA\n");
  }

  testing_support::TemporaryDrive unidad_;
  storage::Engine engine_{','};
};

TEST(SelloDeCopiaTest, ADateAndTimeWithANumberAfterIt) {
  struct Caso {
    const char* texto;
    bool sello;
  };
  const std::vector<Caso> casos = {
      {"20261211-043512", true},   {"20261211-043512-2", true}, {"20261211-043512-12", true},
      {"20261211-04351", false},   {"20261211043512", false},   {"20261211-043512-", false},
      {"20261211-043512x", false}, {"2026121a-043512", false},  {"", false},
  };
  for (const Caso& caso : casos) EXPECT_EQ(importacion::EsSelloDeCopia(caso.texto), caso.sello) << caso.texto;
}

// The school's backups, newest first (a second one of one second after the first); another school's, a folder
// that is no backup and an unfinished one are left out; a backup missing a file or holding a damaged one is
// listed without its lessons.
TEST_F(CopiasTest, TheSchoolsBackupsNewestFirst) {
  Copia("20261201-101010", "C:\\ESCOLAN", 135, 165);
  Copia("20261205-090000", "C:\\ESCOLAN", 120, 0);
  Copia("20261205-090000-2", "c:\\escolan", 121, 150);
  Copia("20261208-060000", "C:\\ESCOLAN", -1, 10);
  Copia("20261203-080000", "C:\\OTRA", 5, 5);
  Copia("20261209-070000", "C:\\ESCOLAN", 7, 7, true);
  Copia("20261210-070000", "", 7, 7);
  Copia("otra", "C:\\ESCOLAN", 7, 7);

  std::vector<std::string> lineas;
  for (const importacion::CopiaHorarios& copia : importacion::CopiasDeCarpeta(engine_, "C:\\ESCOLAN")) {
    lineas.push_back(importacion::LineaDeCopia(copia));
  }
  EXPECT_EQ(lineas, (std::vector<std::string>{
                        "20261208-060000  08/12/2026 06:00:00  horgrup: falta  horprof: 10 clases  C:\\ESCOLAN",
                        "20261205-090000-2  05/12/2026 09:00:00  horgrup: 121 clases  horprof: 150 clases  c:\\escolan",
                        "20261205-090000  05/12/2026 09:00:00  horgrup: 120 clases  horprof: falta  C:\\ESCOLAN",
                        "20261201-101010  01/12/2026 10:10:10  horgrup: 135 clases  horprof: 165 clases  C:\\ESCOLAN",
                    }));
  EXPECT_TRUE(importacion::CopiasDeCarpeta(engine_, "C:\\NINGUNA").empty());
}

// A restore puts the backup's pair back byte for byte and keeps the pair it replaced in a new backup; every
// refusal changes nothing.
TEST_F(CopiasTest, ARestoreOrItsRefusal) {
  struct Caso {
    const char* nombre;
    const char* sello;
    const char* soloLectura;  // a timetable of the school that is read-only
    bool otraEjecucion;       // another run holds the lock
    std::string error;        // empty when it is restored
  };
  const std::vector<Caso> casos = {
      {"restored", "20261201-101010", nullptr, false, ""},
      {"unknown backup", "20261101-101010", nullptr, false,
       "No hay ninguna copia 20261101-101010 de los horarios de C:\\ESCOLAN: no se ha cambiado ningún horario."},
      {"another folder's backup", "20261203-080000", nullptr, false,
       "No hay ninguna copia 20261203-080000 de los horarios de C:\\ESCOLAN: no se ha cambiado ningún horario."},
      {"a backup missing a file", "20261205-090000", nullptr, false,
       "La copia 20261205-090000 no tiene horprof.dbf completo: no se ha cambiado ningún horario."},
      {"a read-only timetable", "20261201-101010", "horprof.dbf", false, "Acceso al archivo denegado"},
      {"another run", "20261201-101010", nullptr, true, run::kMensajeOtraEjecucion},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    fs::remove_all(unidad_.Host("HTEMP/COPIAS"));
    fs::remove_all(unidad_.Host("ESCOLAN"));
    Copia("20261201-101010", "C:\\ESCOLAN", 3, 4);
    Copia("20261203-080000", "C:\\OTRA", 5, 5);
    Copia("20261205-090000", "C:\\ESCOLAN", 6, 0);
    unidad_.MakeHostFolder("ESCOLAN");
    unidad_.WriteHostFile("ESCOLAN/horgrup.dbf", "horgrup de ahora");
    unidad_.WriteHostFile("ESCOLAN/horprof.dbf", "horprof de ahora");
    if (caso.soloLectura) fs::permissions(unidad_.Host(std::string("ESCOLAN/") + caso.soloLectura), fs::perms::owner_read);
    const auto copiasAntes = unidad_.HostEntries("HTEMP/COPIAS");

    InterfazGuionada interfaz;
    sesion::Sesion sesion(engine_, interfaz);
    sesion.CambiarCarpeta("C:\\ESCOLAN");
    std::optional<run::BloqueoEjecucion> otra;
    if (caso.otraEjecucion) otra.emplace();
    const bool restaurada = run::EjecutarManejador(interfaz, [&] { sesion.RestaurarCopia(caso.sello); });
    otra.reset();
    if (caso.soloLectura) {
      fs::permissions(unidad_.Host(std::string("ESCOLAN/") + caso.soloLectura), fs::perms::owner_write,
                      fs::perm_options::add);
    }

    EXPECT_EQ(restaurada, caso.error.empty());
    if (!caso.error.empty()) {
      EXPECT_EQ(interfaz.sucesos, (std::vector<std::string>{"error: " + caso.error}));
      EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/horgrup.dbf"), "horgrup de ahora");
      EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/horprof.dbf"), "horprof de ahora");
      EXPECT_EQ(unidad_.HostEntries("HTEMP/COPIAS"), copiasAntes);
      continue;
    }
    for (const char* archivo : {"horgrup.dbf", "horprof.dbf"}) {
      EXPECT_EQ(unidad_.ReadHostFile(std::string("ESCOLAN/") + archivo),
                unidad_.ReadHostFile(std::string("HTEMP/COPIAS/20261201-101010/") + archivo));
    }
    std::vector<importacion::CopiaHorarios> copias = importacion::CopiasDeCarpeta(engine_, "C:\\ESCOLAN");
    ASSERT_EQ(copias.size(), 3u);  // the new one first, with the pair it replaced
    EXPECT_EQ(unidad_.ReadHostFile("HTEMP/COPIAS/" + copias[0].sello + "/horgrup.dbf"), "horgrup de ahora");
    EXPECT_EQ(unidad_.ReadHostFile("HTEMP/COPIAS/" + copias[0].sello + "/horprof.dbf"), "horprof de ahora");
    EXPECT_EQ(interfaz.sucesos, (std::vector<std::string>{
                                    "mensaje: Se han restaurado los horarios de la copia 20261201-101010 en "
                                    "C:\\ESCOLAN. Los que había están guardados en C:\\HTEMP\\COPIAS\\" +
                                    copias[0].sello + "."}));
  }
}

// An interrupted copy back journals only the school's pair: a journal that names another file, or one of the
// pair twice, is damaged, and the recovery stops with its message without touching any file it names.
TEST_F(CopiasTest, AJournalNamingOtherFilesIsDamagedAndItsFilesAreLeftAlone) {
  const std::string sello = "20261201-101010";
  const std::vector<std::string> archivos = {"archivo=alumnos.dbf;0\n", "archivo=horgrup.d;1\n",
                                             "archivo=..\\ESCOLAN\\alumnos.dbf;0\n",
                                             "archivo=horgrup.dbf;1\narchivo=horgrup.dbf;0\n"};
  for (const char* estado : {"PREPARADA", "CONFIRMADA", "DESHACIENDO"}) {
    for (const std::string& archivo : archivos) {
      SCOPED_TRACE(std::string(estado) + " " + archivo);
      unidad_.WriteHostFile("ESCOLAN/alumnos.dbf", "alumnos");
      unidad_.WriteHostFile("ESCOLAN/horgrup.d", "otro");
      unidad_.WriteHostFile("ESCOLAN/~copia-alumnos-" + sello + ".tmp", "temporal");
      unidad_.WriteHostFile("ESCOLAN/~copia-horgrup-" + sello + ".tmp", "temporal");
      unidad_.WriteHostFile("HTEMP/COPIAS/" + sello + "/DIARIO.TXT",
                            std::string("estado=") + estado + "\norigen=C:\\ESCOLAN\n" + archivo);
      std::string error;
      try {
        importacion::RecuperarDevolucionInterrumpida();
      } catch (const std::runtime_error& e) {
        error = e.what();
      }
      EXPECT_EQ(error, "El diario de la copia de los horarios está dañado: C:\\HTEMP\\COPIAS\\" + sello + "\\DIARIO.TXT");
      EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/alumnos.dbf"), "alumnos");
      EXPECT_EQ(unidad_.ReadHostFile("ESCOLAN/horgrup.d"), "otro");
      EXPECT_EQ(unidad_.HostEntries("ESCOLAN"),
                (std::vector<std::string>{"alumnos.dbf", "horgrup.d", "~copia-alumnos-" + sello + ".tmp",
                                          "~copia-horgrup-" + sello + ".tmp"}));
    }
  }
}

}  // namespace
