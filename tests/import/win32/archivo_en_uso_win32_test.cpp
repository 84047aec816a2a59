// ESCOLAN left open, and the generator keeping an interchange table, on Windows: another Windows process
// (retener.exe, beside this program) holds the file in each of the ways those programs do, and the run stops
// with the file layer's message and a line that names the file and what to do, changing nothing. The import
// stops before its reviews.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/wide_text.h"
#include "tests/import/devolucion_de_prueba.h"

namespace {

using namespace devolucion_testing;

// A file of drive C: held by retener.exe as long as this lives.
class Retenido {
 public:
  Retenido(const testing_support::TemporaryDrive& unidad, const std::string& relativa, const std::wstring& forma) {
    wchar_t programa[MAX_PATH];
    ::GetModuleFileNameW(nullptr, programa, MAX_PATH);
    std::wstring carpeta = programa;
    carpeta.erase(carpeta.find_last_of(L'\\') + 1);
    const std::wstring evento = L"escolan-horvane-retenido-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE listo = ::CreateEventW(nullptr, TRUE, FALSE, evento.c_str());
    std::wstring ruta = platform::Wide(unidad.Host(relativa));
    std::wstring linea = L"\"" + carpeta + L"retener.exe\" \"" + ruta + L"\" " + forma + L" " + evento;
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    if (!::CreateProcessW(nullptr, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &inicio, &proceso_)) {
      ADD_FAILURE() << "retener.exe did not start: " << ::GetLastError();
    } else {
      HANDLE esperados[] = {listo, proceso_.hProcess};
      EXPECT_EQ(::WaitForMultipleObjects(2, esperados, FALSE, 30000), WAIT_OBJECT_0) << "retener.exe did not hold it";
    }
    ::CloseHandle(listo);
  }
  ~Retenido() {
    if (proceso_.hProcess == nullptr) return;
    ::TerminateProcess(proceso_.hProcess, 0);
    ::WaitForSingleObject(proceso_.hProcess, INFINITE);
    ::CloseHandle(proceso_.hThread);
    ::CloseHandle(proceso_.hProcess);
  }
  Retenido(const Retenido&) = delete;
  Retenido& operator=(const Retenido&) = delete;

 private:
  PROCESS_INFORMATION proceso_{};
};

const wchar_t* const kFormas[] = {L"compartido", L"bloqueado", L"exclusivo"};

std::string Forma(const wchar_t* forma) { return platform::Narrow(forma); }

// Each of the school's timetables held in each way: the import stops before the reviews with the code's
// message and the line, the pair as it was and no temporary file beside it.
TEST_F(DevolucionTest, AnImportWithATimetableHeldOpenStopsBeforeTheReviews) {
  for (const char* archivo : {"horgrup.dbf", "horprof.dbf"}) {
    for (const wchar_t* forma : kFormas) {
      SCOPED_TRACE(std::string(archivo) + " held " + Forma(forma));
      Reponer();
      Resultado resultado;
      {
        Retenido retenido(unidad_, std::string("ESCOLAN/") + archivo, forma);
        resultado = Importar();
      }
      EXPECT_EQ(resultado.fin, std::nullopt);
      EXPECT_EQ(std::count(resultado.sucesos.begin(), resultado.sucesos.end(), "plantilla"), 0) << Texto(resultado.sucesos);
      EXPECT_EQ(std::count(resultado.sucesos.begin(), resultado.sucesos.end(), "profesores"), 0) << Texto(resultado.sucesos);
      ASSERT_FALSE(resultado.sucesos.empty());
      EXPECT_EQ(resultado.sucesos.back(), std::string("error: Error de E/S 32\nC:\\ESCOLAN\\") + archivo +
                                              " está abierto en otro programa. Cierre ESCOLAN y vuelva a intentarlo.");
      EXPECT_TRUE(ParDeEscolan() == viejo_) << Estado(ParDeEscolan());
      EXPECT_EQ(Temporales("ESCOLAN"), Nombres{});
    }
  }
}

// The generator keeping an interchange table: the export stops on it with the line naming it and Horvane.
TEST_F(DevolucionTest, AnExportWithAnInterchangeTableHeldStopsNamingIt) {
  for (const wchar_t* forma : kFormas) {
    SCOPED_TRACE(Forma(forma));
    const std::string antes = Leer("HTEMP/ASIGVALT.DBF");
    Sucesos sucesos;
    {
      Retenido retenido(unidad_, "HTEMP/ASIGVALT.DBF", forma);
      storage::Engine engine(',');
      testing_support::InterfazGuionada interfaz;
      sesion::Sesion sesion(engine, interfaz);
      run::EjecutarManejador(interfaz, [&] { sesion.Exportar(exportacion::Idioma::kValenciano); });
      sucesos = interfaz.sucesos;
    }
    ASSERT_FALSE(sucesos.empty());
    const std::string linea = "\nC:\\HTEMP\\ASIGVALT.DBF está abierto en otro programa. Cierre Horvane y vuelva a intentarlo.";
    const std::string& error = sucesos.back();
    EXPECT_EQ(error.rfind("error: ", 0), 0u) << Texto(sucesos);
    EXPECT_TRUE(error.size() > linea.size() && error.compare(error.size() - linea.size(), linea.size(), linea) == 0)
        << Texto(sucesos);
    EXPECT_TRUE(Leer("HTEMP/ASIGVALT.DBF") == antes);
  }
}

}  // namespace
