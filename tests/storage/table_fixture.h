// The fixture of the table object's tests: a temporary drive C: with C:\HTEMP, a sample table and helpers to
// fill and walk it. Shared by the tests that run on every host and those that need a POSIX one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "storage/storage.h"
#include "tests/support/temporary_drive.h"

namespace table_testing {

using storage::DatabaseError;
using storage::DataType;
using storage::Table;

// The message of the DatabaseError that `action` raises.
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const DatabaseError& error) {
    return error.what();
  }
  return "(no error)";
}

class TableTest : public ::testing::Test {
 protected:
  TableTest() { drive_.MakeHostFolder("HTEMP"); }

  // A table C:\HTEMP\<name>.DBF with a text, an integer, a float, a boolean and a date field.
  void CreateSample(const std::string& name = "MUESTRA", bool indexed = false) {
    Table table(engine_);
    table.SetTableName("C:\\HTEMP\\" + name + ".DBF");
    table.AddFieldDef("COD", DataType::ftString, 5);
    table.AddFieldDef("NOMBRE", DataType::ftString, 20);
    table.AddFieldDef("HORA", DataType::ftInteger);
    table.AddFieldDef("NHORAS", DataType::ftFloat);
    table.AddFieldDef("REPITE", DataType::ftBoolean);
    table.AddFieldDef("FECHA", DataType::ftDate);
    if (indexed) {
      table.AddIndexDef("COD", "COD");
      table.AddIndexDef("HORA", "HORA");
    }
    table.CreateTable();
  }

  std::unique_ptr<Table> OpenSample(const std::string& name = "MUESTRA", const std::string& objectName = "") {
    auto table = std::make_unique<Table>(engine_, objectName);
    table->SetDatabaseName("c:\\htemp");
    table->SetTableName(name);
    table->SetDbfExtensionImplied(true);
    table->Open();
    return table;
  }

  // Appends and posts records with the given codes and hours.
  void AddRecords(Table& table, const std::vector<std::pair<std::string, int>>& records) {
    for (const auto& [code, hour] : records) {
      table.Append();
      table.SetAsString("COD", code);
      table.SetAsInteger("HORA", hour);
      table.Post();
    }
  }

  // The codes of the visible records in walk order.
  static std::vector<std::string> Walk(Table& table, const char* field = "COD") {
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.AsString(field));
    return values;
  }

  std::uint32_t RecordsInFile(const std::string& name = "MUESTRA") {
    auto table = OpenSample(name);
    return table->RecordCount();
  }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{','};
};

}  // namespace table_testing
