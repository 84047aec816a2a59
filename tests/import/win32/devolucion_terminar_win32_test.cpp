// The import's copy back and the restore of a backup ended abruptly on Windows: the run goes on in a child
// process of this program, which the test ends with TerminateProcess (as Task Manager ends a program) at each
// file operation of the copy back, of the restore and of the recovery, and at random moments; then a fresh
// start. After every one the school's folder holds both old or both new timetables, no journal or temporary
// file is left, and the backup holds the old pair.
//
// The child is this same program started with "--hijo ESCENARIO N RAIZ EVENTO": on the drive C: whose folder
// is RAIZ it runs ESCENARIO (importar, recuperar, restaurar), and at its file operation N signals EVENTO and
// waits to be ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "platform/drive_map.h"
#include "platform/wide_text.h"
#include "tests/import/devolucion_de_prueba.h"

namespace {

using namespace devolucion_testing;
using platform::FileOperation;

// ---------------------------------------------------------------------------------------------------------
// The child

int Hijo(const std::string& escenario, std::size_t parada, const std::string& raiz, const std::string& evento) {
  platform::DriveMap unidades;
  unidades.Map('C', raiz);
  platform::SetDriveMap(unidades);
  HANDLE senal = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, platform::Wide(evento).c_str());
  if (senal == nullptr) return 3;
  std::size_t cuenta = 0;
  platform::FileOperationHook alto = [&](FileOperation, std::string_view) {
    if (++cuenta != parada) return;
    ::SetEvent(senal);
    ::Sleep(INFINITE);
  };
  if (escenario == "importar") {
    platform::SetCurrentFolder("C:\\ESCOLAN");
    DevolucionTest::Importar(alto);
  } else if (escenario == "recuperar") {
    DevolucionTest::Recuperar(alto);
  } else if (escenario == "restaurar") {
    Restaurar(alto);
  } else {
    return 2;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------------------
// The parent

// How a child ended: ended by the test (at its stop, or after the delay), or by itself with its exit code.
struct FinDelHijo {
  bool terminado = false;
  DWORD codigo = 0;
};

class TerminarTest : public DevolucionTest {
 protected:
  // Runs `escenario` in a child on this test's drive C:. With `parada` (from 1) the child is ended at that file
  // operation; with `retraso` (in milliseconds) it is ended that long after it started, wherever it is.
  FinDelHijo EjecutarHijo(const std::string& escenario, std::size_t parada, int retraso = -1) {
    wchar_t programa[MAX_PATH];
    ::GetModuleFileNameW(nullptr, programa, MAX_PATH);
    const std::wstring evento = L"escolan-horvane-parada-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++hijos_);
    HANDLE senal = ::CreateEventW(nullptr, TRUE, FALSE, evento.c_str());
    std::wstring linea = L"\"" + std::wstring(programa) + L"\" --hijo " + platform::Wide(escenario) + L" " +
                         std::to_wstring(parada) + L" \"" + platform::Wide(unidad_.Root()) + L"\" " + evento;
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION proceso{};
    FinDelHijo fin;
    if (!::CreateProcessW(nullptr, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &inicio, &proceso)) {
      ADD_FAILURE() << "the child could not start: " << ::GetLastError();
      ::CloseHandle(senal);
      return fin;
    }
    HANDLE esperados[] = {proceso.hProcess, senal};
    const DWORD espera = retraso >= 0 ? static_cast<DWORD>(retraso) : 120000;
    const DWORD cual = ::WaitForMultipleObjects(retraso >= 0 ? 1 : 2, esperados, FALSE, espera);
    if (cual == WAIT_OBJECT_0 + 1 || cual == WAIT_TIMEOUT) {
      if (cual == WAIT_TIMEOUT && retraso < 0) ADD_FAILURE() << "the child never reached operation " << parada;
      fin.terminado = ::TerminateProcess(proceso.hProcess, 9) != 0;
    }
    ::WaitForSingleObject(proceso.hProcess, INFINITE);
    ::GetExitCodeProcess(proceso.hProcess, &fin.codigo);
    if (fin.codigo != 9) fin.terminado = false;  // it had ended by itself just before
    ::CloseHandle(proceso.hThread);
    ::CloseHandle(proceso.hProcess);
    ::CloseHandle(senal);
    return fin;
  }

  int hijos_ = 0;
};

// ---------------------------------------------------------------------------------------------------------
// The import

// Ended at each file operation of the copy back, then at random moments of a whole import: the next start
// finishes or undoes the change, and the pair is new exactly when the end came after the journal's
// confirmation (for the operations) or old or new (for a random moment).
TEST_F(TerminarTest, AnImportEndedAnywhereIsFinishedOrUndoneByTheNextStart) {
  const std::vector<Operacion> operaciones = OperacionesDeUnaImportacion();
  Reponer();
  const std::size_t total = operaciones.size();
  PuntosDeLaCopia puntos;
  ASSERT_NO_FATAL_FAILURE(BuscarPuntosDeLaCopia(operaciones, puntos));
  const auto [primeraDeLaCopia, respaldoHecho, confirmacion, primerMovimiento, diarioBorrado] = puntos;

  int terminados = 0;
  std::size_t nuevos = 0;
  for (std::size_t n = primeraDeLaCopia; n <= total; ++n) {
    SCOPED_TRACE("ended at operation " + std::to_string(n) + " of " + std::to_string(total) + ", " +
                 Describir(operaciones[n - 1]));
    ASSERT_TRUE(EjecutarHijo("importar", n).terminado);
    ++terminados;
    const bool nuevo = ComprobarSiguienteArranque(n >= respaldoHecho, n > diarioBorrado);
    EXPECT_EQ(nuevo, n > confirmacion);
    nuevos += nuevo ? 1 : 0;
    Reponer();
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(nuevos, 0u);

  // How long a whole import takes in a child, then ends at random moments within it.
  const auto antes = std::chrono::steady_clock::now();
  ASSERT_FALSE(EjecutarHijo("importar", 0, 600000).terminado);
  const auto duracion = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - antes);
  ASSERT_TRUE(ParDeEscolan() == nuevo_) << Estado(ParDeEscolan());
  Reponer();
  std::mt19937 azar(20261211);
  std::uniform_int_distribution<int> momento(0, static_cast<int>(duracion.count()));
  for (int i = 0; i < 20; ++i) {
    const int retraso = momento(azar);
    SCOPED_TRACE("ended after " + std::to_string(retraso) + " ms of " + std::to_string(duracion.count()));
    terminados += EjecutarHijo("importar", 0, retraso).terminado ? 1 : 0;
    // A moment before the backup was whole leaves nothing to settle; once its ORIGEN.TXT is there (after both
    // files), the backup holds the old pair.
    const Nombres copias = Copias();
    const bool conRespaldo =
        copias.size() == 1 && fs::exists(unidad_.Host("HTEMP/COPIAS/" + copias[0] + "/ORIGEN.TXT"));
    ComprobarSiguienteArranque(conRespaldo, true);
    Reponer();
    if (HasFatalFailure()) return;
  }
  RecordProperty("copy_back_operations", static_cast<int>(total - primeraDeLaCopia + 1));
  RecordProperty("ended", terminados);
  RecordProperty("finished_by_recovery", static_cast<int>(nuevos));
}

// The import ended after the journal's confirmation, then the next start ended at each of its own file
// operations: the start after that still settles it, with the new pair.
TEST_F(TerminarTest, ARecoveryEndedAnywhereIsSettledByTheStartAfter) {
  const std::vector<Operacion> operaciones = OperacionesDeUnaImportacion();
  Reponer();
  const std::size_t primerMovimiento = Buscar(operaciones, FileOperation::kRename, EsDestino);
  ASSERT_NE(primerMovimiento, 0u);

  // The recovery's operations after an import ended at its first move over the school's files.
  ASSERT_TRUE(EjecutarHijo("importar", primerMovimiento).terminado);
  std::size_t operacionesRecuperacion = 0;
  Recuperar([&](FileOperation, std::string_view) { ++operacionesRecuperacion; });
  ASSERT_TRUE(ParDeEscolan() == nuevo_) << Estado(ParDeEscolan());
  Reponer();
  ASSERT_GT(operacionesRecuperacion, 1u);

  for (std::size_t m = 1; m <= operacionesRecuperacion; ++m) {
    SCOPED_TRACE("recovery ended at its operation " + std::to_string(m) + " of " +
                 std::to_string(operacionesRecuperacion));
    ASSERT_TRUE(EjecutarHijo("importar", primerMovimiento).terminado);
    ASSERT_TRUE(EjecutarHijo("recuperar", m).terminado);
    Recuperar();
    EXPECT_TRUE(ParDeEscolan() == nuevo_) << Estado(ParDeEscolan());
    EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
    EXPECT_EQ(Temporales("HTEMP/VALENCIA"), Nombres{});
    EXPECT_EQ(Diarios(), Nombres{});
    EXPECT_EQ(Recuperar(), Sucesos{});
    Reponer();
    if (HasFatalFailure()) return;
  }  RecordProperty("ended", static_cast<int>(2 * operacionesRecuperacion));
}

// ---------------------------------------------------------------------------------------------------------
// The restore of a backup

TEST_F(TerminarTest, ARestoreEndedAnywhereLeavesThePairItHadOrTheRestoredOne) {
  Reponer();
  PrepararRestauracion(unidad_, viejo_, nuevo_);
  std::size_t operaciones = 0;
  Sucesos hecha = Restaurar([&](FileOperation, std::string_view) { ++operaciones; });
  ASSERT_EQ(Contar(hecha, "mensaje: Se han restaurado"), 1u) << Texto(hecha);
  ASSERT_GT(operaciones, 10u);

  for (std::size_t n = 1; n <= operaciones; ++n) {
    SCOPED_TRACE("ended at operation " + std::to_string(n) + " of " + std::to_string(operaciones));
    Reponer();
    PrepararRestauracion(unidad_, viejo_, nuevo_);
    ASSERT_TRUE(EjecutarHijo("restaurar", n).terminado);
    Recuperar();
    const Par par = ParDeEscolan();
    EXPECT_TRUE(par == viejo_ || par == nuevo_) << Estado(par);
    EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
    EXPECT_EQ(Diarios(), Nombres{});
    EXPECT_TRUE(Leer(std::string("HTEMP/COPIAS/") + kSelloViejo + "/horgrup.dbf") == viejo_.horgrup);
    EXPECT_TRUE(Leer(std::string("HTEMP/COPIAS/") + kSelloViejo + "/horprof.dbf") == viejo_.horprof);
    if (HasFatalFailure()) return;
  }  RecordProperty("ended", static_cast<int>(operaciones));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "--hijo") {
    return Hijo(argv[2], static_cast<std::size_t>(std::stoul(argv[3])), argv[4], argv[5]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
