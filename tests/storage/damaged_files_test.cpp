// Damaged and truncated tables: whatever the bytes, opening and reading give the engine's error or the
// records, never a crash, a hang or a read outside the file (the build runs under AddressSanitizer).
#include <functional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "storage/storage.h"
#include "tests/storage/foreign_tables.h"
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

// ---------------------------------------------------------------------------------------------------------
// Tables of other programs: Visual FoxPro's varchars and null flags, dBase 7's longer descriptors

using foreign_tables::DBase7Table;
using foreign_tables::StoredField;
using foreign_tables::XBaseTable;

// NOMBRE V(6) that may be null, then _NullFlags: bit 0 NOMBRE's length, bit 1 its null.
const std::vector<StoredField> kVarcharFields = {{"NOMBRE", 'V', 6, 0, 0x02}, {"_NullFlags", '0', 1, 0, 0x05}};
const std::vector<StoredField> kDBase7Fields = {{"NOMBRE_COMPLETO", 'C', 6}, {"PUNTOS", 'I', 4}};

std::string VarcharTable(const std::string& record) { return XBaseTable(0x32, kVarcharFields, {record}); }
std::string DBase7Of(const std::vector<std::string>& records) { return DBase7Table(0x04, kDBase7Fields, records); }

// A table's value of its first field in every record, or the message that opening or reading gives.
std::variant<std::vector<std::string>, std::string> FirstFieldOf(const std::string& path) {
  storage::Engine engine('.');
  storage::Table table(engine);
  table.SetTableName(path);
  std::vector<std::string> values;
  try {
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) values.push_back(table.AsString(table.Fields()[0].name));
  } catch (const storage::DatabaseError& error) {
    return error.what();
  }
  return values;
}

TEST_F(DamagedFiles, DamagedTablesOfOtherProgramsAreRefusedWithOneMessage) {
  std::string dBase7 = DBase7Of({" Marín\x80\0\0\x01"});
  std::string cutInDescriptors = dBase7.substr(0, 68 + 48 + 20);
  std::string shortDBase7 = dBase7;
  shortDBase7[8] = 68;  // a header length that leaves no room for the terminator after the 68 first bytes
  shortDBase7[9] = 0;
  std::string tooFewFlags = XBaseTable(0x30, {{"A", 'C', 1, 0, 0x02}, {"B", 'V', 1, 0, 0x02}, {"C", 'C', 1, 0, 0x02},
                                              {"D", 'C', 1, 0, 0x02}, {"E", 'C', 1, 0, 0x02}, {"F", 'C', 1, 0, 0x02},
                                              {"G", 'C', 1, 0, 0x02}, {"H", 'C', 1, 0, 0x02},
                                              {"_NullFlags", '0', 1, 0, 0x05}},
                                       {});
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;  // after the file's name has been cut off
  } cases[] = {
      {"a varchar's length byte past its field", VarcharTable(std::string(" Ana\0\0\x07\x01", 8)),
       "Valor no válido en el campo 'NOMBRE' (longitud de texto variable no válida: 7)"},
      {"a varchar's length byte the size of its field", VarcharTable(std::string(" Ana\0\0\x06\x01", 8)),
       "Valor no válido en el campo 'NOMBRE' (longitud de texto variable no válida: 6)"},
      {"nine bits for a _NullFlags of one byte", tooFewFlags,
       "La tabla está dañada (falta el indicador de nulo o de longitud del campo H)"},
      {"a dBase 7 table cut in its descriptors", cutInDescriptors, "La tabla está dañada (la cabecera está incompleta)"},
      {"a dBase 7 header too short for its first bytes", shortDBase7,
       "La tabla está dañada (la longitud de la cabecera no es válida)"},
      {"a dBase 7 header cut before its descriptors", dBase7.substr(0, 50), "La tabla está dañada (la cabecera está incompleta)"},
      {"a field of a type no writer uses", XBaseTable(0x03, {{"COD", '?', 4}}, {" ABCD"}),
       "Valor no válido en el campo 'COD' (el tipo de campo '?' no es de dBase)"},
  };
  for (const Case& c : cases) {
    drive_.WriteHostFile("HTEMP/OTRO.DBF", c.bytes);
    auto result = FirstFieldOf("C:\\HTEMP\\OTRO.DBF");
    const auto* message = std::get_if<std::string>(&result);
    if (!message) {
      ADD_FAILURE() << c.what << ": read";
      continue;
    }
    EXPECT_EQ(*message, std::string(c.message) + ": C:\\HTEMP\\OTRO.DBF") << c.what;
  }
}

// A program reading a field as a kind the table does not store there is told which table it is.
TEST_F(DamagedFiles, AFieldReadAsAKindItDoesNotHoldNamesItsTable) {
  storage::Engine engine('.');
  storage::Table table(engine);
  table.SetTableName("C:\\HTEMP\\ORIGEN.DBF");
  table.Open();
  try {
    table.AsInteger("REPITE");
    ADD_FAILURE() << "a logical field read as an integer";
  } catch (const storage::DatabaseError& error) {
    EXPECT_STREQ(error.what(), "No se puede acceder al campo 'REPITE' como entero: C:\\HTEMP\\ORIGEN.DBF");
  }
}

TEST_F(DamagedFiles, TablesOfOtherProgramsTruncatedAtEveryLength) {
  for (const std::string& whole : {VarcharTable(std::string(" Ana\0\0\x03\x01", 8)), DBase7Of({" Marín\x80\0\0\x01"})}) {
    for (std::size_t length = 0; length < whole.size(); ++length) {
      ExpectOnlyEngineErrors(whole.substr(0, length), index_, "cut at " + std::to_string(length));
    }
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
