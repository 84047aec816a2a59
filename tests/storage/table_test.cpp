// The table object on real files in a temporary drive C:: how records reach the file, walking, the
// conversions and their messages, indexes, filters, record numbers, exclusive use, emptying, creating.
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "storage/storage.h"
#include "tests/storage/table_fixture.h"

namespace {

using namespace table_testing;

// ---------------------------------------------------------------------------------------------------------
// How a record reaches the file

TEST_F(TableTest, ARecordAppendedButNotPostedIsLostOnClose) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("COD", "A1");
  table->Close();
  EXPECT_EQ(RecordsInFile(), 0u);
}

TEST_F(TableTest, AppendingAgainPostsTheChangedPendingRecord) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("COD", "A1");
  table->Append();
  table->SetAsString("COD", "A2");
  table->Close();
  auto reopened = OpenSample();
  EXPECT_EQ(Walk(*reopened), (std::vector<std::string>{"A1"}));
}

TEST_F(TableTest, AnUnchangedPendingRecordIsDroppedByFirst) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->First();
  EXPECT_FALSE(table->Editing());
  table->Close();
  EXPECT_EQ(RecordsInFile(), 0u);
}

TEST_F(TableTest, WritingAnEmptyTextCountsAsAChange) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("COD", "");
  table->Next();
  EXPECT_EQ(table->RecordCount(), 1u);
}

TEST_F(TableTest, EditOnAnEmptyTableStartsAnAppend) {
  CreateSample();
  auto table = OpenSample();
  table->Edit();
  table->SetAsString("COD", "X");
  table->Post();
  table->Close();
  auto reopened = OpenSample();
  EXPECT_EQ(Walk(*reopened), (std::vector<std::string>{"X"}));
}

TEST_F(TableTest, EditChangesTheCurrentRecordInPlace) {
  CreateSample();
  auto table = OpenSample();
  AddRecords(*table, {{"A", 1}, {"B", 2}});
  table->First();
  table->Next();
  table->Edit();
  table->SetAsString("NOMBRE", "segundo");
  table->Post();
  EXPECT_EQ(table->RecordCount(), 2u);
  auto other = OpenSample();
  other->First();
  other->Next();
  EXPECT_EQ(other->AsString("NOMBRE"), "segundo");
  EXPECT_EQ(other->AsString("COD"), "B");
}

TEST_F(TableTest, ARefusedWriteLeavesThePendingRecordUnchanged) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  EXPECT_THROW(table->SetAsString("HORA", "doce"), DatabaseError);
  EXPECT_FALSE(table->Modified());
  table->First();  // an unchanged pending record is dropped
  EXPECT_EQ(table->RecordCount(), 0u);
}

TEST_F(TableTest, CancelDropsThePendingRecordAndStays) {
  CreateSample();
  auto table = OpenSample();
  AddRecords(*table, {{"A", 1}, {"B", 2}});
  table->First();
  table->Next();
  table->Edit();
  table->SetAsString("COD", "Z");
  table->Cancel();
  EXPECT_EQ(table->AsString("COD"), "B");
  EXPECT_EQ(table->RecNo(), 2u);
  table->Append();
  table->SetAsString("COD", "C");
  table->Cancel();
  table->First();
  EXPECT_EQ(Walk(*table), (std::vector<std::string>{"A", "B"}));
}

TEST_F(TableTest, PostWithoutAPendingRecordFails) {
  CreateSample();
  auto named = OpenSample("MUESTRA", "wwTableCentro");
  EXPECT_EQ(ErrorOf([&] { named->Post(); }),
            "wwTableCentro: La fuente de datos no está en modo de edición o inserción");
  EXPECT_EQ(ErrorOf([&] { named->SetAsString("COD", "A"); }),
            "wwTableCentro: La fuente de datos no está en modo de edición o inserción");
  auto unnamed = OpenSample();
  EXPECT_EQ(ErrorOf([&] { unnamed->Post(); }), "La fuente de datos no está en modo de edición o inserción");
}

// Where posted records must have reached the file, read behind the engine's back: the header counts them,
// they are there and the end marker follows them. Until then the other table objects of the process see them.
using MaybeRun = std::optional<storage::Engine::Run>;

struct PuntoDeEscritura {
  const char* name;
  bool inARun;
  // After the records were posted through `table`, which is still open.
  void (*settle)(storage::Engine& engine, MaybeRun& run, std::unique_ptr<Table>& table);
};

TEST_F(TableTest, PostedRecordsAreInTheFileOnceTheirTableClosesTheRunEndsOrTheFileIsLetGo) {
  using Engine = storage::Engine;
  using Object = std::unique_ptr<Table>;
  const std::vector<PuntoDeEscritura> cases = {
      {"the table closed", false, [](Engine&, MaybeRun&, Object& table) { table->Close(); }},
      {"the table released", false, [](Engine&, MaybeRun&, Object& table) { table.reset(); }},
      {"the table closed in a run", true, [](Engine&, MaybeRun&, Object& table) { table->Close(); }},
      {"the run finished, the table open", true, [](Engine&, MaybeRun& run, Object&) { run->Finish(); }},
      {"the run ended, the table open", true, [](Engine&, MaybeRun& run, Object&) { run.reset(); }},
      {"the file let go of before a copy, the table open", false,
       [](Engine& engine, MaybeRun&, Object&) { engine.Release("C:\\HTEMP\\MUESTRA.DBF"); }},
      {"every file let go of in a run, the table open", true,
       [](Engine& engine, MaybeRun&, Object&) { engine.ReleaseAll(); }},
  };
  for (const PuntoDeEscritura& c : cases) {
    SCOPED_TRACE(c.name);
    CreateSample();
    MaybeRun run;
    if (c.inARun) run.emplace(engine_);
    auto table = OpenSample();
    AddRecords(*table, {{"A", 1}, {"B", 2}});
    table->First();
    table->Edit();
    table->SetAsString("COD", "Z");
    table->Post();
    EXPECT_EQ(Walk(*OpenSample()), (std::vector<std::string>{"Z", "B"}));
    c.settle(engine_, run, table);
    std::string bytes = drive_.ReadHostFile("HTEMP/MUESTRA.DBF");
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 2);
    EXPECT_NE(bytes.find("Z    "), std::string::npos);
    EXPECT_NE(bytes.find("B    "), std::string::npos);
    EXPECT_EQ(bytes.find("A    "), std::string::npos);
    EXPECT_EQ(bytes.back(), '\x1A');
  }
}

TEST_F(TableTest, TwoObjectsSeeEachOthersPostedRecords) {
  CreateSample();
  auto reader = OpenSample();
  auto writer = OpenSample();
  AddRecords(*writer, {{"A", 1}, {"B", 2}});
  EXPECT_EQ(Walk(*reader), (std::vector<std::string>{"A", "B"}));
}

// ---------------------------------------------------------------------------------------------------------
// Walking

TEST_F(TableTest, NextOnTheLastRecordSetsEofAndStays) {
  CreateSample();
  auto table = OpenSample();
  AddRecords(*table, {{"A", 1}, {"B", 2}});
  table->First();
  table->Next();
  EXPECT_FALSE(table->Eof());
  table->Next();
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->AsString("COD"), "B");
  EXPECT_EQ(table->RecNo(), 2u);
}

TEST_F(TableTest, AnEmptyTableIsAtEofAndReadsEmptyValues) {
  CreateSample();
  auto table = OpenSample();
  table->First();
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->AsString("COD"), "");
  EXPECT_EQ(table->AsInteger("HORA"), 0);
}

TEST_F(TableTest, OperationsOnAClosedTableFail) {
  Table table(engine_, "wwTableAulas");
  EXPECT_EQ(ErrorOf([&] { table.First(); }), "wwTableAulas: No se puede realizar esta operación con la tabla cerrada");
  CreateSample();
  auto open = OpenSample();
  EXPECT_EQ(ErrorOf([&] { open->SetTableName("X"); }), "No se puede realizar esta operación con la tabla abierta");
}

// ---------------------------------------------------------------------------------------------------------
// Field names, conversions and their messages

TEST_F(TableTest, FieldNamesIgnoreCase) {
  CreateSample();
  auto table = OpenSample("MUESTRA", "wwTableCentro");
  AddRecords(*table, {{"A1", 7}});
  EXPECT_EQ(table->AsInteger("hora"), 7);
  EXPECT_EQ(table->AsInteger("Hora"), 7);
  EXPECT_EQ(ErrorOf([&] { table->AsString("Codcen"); }), "wwTableCentro: No se encuentra el campo 'Codcen'");
}

TEST_F(TableTest, TextIsCutToTheFieldAndReadWithoutTrailingBlanks) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("COD", "ABCDEFGH");
  table->SetAsString("NOMBRE", "  con blancos   ");
  table->Post();
  EXPECT_EQ(table->AsString("COD"), "ABCDE");
  EXPECT_EQ(table->AsString("NOMBRE"), "  con blancos");
  table->Edit();
  table->SetAsString("COD", "1ESO");
  table->Post();
  EXPECT_EQ(table->AsString("COD"), "1ESO");
  EXPECT_EQ(table->AsString("COD").back(), 'O');
}

// What pads a text field, blanks and NULs, goes wherever it ends against the field's 20 bytes; what is
// inside the text stays, a byte from 0x80 up (a non-breaking space) included.
TEST_F(TableTest, TextReadsWithoutThePaddingWhereverItEnds) {
  struct Case {
    std::string stored;
    std::string read;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"A", "A"},
      {"ABCDEFGHIJKL", "ABCDEFGHIJKL"},                  // eight blanks after it
      {"ABCDEFGHIJKLM", "ABCDEFGHIJKLM"},                // seven
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST"},  // none
      {"AB CD", "AB CD"},
      {std::string("AB\0\0 \0", 6), "AB"},
      {std::string("A\0B", 3), std::string("A\0B", 3)},
      {"A\u00a0", "A\u00a0"},
      {"\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0", "\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0\u00a0"},
  };
  CreateSample();
  auto table = OpenSample();
  for (const Case& c : cases) {
    table->Append();
    table->SetAsString("NOMBRE", c.stored);
    table->Post();
  }
  std::size_t i = 0;
  for (table->First(); !table->Eof(); table->Next(), ++i) EXPECT_EQ(table->AsString("NOMBRE"), cases.at(i).read) << i;
  EXPECT_EQ(i, cases.size());
}

TEST_F(TableTest, AccentedTextRoundTripsAndCountsCharacters) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("COD", "ÁÉÍÓÚÑ");
  table->SetAsString("NOMBRE", "VALENCIÁ €");
  table->Post();
  EXPECT_EQ(table->AsString("COD"), "ÁÉÍÓÚ");
  EXPECT_EQ(table->AsString("NOMBRE"), "VALENCIÁ €");
  table->Edit();
  table->SetAsString("NOMBRE", "Ωмега");  // not in cp1252
  table->Post();
  EXPECT_EQ(table->AsString("NOMBRE"), "?????");
}

struct ReadCase {
  const char* field;
  const char* stored;  // written as text into the field
  const char* asText;
  std::optional<int> asInteger;  // nothing: reading as integer fails
};

class ReadConversions : public TableTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadConversions, FollowTheFieldType) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString(GetParam().field, GetParam().stored);
  table->Post();
  EXPECT_EQ(table->AsString(GetParam().field), GetParam().asText);
  if (GetParam().asInteger) {
    EXPECT_EQ(table->AsInteger(GetParam().field), *GetParam().asInteger);
  } else {
    EXPECT_EQ(ErrorOf([&] { table->AsInteger(GetParam().field); }),
              "'" + std::string(GetParam().asText) + "' no es un valor entero válido");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadConversions,
    ::testing::Values(ReadCase{"COD", "12", "12", 12}, ReadCase{"COD", " -12", " -12", -12},
                      ReadCase{"COD", "$1F", "$1F", 31}, ReadCase{"COD", "0x10", "0x10", 16},
                      ReadCase{"COD", "", "", std::nullopt}, ReadCase{"COD", "12a", "12a", std::nullopt},
                      ReadCase{"COD", "1,5", "1,5", std::nullopt}, ReadCase{"HORA", "-42", "-42", -42},
                      ReadCase{"HORA", "", "", 0}, ReadCase{"HORA", "123456789", "123456789", 123456789},
                      ReadCase{"HORA", "-0", "0", 0}, ReadCase{"NHORAS", "2,5", "2,5", 2},
                      ReadCase{"NHORAS", "3,5", "3,5", 4}, ReadCase{"NHORAS", "4,4", "4,4", 4},
                      ReadCase{"NHORAS", "-2,5", "-2,5", -2}, ReadCase{"NHORAS", "46010", "46010", 46010},
                      ReadCase{"NHORAS", "", "", 0}, ReadCase{"NHORAS", "0,0001", "0,0001", 0}),
    [](const auto& test) { return std::to_string(test.index); });

// A Visual FoxPro table written byte by byte: an integer field HORA (N 9,0) holding the given texts and a
// double field DOBLE (B) holding the given numbers, one record per row.
std::string VisualFoxProTable(const std::vector<std::pair<std::string, double>>& rows) {
  const std::size_t headerLength = 32 + 2 * 32 + 1 + 263;  // the backlink after the terminator
  const std::size_t recordLength = 1 + 9 + 8;
  std::string file(headerLength, '\0');
  auto put = [&file](std::size_t at, std::size_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
  };
  file[0] = '\x30';
  put(4, rows.size(), 4);
  put(8, headerLength, 2);
  put(10, recordLength, 2);
  file[29] = '\x03';
  struct Descriptor {
    const char* name;
    char type;
    std::size_t offset;
    std::size_t length;
  } descriptors[] = {{"HORA", 'N', 1, 9}, {"DOBLE", 'B', 10, 8}};
  for (std::size_t i = 0; i < 2; ++i) {
    std::size_t at = 32 + 32 * i;
    file.replace(at, std::strlen(descriptors[i].name), descriptors[i].name);
    file[at + 11] = descriptors[i].type;
    put(at + 12, descriptors[i].offset, 4);
    put(at + 16, descriptors[i].length, 1);
  }
  file[32 + 2 * 32] = '\x0D';
  for (const auto& [hora, doble] : rows) {
    std::string record = " " + std::string(9 - hora.size(), ' ') + hora;
    char bytes[8];
    std::memcpy(bytes, &doble, sizeof bytes);  // little-endian, as the hosts the program runs on
    file += record + std::string(bytes, sizeof bytes);
  }
  return file + "\x1A";
}

TEST_F(TableTest, NumbersBeyondTheIntegerRangeFailToReadAsIntegers) {
  double nan = std::numeric_limits<double>::quiet_NaN();
  double infinity = std::numeric_limits<double>::infinity();
  drive_.WriteHostFile("HTEMP/ZORRO.DBF", VisualFoxProTable({{"1e99", 1e99},
                                                             {"-1e99", nan},
                                                             {"2.2e9", -infinity},
                                                             {"2.1e9", 2147483647.4},
                                                             {"-2.1e9", -2147483648.4}}));
  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\ZORRO.DBF");
  table.Open();
  auto asInteger = [&table](const char* field) {
    try {
      return std::to_string(table.AsInteger(field));
    } catch (const DatabaseError& error) {
      return std::string(error.what());
    }
  };
  struct Case {
    std::uint32_t record;
    const char* field;
    const char* read;  // the number, or the error's message
  } cases[] = {{1, "HORA", "'1E99' no es un valor entero válido"},
               {1, "DOBLE", "'1E99' no es un valor entero válido"},
               {2, "HORA", "'-1E99' no es un valor entero válido"},
               {2, "DOBLE", "'NAN' no es un valor entero válido"},
               {3, "HORA", "'2200000000' no es un valor entero válido"},
               {3, "DOBLE", "'-INF' no es un valor entero válido"},
               {4, "HORA", "2100000000"},
               {4, "DOBLE", "2147483647"},
               {5, "HORA", "-2100000000"},
               {5, "DOBLE", "-2147483648"}};
  for (const Case& c : cases) {
    table.GoToRecord(c.record);
    EXPECT_EQ(asInteger(c.field), c.read) << c.record << " " << c.field;
  }
}

TEST_F(TableTest, FloatsReadAsTextInGeneralFormat) {
  CreateSample();
  auto table = OpenSample();
  struct Case {
    double value;
    const char* text;
  } cases[] = {{1, "1"}, {0.1, "0,1"}, {123456.789, "123456,789"}, {-0.5, "-0,5"}, {0.0001, "0,0001"}, {1e13, "10000000000000"}};
  for (const Case& c : cases) {
    table->Append();
    table->SetAsFloat("NHORAS", c.value);
    table->Post();
    EXPECT_EQ(table->AsString("NHORAS"), c.text) << c.value;
  }
  table->Close();
  storage::Engine dotted('.');
  Table withDot(dotted);
  withDot.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
  withDot.Open();
  withDot.First();
  withDot.Next();
  EXPECT_EQ(withDot.AsString("NHORAS"), "0.1");
}

TEST_F(TableTest, EmptyNumbersAndDatesReadAsZero) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("COD", "A");
  table->Post();
  EXPECT_EQ(table->AsInteger("HORA"), 0);
  EXPECT_EQ(table->AsFloat("NHORAS"), 0.0);
  EXPECT_TRUE(table->AsDate("FECHA").IsEmpty());
  EXPECT_TRUE(table->IsNull("FECHA"));
  EXPECT_EQ(table->AsString("FECHA"), "");
}

TEST_F(TableTest, WritingConvertsAndChecks) {
  CreateSample();
  auto table = OpenSample();
  table->Append();
  table->SetAsString("HORA", "17");
  table->SetAsString("NHORAS", "2,25");
  table->SetAsInteger("COD", 123);
  table->SetAsBoolean("REPITE", true);
  table->SetAsString("FECHA", "29/02/2024");
  table->Post();
  EXPECT_EQ(table->AsInteger("HORA"), 17);
  EXPECT_EQ(table->AsFloat("NHORAS"), 2.25);
  EXPECT_EQ(table->AsString("COD"), "123");
  EXPECT_TRUE(table->AsBoolean("REPITE"));
  EXPECT_EQ(table->AsDate("FECHA"), (storage::Date{2024, 2, 29}));

  table->Edit();
  EXPECT_EQ(ErrorOf([&] { table->SetAsString("HORA", "1,5"); }),
            "'1,5' no es un valor entero válido para el campo 'HORA'");
  EXPECT_EQ(ErrorOf([&] { table->SetAsString("NHORAS", "1.5"); }),
            "'1.5' no es un valor punto flotante válido para el campo 'NHORAS'");
  EXPECT_EQ(ErrorOf([&] { table->SetAsInteger("HORA", 1000000000); }),
            "1000000000 no es un valor permitido para el campo 'HORA'. El rango válido es de -99999999 a 999999999");
  EXPECT_EQ(ErrorOf([&] { table->SetAsFloat("NHORAS", 1e16); }),
            "1E16 no es un valor permitido para el campo 'NHORAS'. El rango válido es de -9999999999999 a 99999999999999");
  table->SetAsString("HORA", "");
  table->Post();
  EXPECT_TRUE(table->IsNull("HORA"));
  EXPECT_EQ(table->AsInteger("HORA"), 0);

  // Whole numbers into a field without decimals and into one with them.
  table->Edit();
  table->SetAsInteger("HORA", -99999999);
  table->SetAsInteger("NHORAS", -3);
  table->Post();
  EXPECT_EQ(table->AsInteger("HORA"), -99999999);
  EXPECT_EQ(table->AsFloat("NHORAS"), -3.0);
  EXPECT_EQ(ErrorOf([&] { table->Edit(), table->SetAsInteger("HORA", -100000000); }),
            "-100000000 no es un valor permitido para el campo 'HORA'. El rango válido es de -99999999 a 999999999");
}

// ---------------------------------------------------------------------------------------------------------
// Indexes, find, filters and record numbers

TEST_F(TableTest, TheIndexOrdersByKeyWithEqualKeysInRecordOrder) {
  CreateSample("ASIGVALT", true);
  auto table = OpenSample("ASIGVALT");
  AddRecords(*table, {{"C", 3}, {"A", 1}, {"B", 2}, {"A", 4}, {"b", 0}, {"", 5}});
  table->SetIndexName("COD");
  table->First();
  std::vector<std::pair<std::string, std::uint32_t>> walked;
  for (table->First(); !table->Eof(); table->Next()) walked.emplace_back(table->AsString("COD"), table->RecNo());
  EXPECT_EQ(walked, (std::vector<std::pair<std::string, std::uint32_t>>{
                        {"", 6}, {"A", 2}, {"A", 4}, {"B", 3}, {"C", 1}, {"b", 5}}));
  table->SetIndexName("HORA");
  EXPECT_EQ(Walk(*table), (std::vector<std::string>{"b", "A", "B", "C", "A", ""}));
  table->SetIndexName("");
  EXPECT_EQ(Walk(*table), (std::vector<std::string>{"C", "A", "B", "A", "b", ""}));
}

TEST_F(TableTest, TheIndexFollowsAppendsAndEdits) {
  CreateSample("ASIGVALT", true);
  auto table = OpenSample("ASIGVALT");
  table->SetIndexName("COD");
  AddRecords(*table, {{"M", 1}, {"D", 2}});
  table->First();
  table->Edit();
  table->SetAsString("COD", "Z");
  table->Post();
  AddRecords(*table, {{"A", 3}});
  EXPECT_EQ(Walk(*table), (std::vector<std::string>{"A", "M", "Z"}));
}

TEST_F(TableTest, AnUnknownIndexIsTheEnginesError) {
  CreateSample("ASIGVALT", true);
  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\ASIGVALT.DBF");
  table.SetIndexName("NOEXISTE");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "No existe el índice 'NOEXISTE': C:\\HTEMP\\ASIGVALT.DBF");
  EXPECT_FALSE(table.Active());
}

TEST_F(TableTest, FindKeyGoesToTheFirstEqualKeyOrStays) {
  CreateSample("ASIGVALT", true);
  auto table = OpenSample("ASIGVALT");
  AddRecords(*table, {{"C", 3}, {"A", 1}, {"B", 2}, {"B", 4}});
  table->SetIndexName("COD");
  table->First();
  EXPECT_TRUE(table->FindKey("B"));
  EXPECT_EQ(table->RecNo(), 3u);
  EXPECT_FALSE(table->FindKey("Q"));
  EXPECT_EQ(table->RecNo(), 3u);
  EXPECT_TRUE(table->FindKey("ABCDEFG") == false);
  EXPECT_TRUE(table->FindKey("C    "));
  EXPECT_EQ(table->RecNo(), 1u);
  table->SetIndexName("HORA");
  EXPECT_TRUE(table->FindKey("4"));
  EXPECT_EQ(table->AsString("COD"), "B");
}

TEST_F(TableTest, RecordNumbersArePhysicalWhateverTheIndex) {
  CreateSample("ASIGVALT", true);
  auto byCode = OpenSample("ASIGVALT");
  AddRecords(*byCode, {{"C", 1}, {"A", 3}, {"B", 2}});
  byCode->SetIndexName("COD");
  auto byHour = OpenSample("ASIGVALT");
  byHour->SetIndexName("HORA");
  byCode->First();
  byHour->First();
  byHour->Next();
  byHour->Next();
  EXPECT_EQ(byCode->AsString("COD"), byHour->AsString("COD"));
  EXPECT_EQ(byCode->RecNo(), byHour->RecNo());
  EXPECT_EQ(byCode->RecNo(), 2u);
}

TEST_F(TableTest, AFilterShowsTheRecordsWhoseFieldEqualsTheConstant) {
  CreateSample();
  {
    auto table = OpenSample();
    // A key alone, in runs of one and of two, and between others.
    AddRecords(*table, {{"A1", 1}, {"A10", 2}, {"A1", 3}, {"a1", 4}, {"O'N", 5}, {"", 6}, {"A1", 7}, {"A1", 8}});
  }
  struct Case {
    const char* filter;
    std::vector<int> hours;
  } cases[] = {{"COD= 'A1        '", {1, 3, 7, 8}}, {"Cod='A1'", {1, 3, 7, 8}}, {"COD= 'O''N'", {5}},
               {"COD= ''", {6}}, {"COD= 'Z'", {}}};
  for (const Case& c : cases) {
    Table table(engine_);
    table.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
    table.SetFilter(c.filter);
    table.SetFiltered(true);
    table.Open();
    std::vector<int> hours;
    for (table.First(); !table.Eof(); table.Next()) hours.push_back(table.AsInteger("HORA"));
    EXPECT_EQ(hours, c.hours) << c.filter;
  }
}

TEST_F(TableTest, AFilterFollowsLaterChanges) {
  CreateSample();
  auto writer = OpenSample();
  AddRecords(*writer, {{"A", 1}, {"B", 2}});
  Table filtered(engine_);
  filtered.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
  filtered.SetFilter("COD= 'B'");
  filtered.SetFiltered(true);
  filtered.Open();
  AddRecords(*writer, {{"B", 3}});
  writer->First();
  writer->Edit();
  writer->SetAsString("COD", "B");
  writer->Post();
  std::vector<int> hours;
  for (filtered.First(); !filtered.Eof(); filtered.Next()) hours.push_back(filtered.AsInteger("HORA"));
  EXPECT_EQ(hours, (std::vector<int>{1, 2, 3}));
}

TEST_F(TableTest, ABadFilterIsAnError) {
  CreateSample();
  Table table(engine_, "wwTableAsigAlum");
  table.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
  table.SetFilter("COD= A1");
  table.SetFiltered(true);
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "Expresión de filtro no válida 'COD= A1': C:\\HTEMP\\MUESTRA.DBF");
  table.SetFilter("Codigo= 'A1'");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "wwTableAsigAlum: No se encuentra el campo 'Codigo'");
}

TEST_F(TableTest, AStaleOrMissingIndexFileStillOrdersCorrectly) {
  CreateSample("ASIGVALT", true);
  std::string emptyIndex = drive_.ReadHostFile("HTEMP/ASIGVALT.MDX");
  {
    auto table = OpenSample("ASIGVALT");
    AddRecords(*table, {{"C", 3}, {"A", 1}, {"B", 2}});
  }
  EXPECT_NE(drive_.ReadHostFile("HTEMP/ASIGVALT.MDX"), emptyIndex);  // rewritten when the table closed
  drive_.WriteHostFile("HTEMP/ASIGVALT.MDX", emptyIndex);
  {
    storage::Engine fresh('.');
    Table stale(fresh);
    stale.SetTableName("C:\\HTEMP\\ASIGVALT.DBF");
    stale.SetIndexName("COD");
    stale.Open();
    EXPECT_EQ(Walk(stale), (std::vector<std::string>{"A", "B", "C"}));
  }
  ASSERT_TRUE(platform::RemoveFile("C:\\HTEMP\\ASIGVALT.MDX"));
  storage::Engine fresh('.');
  Table missing(fresh);
  missing.SetTableName("C:\\HTEMP\\ASIGVALT.DBF");
  missing.SetIndexName("HORA");
  missing.Open();
  EXPECT_EQ(Walk(missing), (std::vector<std::string>{"A", "B", "C"}));
}

// ---------------------------------------------------------------------------------------------------------
// Opening, exclusive use, emptying, creating

TEST_F(TableTest, AMissingTableIsTheEnginesError) {
  Table table(engine_);
  table.SetDatabaseName("c:\\htemp\\valencia");
  table.SetTableName("centro");
  table.SetDbfExtensionImplied(true);
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "La tabla no existe: C:\\htemp\\valencia\\centro.DBF");
}

TEST_F(TableTest, ADamagedHeaderIsTheEnginesError) {
  drive_.WriteHostFile("HTEMP/ROTA.DBF", std::string("\x03\x7c\x01\x01", 4));
  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\ROTA.DBF");
  EXPECT_EQ(ErrorOf([&] { table.Open(); }), "La tabla está dañada (la cabecera está incompleta): C:\\HTEMP\\ROTA.DBF");
}

// Counting a table's records without loading them gives what a walk visits: deleted records left out, records
// posted by a table object still open counted, and an opening's errors for a file that is no table.
TEST_F(TableTest, CountingRecordsGivesWhatAWalkVisits) {
  CreateSample();
  {
    auto table = OpenSample();
    AddRecords(*table, {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}});
  }
  engine_.ReleaseAll();
  // Records 2 and 5 deleted, as another program marks them.
  std::string bytes = drive_.ReadHostFile("HTEMP/MUESTRA.DBF");
  const std::size_t header = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
  const std::size_t length = static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8;
  for (std::size_t record : {2u, 5u}) bytes[header + (record - 1) * length] = '*';
  drive_.WriteHostFile("HTEMP/MUESTRA.DBF", bytes);

  EXPECT_EQ(engine_.CountRecords("C:\\HTEMP\\MUESTRA.DBF"), 3u);
  {
    auto table = OpenSample();
    EXPECT_EQ(Walk(*table), (std::vector<std::string>{"A", "C", "D"}));
    AddRecords(*table, {{"F", 6}});
    EXPECT_EQ(engine_.CountRecords("C:\\HTEMP\\MUESTRA.DBF"), 4u);
  }
  engine_.ReleaseAll();
  EXPECT_EQ(engine_.CountRecords("C:\\HTEMP\\MUESTRA.DBF"), 4u);

  drive_.WriteHostFile("HTEMP/CORTA.DBF", drive_.ReadHostFile("HTEMP/MUESTRA.DBF").substr(0, header + length));
  EXPECT_EQ(ErrorOf([&] { engine_.CountRecords("C:\\HTEMP\\CORTA.DBF"); }),
            "La tabla está dañada (el archivo es más corto de lo que indica la cabecera): C:\\HTEMP\\CORTA.DBF");
  EXPECT_EQ(ErrorOf([&] { engine_.CountRecords("C:\\HTEMP\\NINGUNA.DBF"); }), "La tabla no existe: C:\\HTEMP\\NINGUNA.DBF");
}

TEST_F(TableTest, EmptyingRemovesEveryRecordAndTruncatesTheFile) {
  CreateSample();
  {
    auto table = OpenSample();
    AddRecords(*table, {{"A", 1}, {"B", 2}});
  }
  std::size_t emptySize = 32 + 6 * 32 + 1 + 1;
  Table closed(engine_);
  closed.SetTableName("C:\\HTEMP\\MUESTRA.DBF");
  closed.EmptyTable();
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/MUESTRA.DBF").size(), emptySize);
  auto table = OpenSample();
  AddRecords(*table, {{"C", 3}});
  table->Append();
  table->SetAsString("COD", "D");
  table->EmptyTable();
  EXPECT_TRUE(Walk(*table).empty());
  EXPECT_EQ(table->RecordCount(), 0u);
  EXPECT_EQ(drive_.ReadHostFile("HTEMP/MUESTRA.DBF").size(), emptySize);
}

// An engine that has not read the table yet empties it without its records, the index with it.
TEST_F(TableTest, EmptyingATableTheEngineHasNotReadLeavesNoRecordAndAnEmptyIndex) {
  CreateSample("INDEXADA", true);
  {
    auto table = OpenSample("INDEXADA");
    AddRecords(*table, {{"B", 2}, {"A", 1}});
  }
  storage::Engine fresh(',');
  Table emptied(fresh);
  emptied.SetTableName("C:\\HTEMP\\INDEXADA.DBF");
  emptied.EmptyTable();
  Table reader(fresh);
  reader.SetTableName("C:\\HTEMP\\INDEXADA.DBF");
  reader.SetIndexName("COD");
  reader.Open();
  EXPECT_TRUE(Walk(reader).empty());
  reader.Append();
  reader.SetAsString("COD", "C");
  reader.Post();
  EXPECT_EQ(Walk(reader), (std::vector<std::string>{"C"}));
  reader.Close();
  storage::Engine other(',');
  Table again(other);
  again.SetTableName("C:\\HTEMP\\INDEXADA.DBF");
  again.SetIndexName("COD");
  again.Open();
  EXPECT_EQ(Walk(again), (std::vector<std::string>{"C"}));
}

TEST_F(TableTest, CreatingATableThatExistsReplacesIt) {
  CreateSample("ASIGVALT", true);
  {
    auto table = OpenSample("ASIGVALT");
    AddRecords(*table, {{"A", 1}});
  }
  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\asigvalt.dbf");
  table.AddFieldDef("OTRO", DataType::ftString, 3);
  table.CreateTable();
  table.Open();
  EXPECT_EQ(table.RecordCount(), 0u);
  ASSERT_EQ(table.Fields().size(), 1u);
  EXPECT_EQ(table.Fields()[0].name, "OTRO");
  EXPECT_FALSE(platform::FileExists("C:\\HTEMP\\ASIGVALT.MDX"));  // no index definitions: the old index goes
}

TEST_F(TableTest, CreatedTypesReadBackAsTheirKinds) {
  CreateSample();
  auto table = OpenSample();
  std::vector<std::pair<std::string, DataType>> kinds;
  for (const auto& field : table->Fields()) kinds.emplace_back(field.name, field.dataType);
  EXPECT_EQ(kinds, (std::vector<std::pair<std::string, DataType>>{{"COD", DataType::ftString},
                                                                  {"NOMBRE", DataType::ftString},
                                                                  {"HORA", DataType::ftInteger},
                                                                  {"NHORAS", DataType::ftFloat},
                                                                  {"REPITE", DataType::ftBoolean},
                                                                  {"FECHA", DataType::ftDate}}));
}

}  // namespace
