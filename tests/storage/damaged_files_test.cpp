// Damaged and truncated tables: whatever the bytes, opening and reading give the engine's error or the
// records, never a crash, a hang or a read outside the file (the build runs under AddressSanitizer).
#include <random>

#include <gtest/gtest.h>

#include "storage/storage.h"
#include "tests/support/temporary_drive.h"

namespace {

using storage::DataType;

// Reads everything a table object can read from the table: every field of every visible record, as text
// and as its stored value, and memo texts; in stored order and in the order of each tag.
void ReadEverything(const std::string& path, const std::vector<std::string>& tags) {
  storage::Engine engine('.');
  for (const std::string& tag : tags) {
    storage::Table table(engine);
    table.SetTableName(path);
    table.SetIndexName(tag);
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      for (std::size_t i = 0; i < table.Fields().size(); ++i) {
        const std::string& name = table.Fields()[i].name;
        table.Value(i);
        table.AsString(name);
        table.MemoText(name);
      }
    }
    if (!tag.empty()) table.FindKey("A");
  }
}

class DamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeHostFolder("HTEMP");
    storage::Engine engine('.');
    storage::Table table(engine);
    table.SetTableName("C:\\HTEMP\\ORIGEN.DBF");
    table.AddFieldDef("COD", DataType::ftString, 6);
    table.AddFieldDef("HORA", DataType::ftInteger);
    table.AddFieldDef("NHORAS", DataType::ftFloat);
    table.AddFieldDef("REPITE", DataType::ftBoolean);
    table.AddFieldDef("FECHA", DataType::ftDate);
    table.AddIndexDef("COD", "COD");
    table.AddIndexDef("HORA", "HORA");
    table.CreateTable();
    table.Open();
    for (int i = 0; i < 300; ++i) {
      table.Append();
      table.SetAsString("COD", "A" + std::to_string(i % 37));
      table.SetAsInteger("HORA", i % 20);
      table.SetAsFloat("NHORAS", i / 4.0);
      table.SetAsBoolean("REPITE", i % 2 == 0);
      table.SetAsString("FECHA", "01/0" + std::to_string(1 + i % 9) + "/2024");
      table.Post();
    }
    table.Close();
    data_ = drive_.ReadHostFile("HTEMP/ORIGEN.DBF");
    index_ = drive_.ReadHostFile("HTEMP/ORIGEN.MDX");
  }

  // Writes the damaged pair and reads it; only the engine's own errors may come out.
  void ExpectOnlyEngineErrors(const std::string& data, const std::string& index, const std::string& what) {
    drive_.WriteHostFile("HTEMP/DANADA.DBF", data);
    drive_.WriteHostFile("HTEMP/DANADA.MDX", index);
    try {
      ReadEverything("C:\\HTEMP\\DANADA.DBF", {"", "COD", "HORA"});
    } catch (const storage::DatabaseError&) {
    } catch (const std::exception& error) {
      ADD_FAILURE() << what << ": " << error.what();
    }
  }

  testing_support::TemporaryDrive drive_;
  std::string data_;
  std::string index_;
};

TEST_F(DamagedFiles, TheUndamagedTableReadsCompletely) {
  EXPECT_NO_THROW(ReadEverything("C:\\HTEMP\\ORIGEN.DBF", {"", "COD", "HORA"}));
}

TEST_F(DamagedFiles, TruncatedAtEveryLengthOfTheHeaderAndSomeOfTheRecords) {
  for (std::size_t length = 0; length < 300; ++length) {
    ExpectOnlyEngineErrors(data_.substr(0, length), index_, "data cut at " + std::to_string(length));
  }
  for (std::size_t length = 300; length < data_.size(); length += 97) {
    ExpectOnlyEngineErrors(data_.substr(0, length), index_.substr(0, length % index_.size()),
                           "cut at " + std::to_string(length));
  }
}

TEST_F(DamagedFiles, RandomBytesChangedInTheHeaderTheRecordsAndTheIndex) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 400; ++round) {
    std::string data = data_;
    std::string index = index_;
    int changes = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < changes; ++i) {
      // Most changes hit the header, where a wrong byte misleads the reader most.
      std::size_t headerLength = 32 + 5 * 32 + 1;
      std::size_t at = random() % 4 != 0 ? random() % headerLength : random() % data.size();
      data[at] = static_cast<char>(random());
      index[random() % index.size()] = static_cast<char>(random());
    }
    ExpectOnlyEngineErrors(data, index, "round " + std::to_string(round));
  }
}

}  // namespace
