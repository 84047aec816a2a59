// Damaged and truncated tables: whatever the bytes, opening and reading give the engine's error or the
// records, never a crash, a hang or a read outside the file (the build runs under AddressSanitizer).
#include <functional>
#include <random>
#include <string>
#include <variant>
#include <vector>

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

// ---------------------------------------------------------------------------------------------------------
// The header length, the field list, the record count and the file's size against each other

std::size_t U16(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | std::size_t{static_cast<unsigned char>(bytes[at + 1])} << 8;
}

void PutU16(std::string& bytes, std::size_t at, std::size_t value) {
  for (std::size_t i = 0; i < 2; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

void PutU32(std::string& bytes, std::size_t at, std::size_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// The origin's first `count` records as "COD/HORA", as SetUp wrote them.
std::vector<std::string> OriginRecords(int count) {
  std::vector<std::string> records;
  for (int i = 0; i < count; ++i) records.push_back("A" + std::to_string(i % 37) + "/" + std::to_string(i % 20));
  return records;
}

// A table's records as "COD/HORA", in stored order, or the message of the error that opening or reading gives.
std::variant<std::vector<std::string>, std::string> OpenAndWalk(const std::string& path) {
  storage::Engine engine('.');
  storage::Table table(engine);
  table.SetTableName(path);
  std::vector<std::string> records;
  try {
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) records.push_back(table.AsString("COD") + "/" + table.AsString("HORA"));
  } catch (const storage::DatabaseError& error) {
    return error.what();
  }
  return records;
}

// The origin has 300 records and a header of 32 + 5 * 32 + 1 bytes, whose last byte is the terminator.
constexpr std::size_t kOriginHeaderLength = 193;
constexpr std::size_t kHeaderLengthAt = 8;
constexpr std::size_t kRecordCountAt = 4;

TEST_F(DamagedFiles, AHeaderAtOddsWithItsFieldsOrItsRecordsIsRefusedAtOpening) {
  ASSERT_EQ(U16(data_, kHeaderLengthAt), kOriginHeaderLength);
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;  // to the origin's data file
    const char* reason;
  } cases[] = {
      {"header length one short", [](std::string& f) { PutU16(f, kHeaderLengthAt, kOriginHeaderLength - 1); },
       "falta el fin de la lista de campos"},
      {"header length one long", [](std::string& f) { PutU16(f, kHeaderLengthAt, kOriginHeaderLength + 1); },
       "la longitud de la cabecera no es válida"},
      {"header length one long, first record deleted",
       [](std::string& f) {
         f[kOriginHeaderLength] = '*';
         PutU16(f, kHeaderLengthAt, kOriginHeaderLength + 1);
       },
       "la longitud de la cabecera no es válida"},
      {"header length one long in a table without records",
       [](std::string& f) {
         f = f.substr(0, kOriginHeaderLength) + "\x1A";
         PutU32(f, kRecordCountAt, 0);
         PutU16(f, kHeaderLengthAt, kOriginHeaderLength + 1);
       },
       "la longitud de la cabecera no es válida"},
      {"no terminator after the last field", [](std::string& f) { f[kOriginHeaderLength - 1] = '\0'; },
       "falta el fin de la lista de campos"},
      {"one record more counted than stored", [](std::string& f) { PutU32(f, kRecordCountAt, 301); },
       "el archivo es más corto de lo que indica la cabecera"},
      {"last record cut short", [](std::string& f) { f.resize(f.size() - 2); },
       "el archivo es más corto de lo que indica la cabecera"},
  };
  for (const Case& c : cases) {
    std::string data = data_;
    c.damage(data);
    drive_.WriteHostFile("HTEMP/DANADA.DBF", data);
    drive_.WriteHostFile("HTEMP/DANADA.MDX", index_);
    auto result = OpenAndWalk("C:\\HTEMP\\DANADA.DBF");
    const auto* message = std::get_if<std::string>(&result);
    if (!message) {
      ADD_FAILURE() << c.what << ": opened";
      continue;
    }
    EXPECT_EQ(*message, std::string("La tabla está dañada (") + c.reason + "): C:\\HTEMP\\DANADA.DBF") << c.what;
  }
}

TEST_F(DamagedFiles, WhatOtherWritersLeaveAroundTheFieldsAndRecordsStillOpens) {
  struct Case {
    const char* what;
    std::function<void(std::string&)> change;  // to the origin's data file
    int records;  // read from the table
  } cases[] = {
      {"a NUL after the terminator, as dBase III writes",
       [](std::string& f) {
         f.insert(kOriginHeaderLength, 1, '\0');
         PutU16(f, kHeaderLengthAt, kOriginHeaderLength + 1);
       },
       300},
      {"Visual FoxPro's 263-byte backlink after the terminator, naming its database",
       [](std::string& f) {
         std::string backlink = "..\\DATOS\\ESCUELA.DBC";
         backlink.resize(263, '\0');
         f.insert(kOriginHeaderLength, backlink);
         PutU16(f, kHeaderLengthAt, kOriginHeaderLength + 263);
       },
       300},
      {"no end marker after the last record", [](std::string& f) { f.pop_back(); }, 300},
      {"bytes after the end marker", [](std::string& f) { f += "restos de otro programa"; }, 300},
      {"fewer records counted than stored", [](std::string& f) { PutU32(f, kRecordCountAt, 299); }, 299},
  };
  for (const Case& c : cases) {
    std::string data = data_;
    c.change(data);
    drive_.WriteHostFile("HTEMP/OTRO.DBF", data);
    drive_.WriteHostFile("HTEMP/OTRO.MDX", index_);
    auto result = OpenAndWalk("C:\\HTEMP\\OTRO.DBF");
    const auto* records = std::get_if<std::vector<std::string>>(&result);
    if (!records) {
      ADD_FAILURE() << c.what << ": " << std::get<std::string>(result);
      continue;
    }
    EXPECT_EQ(*records, OriginRecords(c.records)) << c.what;
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
