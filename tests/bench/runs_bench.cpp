// Speed and memory of the runs on a large secondary school: the export, staging included, of one school
// and of ten such schools in one folder; the import of a 10,000-lesson solution, copy back included; the
// window's problems dialog and the review it is built from; the backups dialog's list of 200 backups.
// Not a test: run it by hand, build-bench/tests/runs_bench.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>

#include "diagnostico/diagnostico.h"
#include "sesion/sesion.h"
#include "ventana/ventana_principal.h"
#include "muestra/muestra_escolan.h"
#include "platform/platform.h"
#include "storage/dbf_format.h"
#include "tests/support/interfaz_guionada.h"
#include "tests/support/tablas_de_prueba.h"
#include "tests/support/temporary_drive.h"

namespace {

namespace dbf = storage::dbf;

testing_support::TemporaryDrive& Drive() {
  static testing_support::TemporaryDrive drive;
  return drive;
}

// Appends `copies - 1` more copies of every record of a staged-like table, each copy made another
// centre's by changing its codes: student codes, identity numbers and group codes get the copy's number.
void Multiply(const std::string& relative, int copies) {
  std::string bytes = Drive().ReadHostFile(relative);
  auto view = std::as_bytes(std::span(bytes));
  dbf::Layout layout = dbf::ParseHeader(view.first(dbf::HeaderLengthOf(view)));
  std::size_t recordsLength = std::size_t{layout.recordCount} * layout.recordLength;
  std::string header = bytes.substr(0, layout.headerLength);
  std::string records = bytes.substr(layout.headerLength, recordsLength);
  std::string all = records;
  for (int copy = 1; copy < copies; ++copy) {
    std::string more = records;
    for (std::size_t at = 0; at < more.size(); at += layout.recordLength) {
      auto record = std::as_writable_bytes(std::span(more.data() + at, layout.recordLength));
      for (const dbf::Field& field : layout.fields) {
        std::string name = field.name;
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (name == "CODIGO" || name == "CODGRUP") {
          std::string value(dbf::FieldBytes(field, record));
          if (value.find_first_not_of(' ') == std::string::npos) continue;
          value = std::to_string(copy) + value;
          dbf::EncodeText(field, value, record);
        } else if (name == "DNI" && field.type == 'N') {
          dbf::Value value = dbf::DecodeField(field, record);
          if (const double* number = std::get_if<double>(&value)) dbf::EncodeNumber(field, *number + copy, record);
        }
      }
    }
    all += more;
  }
  auto head = std::as_writable_bytes(std::span(header));
  dbf::StampHeader(head, layout.recordCount * static_cast<std::uint32_t>(copies), dbf::Date{2026, 12, 10});
  Drive().WriteHostFile(relative, header + all + "\x1A");
}

std::string School(int centres) {
  std::string folder = "ESCUELA" + std::to_string(centres);
  muestra::EscribirMuestraEscolan("C:\\" + folder, muestra::TamanoMuestra::kGrande);
  if (centres > 1) {
    for (const char* table : {"grupos.dbf", "profesor.dbf", "horgrup.dbf", "asigalum.dbf", "aulas.dbf", "alumnos.dbf"}) {
      Multiply(folder + "/" + table, centres);
    }
  }
  return "C:\\" + folder;
}

void Export(benchmark::State& state, int centres) {
  Drive();
  std::string source = School(centres);
  for (auto _ : state) {
    storage::Engine engine(',');
    testing_support::InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    sesion.PrepararCarpeta(source);
    sesion.Exportar(exportacion::Idioma::kValenciano);
    if (interfaz.sucesos.back() != "mensaje:     Proceso finalizado    ") state.SkipWithError(interfaz.sucesos.back().c_str());
  }
  rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ExportLargeSchool(benchmark::State& state) { Export(state, 1); }
BENCHMARK(BM_ExportLargeSchool)->Unit(benchmark::kMillisecond);

void BM_ExportTenLargeSchools(benchmark::State& state) { Export(state, 10); }
BENCHMARK(BM_ExportTenLargeSchools)->Unit(benchmark::kMillisecond);

// The teacher step alone, whose abbreviation pass compares every pair of teachers.
void TeacherStep(benchmark::State& state, int centres) {
  Drive();
  std::string source = School(centres);
  storage::Engine engine(',');
  testing_support::InterfazGuionada interfaz;
  sesion::Sesion sesion(engine, interfaz);
  sesion.PrepararCarpeta(source);
  for (auto _ : state) {
    sesion.Exportar(exportacion::Idioma::kValenciano, {{"ExportarProfesores", exportacion::ExportarProfesores}});
  }
}

void BM_TeacherStepLargeSchool(benchmark::State& state) { TeacherStep(state, 1); }
BENCHMARK(BM_TeacherStepLargeSchool)->Unit(benchmark::kMillisecond);

void BM_TeacherStepTenLargeSchools(benchmark::State& state) { TeacherStep(state, 10); }
BENCHMARK(BM_TeacherStepTenLargeSchools)->Unit(benchmark::kMillisecond);

void BM_ImportTenThousandLessons(benchmark::State& state) {
  Drive();
  std::string source = School(1);
  {
    storage::Engine engine(',');
    testing_support::InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    sesion.PrepararCarpeta(source);
    sesion.Exportar(exportacion::Idioma::kValenciano);
    testing_support::EscribirSolucionDesdeAsigt(engine, 10000);
  }
  for (auto _ : state) {
    storage::Engine engine(',');
    testing_support::InterfazGuionada interfaz;
    sesion::Sesion sesion(engine, interfaz);
    std::vector<std::string> centros;
    sesion.LeerCentros(centros);
    if (sesion.Importar(centros.front()) != importacion::FinImportacion::kCompleta) {
      state.SkipWithError("the import did not end");
    }
  }
  rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ImportTenThousandLessons)->Unit(benchmark::kMillisecond);

// The problems dialog of the large school as the window menu builds it, against the review alone (what the
// command line's revisar does besides printing).
void BM_ProblemsDialogLargeSchool(benchmark::State& state) {
  Drive();
  std::string source = School(1);
  storage::Engine engine(',');
  testing_support::InterfazGuionada interfaz;
  ventana::VentanaPrincipal ventana(engine, interfaz);
  platform::SetCurrentFolder(source);
  for (auto _ : state) {
    ventana::DialogoProblemas dialogo = ventana.ProblemasDeDatos();
    benchmark::DoNotOptimize(dialogo.Filas().size());
    state.counters["problems"] = static_cast<double>(dialogo.Filas().size());
  }
}
BENCHMARK(BM_ProblemsDialogLargeSchool)->Unit(benchmark::kMillisecond);

void BM_ReviewLargeSchool(benchmark::State& state) {
  Drive();
  std::string source = School(1);
  storage::Engine engine(',');
  for (auto _ : state) {
    benchmark::DoNotOptimize(diagnostico::ProblemasDeCarpeta(engine, source, exportacion::Idioma::kValenciano).size());
  }
}
BENCHMARK(BM_ReviewLargeSchool)->Unit(benchmark::kMillisecond);

// The backups dialog's list with 200 backups of the large school's timetables in C:\HTEMP\COPIAS.
void BM_BackupListTwoHundred(benchmark::State& state) {
  Drive();
  std::string source = School(1);
  namespace fs = std::filesystem;
  for (int i = 0; i < 200; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "HTEMP/COPIAS/2026%02d%02d-%06d", 1 + i / 28, 1 + i % 28, i);
    Drive().MakeHostFolder(name);
    for (const char* table : {"horgrup.dbf", "horprof.dbf"}) {
      fs::copy_file(Drive().Host("ESCUELA1/" + std::string(table)), Drive().Host(std::string(name) + "/" + table),
                    fs::copy_options::overwrite_existing);
    }
    Drive().WriteHostFile(std::string(name) + "/ORIGEN.TXT", source + "\r\n");
  }
  storage::Engine engine(',');
  testing_support::InterfazGuionada interfaz;
  sesion::Sesion sesion(engine, interfaz);
  sesion.CambiarCarpeta(source);
  for (auto _ : state) {
    std::vector<importacion::CopiaHorarios> copias = sesion.CopiasDeHorarios();
    if (copias.size() != 200) state.SkipWithError("not every backup listed");
    state.counters["lessons_per_backup"] = copias.empty() ? 0 : static_cast<double>(*copias[0].clasesHorgrup);
  }
}
BENCHMARK(BM_BackupListTwoHundred)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
