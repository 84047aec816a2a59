// Speed of the table engine on large tables in a temporary drive C:. Not a test: run it by hand,
// build-release/tests/storage_bench, and compare with compare_python.sh on the same files.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "storage/storage.h"
#include "tests/support/temporary_drive.h"

namespace {

using storage::DataType;

constexpr int kWalkRecords = 100000;
constexpr int kFilterRecords = 30000;
constexpr int kStudents = 3000;

testing_support::TemporaryDrive& Drive() {
  static testing_support::TemporaryDrive drive;
  return drive;
}

void CreateWideTable(storage::Engine& engine, const std::string& path) {
  storage::Table table(engine);
  table.SetTableName(path);
  table.AddFieldDef("CODIGO", DataType::ftString, 10);
  table.AddFieldDef("APENOM", DataType::ftString, 45);
  table.AddFieldDef("CODASIG", DataType::ftString, 8);
  table.AddFieldDef("HORA", DataType::ftInteger);
  table.AddFieldDef("NHORAS", DataType::ftFloat);
  table.CreateTable();
}

std::string StudentCode(int i) {
  char code[16];
  std::snprintf(code, sizeof code, "A%06d", i);
  return code;
}

// Appends `count` records; the student code repeats every `students` records.
void Fill(storage::Engine& engine, const std::string& path, int count, int students) {
  storage::Table table(engine);
  table.SetTableName(path);
  table.Open();
  for (int i = 0; i < count; ++i) {
    table.Append();
    table.SetAsString("CODIGO", StudentCode(i % students));
    table.SetAsString("APENOM", "APELLIDO APELLIDO, NOMBRE " + std::to_string(i));
    table.SetAsString("CODASIG", "1ESOMAT");
    table.SetAsInteger("HORA", i % 20);
    table.SetAsFloat("NHORAS", (i % 8) / 2.0);
    table.Post();
  }
}

const std::string& WalkTable() {
  static const std::string path = [] {
    storage::Engine engine('.');
    std::string table = "C:\\WALK100K.DBF";
    CreateWideTable(engine, table);
    Fill(engine, table, kWalkRecords, kWalkRecords);
    return table;
  }();
  return path;
}

const std::string& FilterTable() {
  static const std::string path = [] {
    storage::Engine engine('.');
    std::string table = "C:\\ASIGALUM30K.DBF";
    CreateWideTable(engine, table);
    Fill(engine, table, kFilterRecords, kStudents);
    return table;
  }();
  return path;
}

void Walk(storage::Engine& engine, benchmark::State& state) {
  storage::Table table(engine);
  table.SetTableName(WalkTable());
  table.Open();
  std::size_t characters = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    characters += table.AsString("CODIGO").size() + table.AsString("APENOM").size();
    benchmark::DoNotOptimize(table.AsInteger("HORA"));
  }
  benchmark::DoNotOptimize(characters);
  state.counters["records"] = kWalkRecords;
}

// Walking 100,000 records reading three fields, the file read afresh each time (a new engine).
void BM_Walk100kColdEngine(benchmark::State& state) {
  Drive();
  for (auto _ : state) {
    storage::Engine engine('.');
    Walk(engine, state);
  }
}
BENCHMARK(BM_Walk100kColdEngine)->Unit(benchmark::kMillisecond);

// The same walk with the records already in memory.
void BM_Walk100kWarmEngine(benchmark::State& state) {
  Drive();
  storage::Engine engine('.');
  for (auto _ : state) Walk(engine, state);
}
BENCHMARK(BM_Walk100kWarmEngine)->Unit(benchmark::kMillisecond);

// Creating a table and appending and posting 100,000 records.
void BM_Append100k(benchmark::State& state) {
  Drive();
  for (auto _ : state) {
    storage::Engine engine('.');
    CreateWideTable(engine, "C:\\APPEND100K.DBF");
    Fill(engine, "C:\\APPEND100K.DBF", kWalkRecords, kWalkRecords);
  }
}
BENCHMARK(BM_Append100k)->Unit(benchmark::kMillisecond);

// Opening a 30,000-record table 3,000 times, each time filtered on another student, and walking it.
void BM_Reopen30kFiltered3000Times(benchmark::State& state) {
  Drive();
  FilterTable();
  for (auto _ : state) {
    storage::Engine engine('.');
    int seen = 0;
    for (int student = 0; student < kStudents; ++student) {
      storage::Table table(engine);
      table.SetTableName(FilterTable());
      table.SetExclusive(true);
      table.SetFilter("CODIGO= '" + StudentCode(student) + "   '");
      table.SetFiltered(true);
      table.Open();
      for (table.First(); !table.Eof(); table.Next()) seen += static_cast<int>(table.AsString("CODASIG").size());
    }
    benchmark::DoNotOptimize(seen);
  }
}
BENCHMARK(BM_Reopen30kFiltered3000Times)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
