// The import's copy back under injected file faults and under kills, and the one-run-at-a-time lock, on the
// small sample school (tests/import/devolucion_de_prueba.h): a kill here is a signal the child sends itself.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <random>
#include <set>

#include "tests/import/devolucion_de_prueba.h"
#include "tests/support/child_process.h"
#include "ventana/ventana_principal.h"

namespace {

using namespace devolucion_testing;
using importacion::FinImportacion;
using platform::FileOperation;
using testing_support::InterfazGuionada;

// Runs the import in a forked child that kills itself with SIGKILL at file operation `muerte`, after
// making operation `fallo` fail (none when 0). Gives how the child ended (256 + the signal when killed).
int ImportarHastaMorir(std::size_t muerte, std::size_t fallo = 0) {
  return testing_support::RunInChild([&] {
    std::size_t cuenta = 0;
    DevolucionTest::Importar([&](FileOperation, std::string_view) {
      ++cuenta;
      if (cuenta == fallo) throw platform::FileError(platform::kIoDevice);
      if (cuenta == muerte) ::kill(::getpid(), SIGKILL);
    });
    return 0;
  });
}

// ---------------------------------------------------------------------------------------------------------
// A failing file operation

// Every file operation of the import, one run each, fails in turn with one of a few Windows codes, until a
// run goes through without reaching its fault. A run that fails tells the user once and leaves the school's
// pair as it was; a run that absorbs its fault (a delete that may fail) ends with the new pair.
TEST_F(DevolucionTest, AFaultAtAnyFileOperationLeavesTheOldPairAndOneErrorMessage) {
  const std::vector<Operacion> operaciones = OperacionesDeUnaImportacion();
  Reponer();
  const std::size_t primeraDeLaCopia = Buscar(operaciones, FileOperation::kCreateFolder, EnCarpetaCopias);
  ASSERT_NE(primeraDeLaCopia, 0u);
  const int codigos[] = {platform::kSharingViolation, platform::kDiskFull, platform::kAccessDenied,
                         platform::kIoDevice};

  std::size_t fallidas = 0;
  std::size_t fallidasEnLaCopia = 0;  // after the backup folder was made
  std::size_t absorbidas = 0;
  std::set<std::string> destinosFallidos;  // the moves over the school's files whose fault failed the run
  std::size_t n = 1;
  for (;; ++n) {
    const int codigo = codigos[n % std::size(codigos)];
    std::size_t cuenta = 0;
    std::optional<Operacion> alcanzada;
    Resultado resultado = Importar([&](FileOperation tipo, std::string_view ruta) {
      if (++cuenta != n) return;
      alcanzada = Operacion{tipo, std::string(ruta)};
      throw platform::FileError(codigo);
    });
    if (!alcanzada) {
      EXPECT_EQ(resultado.fin, FinImportacion::kCompleta) << Texto(resultado.sucesos);
      EXPECT_TRUE(ParDeEscolan() == nuevo_) << Estado(ParDeEscolan());
      break;
    }
    SCOPED_TRACE("error " + std::to_string(codigo) + " at operation " + std::to_string(n) + ", " +
                 Describir(*alcanzada));
    // Every run takes the same operations as the one counted: the fault hits the operation it is meant for.
    ASSERT_LE(n, operaciones.size());
    ASSERT_EQ(alcanzada->tipo, operaciones[n - 1].tipo) << Describir(operaciones[n - 1]);

    const Par par = ParDeEscolan();
    EXPECT_TRUE(par == viejo_ || par == nuevo_) << Estado(par);
    EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
    if (resultado.fin) {
      ++absorbidas;
      EXPECT_EQ(resultado.fin, FinImportacion::kCompleta);
      EXPECT_TRUE(par == nuevo_) << Estado(par);
      EXPECT_EQ(Contar(resultado.sucesos, kError), 0u) << Texto(resultado.sucesos);
      EXPECT_EQ(Contar(resultado.sucesos, kCierre), 1u) << Texto(resultado.sucesos);
    } else {
      ++fallidas;
      EXPECT_TRUE(par == viejo_) << Estado(par);
      EXPECT_EQ(Contar(resultado.sucesos, kError), 1u) << Texto(resultado.sucesos);
      EXPECT_EQ(Contar(resultado.sucesos, kCierre), 0u) << Texto(resultado.sucesos);
      // Undone whole: no journal stays to make the next start report an interrupted copy back.
      EXPECT_EQ(Diarios(), Nombres{});
      if (!Copias().empty()) ++fallidasEnLaCopia;
      if (alcanzada->tipo == FileOperation::kRename && EsDestino(alcanzada->ruta)) {
        destinosFallidos.insert(std::string(platform::FileNamePart(alcanzada->ruta)));
      }
    }
    Reponer();
  }

  EXPECT_EQ(n - 1, operaciones.size());
  // The faults reached the copy back, its moves over the school's files included (the second one after the
  // first had replaced its target).
  EXPECT_GT(fallidasEnLaCopia, 0u);
  EXPECT_EQ(destinosFallidos, (std::set<std::string>{"horgrup.dbf", "horprof.dbf"}));
  RecordProperty("runs", static_cast<int>(n));
  RecordProperty("failed", static_cast<int>(fallidas));
  RecordProperty("absorbed", static_cast<int>(absorbidas));
  RecordProperty("failed_in_copy_back", static_cast<int>(fallidasEnLaCopia));
}

// ---------------------------------------------------------------------------------------------------------
// A kill, and the next start

// The import is killed (SIGKILL, no clean-up of any kind) at each of the copy back's own file operations, and
// at pseudo-random ones across the whole run; the next start's recovery then finishes or undoes the copy back.
// Once the journal says the copy back is confirmed, the way is forward; before, back.
TEST_F(DevolucionTest, AKillAnywhereIsFinishedOrUndoneByTheNextStart) {
  const std::vector<Operacion> operaciones = OperacionesDeUnaImportacion();
  Reponer();
  {
    // Every run takes the same operations: the kill at operation n lands where it is meant to.
    const std::vector<Operacion> otra = OperacionesDeUnaImportacion();
    Reponer();
    ASSERT_EQ(otra.size(), operaciones.size());
    for (std::size_t i = 0; i < otra.size(); ++i) ASSERT_EQ(otra[i].tipo, operaciones[i].tipo) << i + 1;
  }
  const std::size_t total = operaciones.size();
  PuntosDeLaCopia puntos;
  ASSERT_NO_FATAL_FAILURE(BuscarPuntosDeLaCopia(operaciones, puntos));
  const auto [primeraDeLaCopia, respaldoHecho, confirmacion, primerMovimiento, diarioBorrado] = puntos;

  std::vector<std::size_t> muertes;
  for (std::size_t n = primeraDeLaCopia; n <= total; ++n) muertes.push_back(n);
  std::mt19937 azar(20240611);
  std::uniform_int_distribution<std::size_t> cualquiera(1, total);
  for (int i = 0; i < 30; ++i) muertes.push_back(cualquiera(azar));
  ASSERT_GE(muertes.size(), 50u);

  std::size_t nuevos = 0;
  for (std::size_t n : muertes) {
    SCOPED_TRACE("killed at operation " + std::to_string(n) + " of " + std::to_string(total) + ", " +
                 Describir(operaciones[n - 1]));
    ASSERT_EQ(ImportarHastaMorir(n), 256 + SIGKILL);
    bool nuevo = ComprobarSiguienteArranque(n >= respaldoHecho, n > diarioBorrado);
    EXPECT_EQ(nuevo, n > confirmacion);
    nuevos += nuevo ? 1 : 0;
    Reponer();
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(nuevos, 0u);
  EXPECT_LT(nuevos, muertes.size());
  RecordProperty("operations", static_cast<int>(total));
  RecordProperty("copy_back_operations", static_cast<int>(total - primeraDeLaCopia + 1));
  RecordProperty("kills", static_cast<int>(muertes.size()));
  RecordProperty("finished_by_recovery", static_cast<int>(nuevos));
}

// A move over one of the school's files fails, and the import is killed at each operation of the way back
// that follows. Until the journal says "back" the next start finishes the change; from then on it undoes it,
// putting back from the backup what was already replaced.
TEST_F(DevolucionTest, AKillWhileAFailedMoveIsBeingUndoneIsSettledByTheNextStart) {
  const std::vector<Operacion> operaciones = OperacionesDeUnaImportacion();
  Reponer();
  const std::size_t primerMovimiento = Buscar(operaciones, FileOperation::kRename, EsDestino);
  ASSERT_NE(primerMovimiento, 0u);
  const std::size_t segundoMovimiento = Buscar(operaciones, FileOperation::kRename, EsDestino, primerMovimiento);
  ASSERT_NE(segundoMovimiento, 0u);

  std::size_t muertes = 0;
  for (std::size_t fallo : {primerMovimiento, segundoMovimiento}) {
    SCOPED_TRACE("the move at operation " + std::to_string(fallo) + " fails, " + Describir(operaciones[fallo - 1]));
    // The run with the failure alone, to count the way back's operations.
    std::vector<Operacion> conFallo;
    Resultado resultado = Importar([&](FileOperation tipo, std::string_view ruta) {
      conFallo.push_back({tipo, std::string(ruta)});
      if (conFallo.size() == fallo) throw platform::FileError(platform::kIoDevice);
    });
    ASSERT_EQ(resultado.fin, std::nullopt) << Texto(resultado.sucesos);
    ASSERT_TRUE(ParDeEscolan() == viejo_) << Estado(ParDeEscolan());
    Reponer();
    const std::size_t atras = Buscar(conFallo, FileOperation::kRename, [](const std::string& ruta) {
      return EnCarpetaCopias(ruta) && platform::SameName(platform::FileNamePart(ruta), "DIARIO.TXT");
    }, fallo);
    ASSERT_NE(atras, 0u);

    for (std::size_t n = fallo + 1; n <= conFallo.size(); ++n) {
      SCOPED_TRACE("killed at operation " + std::to_string(n) + ", " + Describir(conFallo[n - 1]));
      ASSERT_EQ(ImportarHastaMorir(n, fallo), 256 + SIGKILL);
      EXPECT_EQ(ComprobarSiguienteArranque(true), n <= atras);
      ++muertes;
      Reponer();
      if (HasFatalFailure()) return;
    }
  }
  RecordProperty("kills", static_cast<int>(muertes));
}

// The next start's recovery fails in turn at each of its own file operations, after kills that leave each
// kind of journal. A recovery that fails tells the user once and never leaves the school's folder with one
// file of each that the kill had not left: it keeps its journal, or, when finishing failed after one file of
// the pair was replaced, undoes the copy back first. The start after it settles what is left.
TEST_F(DevolucionTest, ARecoveryThatFailsNeverMixesThePairAndTheStartAfterSettlesIt) {
  const std::vector<Operacion> operaciones = OperacionesDeUnaImportacion();
  Reponer();
  const std::size_t primerMovimiento = Buscar(operaciones, FileOperation::kRename, EsDestino);
  const std::size_t segundoMovimiento = Buscar(operaciones, FileOperation::kRename, EsDestino, primerMovimiento);
  const std::size_t segundoTemporal = Buscar(operaciones, FileOperation::kCreate, [](const std::string& ruta) {
    return EnCarpeta(ruta, run::kCarpetaEscolan) && EsTemporal(std::string(platform::FileNamePart(ruta)));
  }, Buscar(operaciones, FileOperation::kCreate, [](const std::string& ruta) {
    return EnCarpeta(ruta, run::kCarpetaEscolan) && EsTemporal(std::string(platform::FileNamePart(ruta)));
  }));
  ASSERT_TRUE(primerMovimiento != 0 && segundoMovimiento != 0 && segundoTemporal != 0);
  // Where the way back after a failed second move starts: the operation after the journal says "back".
  std::vector<Operacion> conFallo;
  Importar([&](FileOperation tipo, std::string_view ruta) {
    conFallo.push_back({tipo, std::string(ruta)});
    if (conFallo.size() == segundoMovimiento) throw platform::FileError(platform::kIoDevice);
  });
  Reponer();
  const std::size_t atras = Buscar(conFallo, FileOperation::kRename, [](const std::string& ruta) {
    return EnCarpetaCopias(ruta) && platform::SameName(platform::FileNamePart(ruta), "DIARIO.TXT");
  }, segundoMovimiento);
  ASSERT_NE(atras, 0u);

  struct Punto {
    const char* que;
    std::size_t muerte;
    std::size_t fallo;
  };
  const Punto puntos[] = {
      {"prepared, the second new file half copied", segundoTemporal + 3, 0},
      {"confirmed, before the first move", primerMovimiento, 0},
      {"confirmed, between the two moves", segundoMovimiento, 0},
      {"undoing a failed second move", atras + 1, segundoMovimiento},
  };
  std::size_t recuperaciones = 0;
  std::size_t deshechasAlFallar = 0;  // failed recoveries that undid the copy back before the error
  for (const Punto& punto : puntos) {
    for (std::size_t m = 1;; ++m) {
      SCOPED_TRACE(std::string(punto.que) + ": the recovery fails at its operation " + std::to_string(m));
      ASSERT_EQ(ImportarHastaMorir(punto.muerte, punto.fallo), 256 + SIGKILL);
      const Par trasLaMuerte = ParDeEscolan();
      std::size_t cuenta = 0;
      bool alcanzada = false;
      Sucesos sucesos = Recuperar([&](FileOperation, std::string_view) {
        if (++cuenta != m) return;
        alcanzada = true;
        throw platform::FileError(platform::kDiskFull);
      });
      ++recuperaciones;
      const bool fallida = Contar(sucesos, kError) != 0;
      if (fallida) {
        EXPECT_EQ(sucesos.size(), 1u) << Texto(sucesos);
        const Par par = ParDeEscolan();
        if (Diarios().empty()) {
          ++deshechasAlFallar;
          EXPECT_TRUE(par == viejo_) << Estado(par);
          EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
        } else {
          EXPECT_TRUE(par == viejo_ || par == nuevo_ || par == trasLaMuerte)
              << Estado(trasLaMuerte) << " after the kill, " << Estado(par) << " after the recovery";
        }
      } else {
        // The fault was absorbed (a delete that may fail): the recovery went its way and said which.
        const Par par = ParDeEscolan();
        EXPECT_TRUE(par == viejo_ || par == nuevo_) << Estado(par);
        EXPECT_EQ(sucesos, Sucesos{MensajeRecuperacion(par == nuevo_ ? importacion::kMensajeDevolucionCompletada
                                                                    : importacion::kMensajeDevolucionDeshecha)})
            << Estado(par);
        EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
      }
      ComprobarSiguienteArranque(true, !fallida);
      Reponer();
      if (HasFatalFailure() || !alcanzada) break;
    }
  }
  EXPECT_GT(deshechasAlFallar, 0u);
  RecordProperty("recoveries", static_cast<int>(recuperaciones));
}

// ---------------------------------------------------------------------------------------------------------
// One run at a time

// The runs of a window, each a handler that holds the run lock while it works.
struct Intento {
  const char* que;
  std::function<void(ventana::VentanaPrincipal&)> hacer;
};
const Intento kIntentos[] = {
    {"the export button", [](ventana::VentanaPrincipal& v) { v.Exportar(); }},
    {"the import button", [](ventana::VentanaPrincipal& v) { v.Importar(); }},
    {"a folder change", [](ventana::VentanaPrincipal& v) { v.CarpetaCambiada(); }},
    {"the start-up recovery", [](ventana::VentanaPrincipal& v) { v.Sesion().RecuperarCopiaInterrumpida(); }},
    {"the window's creation", [](ventana::VentanaPrincipal& v) { v.Iniciar(); }},
};

// What the user saw of one run of a new window of its own, as the application runs it.
Sucesos EnOtraVentana(const std::function<void(ventana::VentanaPrincipal&)>& hacer) {
  storage::Engine engine(',');
  InterfazGuionada interfaz;
  ventana::VentanaPrincipal ventana(engine, interfaz);
  run::EjecutarManejador(interfaz, [&] { hacer(ventana); });
  return interfaz.sucesos;
}

TEST_F(DevolucionTest, WhileAWindowHoldsARunNoOtherWindowOrProcessStartsOne) {
  // What the runs would change if they went ahead: staging copies the school's grupos over this one, the
  // recovery removes the temporary file, the export rewrites its record, the import stages the school's
  // timetables over the staged ones and then replaces the school's own.
  unidad_.WriteHostFile("HTEMP/VALENCIA/grupos.dbf", "not the school's grupos");
  unidad_.WriteHostFile("HTEMP/VALENCIA/~copia-0badf00d.tmp", "left by an interrupted copy");
  auto contenido = [this] {
    std::map<std::string, std::string> archivos;
    for (const auto& entrada : fs::recursive_directory_iterator(unidad_.Host("HTEMP"))) {
      if (!entrada.is_regular_file()) continue;
      std::string relativa = fs::relative(entrada.path(), unidad_.Root()).string();
      archivos[relativa] = unidad_.ReadHostFile(relativa);
    }
    return archivos;
  };
  const auto antes = contenido();

  storage::Engine engine(',');
  InterfazGuionada interfaz;
  ventana::VentanaPrincipal ventana(engine, interfaz);
  {
    sesion::Sesion::Ejecucion ejecucion(ventana.Sesion());
    for (const Intento& intento : kIntentos) {
      SCOPED_TRACE(intento.que);
      // From another window of this process...
      EXPECT_EQ(EnOtraVentana(intento.hacer), Sucesos{kRechazo});
      EXPECT_TRUE(contenido() == antes);
      EXPECT_TRUE(ParDeEscolan() == viejo_) << Estado(ParDeEscolan());
      // ... and from a window of another process (whose end leaves the lock with its holder).
      EXPECT_EQ(testing_support::RunInChild([&] { return EnOtraVentana(intento.hacer) == Sucesos{kRechazo} ? 0 : 1; }),
                0);
      EXPECT_TRUE(contenido() == antes);
      EXPECT_TRUE(ParDeEscolan() == viejo_) << Estado(ParDeEscolan());
    }
    // The window that holds the run is not kept out by its own lock, and its handler leaves the lock held.
    EXPECT_TRUE(run::EjecutarManejador(interfaz, [&] { ventana.CarpetaCambiada(); })) << Texto(interfaz.sucesos);
    EXPECT_TRUE(Leer("HTEMP/VALENCIA/grupos.dbf") == Leer("ESCOLAN/grupos.dbf"));
    EXPECT_EQ(EnOtraVentana([](ventana::VentanaPrincipal& v) { v.Sesion().RecuperarCopiaInterrumpida(); }), Sucesos{kRechazo});
    EXPECT_EQ(Temporales("HTEMP/VALENCIA"), Nombres{"~copia-0badf00d.tmp"});
  }
  // Once its run ends, another window's goes ahead.
  EXPECT_EQ(EnOtraVentana([](ventana::VentanaPrincipal& v) { v.Sesion().RecuperarCopiaInterrumpida(); }), Sucesos{});
  EXPECT_EQ(Temporales("HTEMP/VALENCIA"), Nombres{});
}


// After a fault or a kill at each file operation of a restore, and the next start: the school's folder holds
// the pair it had or the restored one, never one of each, with no temporary file or journal left, and the
// backup restored is whole.
TEST_F(DevolucionTest, ARestoreUnderAFaultOrAKillAnywhereLeavesThePairItHadOrTheRestoredOne) {
  Reponer();
  PrepararRestauracion(unidad_, viejo_, nuevo_);
  std::vector<Operacion> operaciones;
  Sucesos hecha = Restaurar([&](FileOperation tipo, std::string_view ruta) {
    operaciones.push_back({tipo, std::string(ruta)});
  });
  ASSERT_EQ(Contar(hecha, "mensaje: Se han restaurado"), 1u) << Texto(hecha);
  ASSERT_TRUE(ParDeEscolan() == viejo_) << Estado(ParDeEscolan());
  ASSERT_GT(operaciones.size(), 10u);

  for (bool matar : {false, true}) {
    for (std::size_t numero = 1; numero <= operaciones.size(); ++numero) {
      SCOPED_TRACE(std::string(matar ? "kill" : "fault") + " at " + NombreDe(operaciones[numero - 1].tipo) + " " +
                   operaciones[numero - 1].ruta);
      Reponer();
      PrepararRestauracion(unidad_, viejo_, nuevo_);
      if (matar) {
        testing_support::RunInChild([&] {
          std::size_t cuenta = 0;
          Restaurar([&](FileOperation, std::string_view) {
            if (++cuenta == numero) ::kill(::getpid(), SIGKILL);
          });
          return 0;
        });
      } else {
        std::size_t cuenta = 0;
        Sucesos sucesos = Restaurar([&](FileOperation, std::string_view) {
          if (++cuenta == numero) throw platform::FileError(platform::kIoDevice);
        });
        EXPECT_EQ(Contar(sucesos, "error: ") + Contar(sucesos, "mensaje: Se han restaurado"), 1u) << Texto(sucesos);
      }
      Recuperar();
      Par par = ParDeEscolan();
      EXPECT_TRUE(par == viejo_ || par == nuevo_) << Estado(par);
      EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
      EXPECT_EQ(Diarios(), Nombres{});
      EXPECT_TRUE(Leer(std::string("HTEMP/COPIAS/") + kSelloViejo + "/horgrup.dbf") == viejo_.horgrup);
      EXPECT_TRUE(Leer(std::string("HTEMP/COPIAS/") + kSelloViejo + "/horprof.dbf") == viejo_.horprof);
    }
  }
}

}  // namespace
