// Our tables against dBase readers and writers that share no code with us:
//   - tables that python-dbf writes (dBase III, dBase III with .DBT, FoxPro with .FPT), read by us;
//   - tables we create, read by python-dbfread, Perl XBase's dbf_dump and GDAL's ogrinfo;
//   - our production index (.MDX), read by Perl XBase's index_dump;
//   - tables that python-dbf wrote and we then appended to and edited, read again by python-dbfread.
// The tools come from Debian (python3-dbf, python3-dbfread, libdbd-xbase-perl, gdal-bin); a test whose tool
// is missing is skipped. The small Python helpers live in interop/ beside this file.
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "storage/storage.h"
#include "tests/storage/foreign_tables.h"
#include "tests/support/temporary_drive.h"

namespace storage::dbf {
// For readable failure messages on stored values.
inline void PrintTo(const Date& date, std::ostream* out) { *out << date.year << '-' << date.month << '-' << date.day; }
}  // namespace storage::dbf

namespace {

namespace fs = std::filesystem;
using storage::DataType;
using storage::Date;
using storage::Table;

const fs::path kHelpers = fs::path(__FILE__).parent_path() / "interop";

// ---------------------------------------------------------------------------------------------------------
// Running the tools

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct ToolRun {
  int status = -1;  // exit status; 128 + signal when killed
  std::string out;
  std::string err;
};

// Runs a /bin/sh command line and collects its standard output (bytes as they come) and error output.
ToolRun RunCommand(const std::string& command) {
  std::string errPath = (fs::temp_directory_path() / "interop-stderr-XXXXXX").string();
  int fd = ::mkstemp(errPath.data());
  if (fd >= 0) ::close(fd);
  ToolRun run;
  if (FILE* pipe = ::popen((command + " 2>" + ShellQuoted(errPath)).c_str(), "r")) {
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::ifstream err(errPath, std::ios::binary);
  run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  ::unlink(errPath.c_str());
  return run;
}

bool HasCommand(const std::string& name) { return RunCommand("command -v " + ShellQuoted(name)).status == 0; }

// The Python interpreter that can import `modules`. Debian's python3-* packages belong to /usr/bin/python3;
// a python3 found earlier on PATH (pyenv, a virtualenv) usually cannot see them.
std::optional<std::string> PythonWith(const std::string& modules) {
  static std::map<std::string, std::optional<std::string>> found;
  auto known = found.find(modules);
  if (known != found.end()) return known->second;
  std::optional<std::string>& python = found[modules];
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    if (RunCommand(std::string(candidate) + " -c " + ShellQuoted("import " + modules)).status == 0) {
      python = candidate;
      break;
    }
  }
  return python;
}

std::string Describe(const ToolRun& run) {
  return "exit status " + std::to_string(run.status) + ", error output:\n" + run.err;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// The lines of a tool's output, without the empty piece after the last newline.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines = Split(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// ---------------------------------------------------------------------------------------------------------
// Text, numbers and bytes

// Converts text between two encodings with the C library's iconv (not through our own code-page tables).
std::string Recode(std::string_view text, const char* from, const char* to) {
  iconv_t converter = ::iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + from);
  std::string in(text);
  std::string out(text.size() * 4 + 16, '\0');
  char* inPointer = in.data();
  char* outPointer = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  std::size_t result = ::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
  ::iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error(std::string("cannot convert from ") + from);
  out.resize(out.size() - outLeft);
  return out;
}

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string WithoutOuterBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : WithoutTrailingBlanks(text.substr(first));
}

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

double Number(std::string_view text) {
  auto value = ParseNumber(text);
  if (!value) throw std::runtime_error("not a number: " + std::string(text));
  return *value;
}

unsigned Byte(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes.at(at)); }
unsigned U16(std::string_view bytes, std::size_t at) { return Byte(bytes, at) | Byte(bytes, at + 1) << 8; }
std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16(bytes, at) | U16(bytes, at + 2) << 16);
}

// The positions where two byte strings of equal length differ, for failure messages.
std::vector<std::size_t> DifferingBytes(std::string_view a, std::string_view b) {
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) positions.push_back(i);
  }
  return positions;
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      json += escaped;
    } else {
      json += c;  // UTF-8 passes as it is
    }
  }
  return json + "\"";
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// Dates as the tools print them.
std::string Compact(const Date& date) {
  return std::to_string(date.year) + TwoDigits(date.month) + TwoDigits(date.day);
}
std::string Iso(const Date& date) {
  return std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}
std::string Slashed(const Date& date) {
  return std::to_string(date.year) + "/" + TwoDigits(date.month) + "/" + TwoDigits(date.day);
}
std::string DayFirst(const Date& date) {
  return TwoDigits(date.day) + "/" + TwoDigits(date.month) + "/" + std::to_string(date.year);
}

Date DateOfCompact(const std::string& text) {
  return Date{std::stoi(text.substr(0, 4)), std::stoi(text.substr(4, 2)), std::stoi(text.substr(6, 2))};
}

// ---------------------------------------------------------------------------------------------------------
// python-dbfread's view of a table (see interop/read_table.py for the format)

struct DbfreadTable {
  std::string encoding;
  std::vector<std::vector<std::string>> fields;  // name, type, length, decimals
  std::vector<std::vector<std::string>> live;
  std::vector<std::vector<std::string>> deleted;
};

std::optional<DbfreadTable> ReadWithDbfread(const std::string& python, const std::string& hostPath) {
  ToolRun run =
      RunCommand(python + " " + ShellQuoted((kHelpers / "read_table.py").string()) + " " + ShellQuoted(hostPath));
  if (run.status != 0) {
    ADD_FAILURE() << "python-dbfread could not read " << hostPath << ": " << Describe(run);
    return std::nullopt;
  }
  DbfreadTable table;
  for (const std::string& line : Lines(run.out)) {
    std::vector<std::string> cells = Split(line, '\t');
    std::string kind = cells.front();
    cells.erase(cells.begin());
    if (kind == "encoding") table.encoding = cells.at(0);
    if (kind == "field") table.fields.push_back(cells);
    if (kind == "live") table.live.push_back(cells);
    if (kind == "deleted") table.deleted.push_back(cells);
  }
  return table;
}

// Names parameterised tests after their case.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& tested) {
  return tested.param.label;
}

// Cells as read_table.py prints them.
std::string TextCell(std::string_view text) {
  std::string cell = "s:";
  for (char c : text) {
    switch (c) {
      case '\\': cell += "\\\\"; break;
      case '\t': cell += "\\t"; break;
      case '\r': cell += "\\r"; break;
      case '\n': cell += "\\n"; break;
      default: cell += c;
    }
  }
  return cell;
}
std::string DateCell(const std::optional<Date>& date) { return date ? "d:" + Iso(*date) : "-"; }
std::string BoolCell(const std::optional<bool>& flag) { return flag ? (*flag ? "b:True" : "b:False") : "-"; }

// Compares a row of cells; floats ("f:") by the double they stand for, everything else as text.
void ExpectCells(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    SCOPED_TRACE("column " + std::to_string(i + 1));
    if (actual[i].rfind("f:", 0) == 0 && expected[i].rfind("f:", 0) == 0) {
      EXPECT_EQ(Number(actual[i].substr(2)), Number(expected[i].substr(2))) << actual[i] << " vs " << expected[i];
    } else {
      EXPECT_EQ(actual[i], expected[i]);
    }
  }
}

// =========================================================================================================
// Tables that python-dbf writes
// =========================================================================================================

// A column of the tables python-dbf writes, and what our engine must report for it.
struct Column {
  const char* name;
  const char* definition;  // the field's type as python-dbf writes it, e.g. "N(5,2)"
  char type;
  int length;
  int decimals;
  DataType dataType;
};

// N widths around the limits where a field stops fitting 16 and 32 bits.
const Column kName{"NAME", "C(20)", 'C', 20, 0, DataType::ftString};
const Column kSmall{"SMALL", "N(4,0)", 'N', 4, 0, DataType::ftSmallint};
const Column kMedium{"MEDIUM", "N(5,0)", 'N', 5, 0, DataType::ftInteger};
const Column kWhole{"WHOLE", "N(9,0)", 'N', 9, 0, DataType::ftInteger};
const Column kBig{"BIG", "N(10,0)", 'N', 10, 0, DataType::ftFloat};
const Column kMoney{"MONEY", "N(10,2)", 'N', 10, 2, DataType::ftFloat};
const Column kRate{"RATE", "F(12,3)", 'F', 12, 3, DataType::ftFloat};
const Column kDate{"FECHA", "D", 'D', 8, 0, DataType::ftDate};
const Column kFlag{"OK", "L", 'L', 1, 0, DataType::ftBoolean};
const Column kNotes{"NOTES", "M", 'M', 10, 0, DataType::ftMemo};

// A record: values by column name as text (numbers in decimal, dates YYYYMMDD, logicals T / F); a column
// left out is empty. `ours` marks a record that our engine appended.
struct Row {
  bool deleted = false;
  std::map<std::string, std::string> values;
  bool ours = false;

  std::optional<std::string> Get(const std::string& column) const {
    auto found = values.find(column);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
};

struct PythonTableCase {
  const char* label;
  const char* dbfType;  // python-dbf's table type
  const char* codePage;
  std::vector<Column> columns;
  std::uint8_t version;         // what the file's byte 0 must be
  std::uint8_t languageDriver;  // byte 29
  const char* memoExtension;    // "" without a memo file
  const char* codePageText;     // characters that only this code page of the two has
};

std::ostream& operator<<(std::ostream& out, const PythonTableCase& c) { return out << c.label; }

std::string LongMemo() {
  std::string text;
  for (int line = 1; line <= 60; ++line) text += "Línea " + std::to_string(line) + ": ÁÉÍÓÚÑÇ àèòü ñ ç.\r\n";
  return text;  // about 1.9 KB: several blocks of either memo file
}

// Records 2 and 6 are flagged deleted. python-dbf drops the leading blanks of character values, so no
// value here starts with one.
std::vector<Row> PythonRows(const std::string& codePageText) {
  return {
      {false,
       {{"NAME", "ÁÉÍÓÚÑÇ àèòü"}, {"SMALL", "-999"}, {"MEDIUM", "99999"}, {"WHOLE", "123456789"},
        {"BIG", "9999999999"}, {"MONEY", "-1234.56"}, {"RATE", "3.125"}, {"FECHA", "20240229"}, {"OK", "T"},
        {"NOTES", "Línea uno\r\nlínea dos: ÁÉÍÓÚÑÇ àèòü"}}},
      {true,
       {{"NAME", "borrado"}, {"SMALL", "1"}, {"MEDIUM", "1"}, {"WHOLE", "1"}, {"BIG", "1"}, {"MONEY", "1.00"},
        {"RATE", "1.5"}, {"FECHA", "20000101"}, {"OK", "F"}, {"NOTES", "memo de un registro borrado"}}},
      {false, {}},
      {false,
       {{"NAME", "Veinte letras: ÁÉÍÓÚ"}, {"SMALL", "9999"}, {"MEDIUM", "-9999"}, {"WHOLE", "-12345678"},
        {"BIG", "-999999999"}, {"MONEY", "0.05"}, {"RATE", "-0.001"}, {"FECHA", "19000101"}, {"OK", "F"},
        {"NOTES", LongMemo()}}},
      {false,
       {{"NAME", codePageText}, {"SMALL", "0"}, {"MEDIUM", "0"}, {"WHOLE", "0"}, {"BIG", "0"}, {"MONEY", "0.00"},
        {"RATE", "0"}, {"FECHA", "20991231"}, {"NOTES", codePageText}}},
      {true, {{"NAME", "último, borrado"}, {"FECHA", "20240101"}, {"OK", "T"}}},
  };
}

const char* const kCp850Only = "╔═╗ ı ß ½";
const char* const kCp1252Only = "€ ‰ Œ „x“ ƒ";

std::vector<Column> WithColumns(std::vector<Column> columns, std::initializer_list<Column> more) {
  columns.insert(columns.end(), more);
  return columns;
}

const std::vector<Column> kPlainColumns{kName, kSmall, kMedium, kWhole, kBig, kMoney, kDate, kFlag};

const PythonTableCase kPythonTables[] = {
    {"DBase3Cp850", "db3", "cp850", kPlainColumns, 0x03, 0x02, "", kCp850Only},
    {"DBase3DbtMemoCp1252", "db3", "cp1252", WithColumns(kPlainColumns, {kNotes}), 0x83, 0x03, ".DBT", kCp1252Only},
    {"FoxProFptMemoCp850", "fp", "cp850", WithColumns(kPlainColumns, {kRate, kNotes}), 0xF5, 0x02, ".FPT", kCp850Only},
    {"FoxProFptMemoCp1252", "fp", "cp1252", WithColumns(kPlainColumns, {kRate, kNotes}), 0xF5, 0x03, ".FPT",
     kCp1252Only},
};

// The plan that interop/write_table.py follows.
std::string PlanJson(const std::string& hostPath, const PythonTableCase& c, const std::vector<Row>& rows) {
  std::string definitions;
  for (const Column& column : c.columns) {
    definitions += std::string(definitions.empty() ? "" : "; ") + column.name + " " + column.definition;
  }
  std::string json = "{\"path\": " + JsonString(hostPath) + ", \"type\": " + JsonString(c.dbfType) +
                     ", \"codepage\": " + JsonString(c.codePage) + ", \"fields\": " + JsonString(definitions) +
                     ", \"records\": [";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    json += std::string(r ? ", " : "") + "{\"deleted\": " + (rows[r].deleted ? "true" : "false") + ", \"values\": [";
    for (std::size_t i = 0; i < c.columns.size(); ++i) {
      const Column& column = c.columns[i];
      auto value = rows[r].Get(column.name);
      std::string item;
      if (column.type == 'C' || column.type == 'M') {
        item = JsonString(value.value_or(""));
      } else if (!value) {
        item = "null";
      } else if (column.type == 'L') {
        item = *value == "T" ? "true" : "false";
      } else {
        item = JsonString(*value);
      }
      json += (i ? ", " : "") + item;
    }
    json += "]}";
  }
  return json + "]}\n";
}

class PythonDbfTableTest : public ::testing::TestWithParam<PythonTableCase> {
 protected:
  void SetUp() override {
    python_ = PythonWith("dbf");
    if (!python_) GTEST_SKIP() << "python3-dbf is not installed";
    drive_.MakeHostFolder("HTEMP");
  }

  // Writes C:\HTEMP\PY.DBF (and its memo file) with python-dbf.
  void WriteWithPython(const std::vector<Row>& rows) {
    drive_.WriteHostFile("plan.json", PlanJson(drive_.Host("HTEMP/PY.DBF"), GetParam(), rows));
    ToolRun run = RunCommand(*python_ + " " + ShellQuoted((kHelpers / "write_table.py").string()) + " " +
                             ShellQuoted(drive_.Host("plan.json")));
    ASSERT_EQ(run.status, 0) << "python-dbf could not write the table: " << Describe(run);
    std::string bytes = drive_.ReadHostFile("HTEMP/PY.DBF");
    ASSERT_EQ(Byte(bytes, 0), GetParam().version) << "python-dbf wrote another kind of table";
    ASSERT_EQ(Byte(bytes, 29), GetParam().languageDriver);
  }

  std::string MemoFile() const { return "HTEMP/PY" + std::string(GetParam().memoExtension); }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
  std::optional<std::string> python_;
};

// Checks every field of the current record against what python-dbf was given. Without the memo file a
// memo has no text (and reads as empty).
void ExpectRecord(const Table& table, const std::vector<Column>& columns, const Row& row, bool memoFileThere = true) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const Column& column = columns[i];
    SCOPED_TRACE(column.name);
    auto expected = row.Get(column.name);
    storage::dbf::Value value = table.Value(i);
    switch (column.type) {
      case 'C':
        EXPECT_EQ(table.AsString(column.name), expected.value_or(""));
        EXPECT_EQ(value, storage::dbf::Value(expected.value_or("")));
        EXPECT_EQ(table.IsNull(column.name), expected.value_or("").empty());
        break;
      case 'N':
      case 'F':
        if (!expected) {
          EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
          EXPECT_TRUE(table.IsNull(column.name));
          EXPECT_EQ(table.AsFloat(column.name), 0.0);
        } else {
          double number = Number(*expected);
          EXPECT_EQ(value, storage::dbf::Value(number));
          EXPECT_EQ(table.AsFloat(column.name), number);
          if (column.dataType != DataType::ftFloat) {
            EXPECT_EQ(table.AsInteger(column.name), static_cast<int>(number));
          }
        }
        break;
      case 'D':
        if (!expected) {
          EXPECT_EQ(table.AsDate(column.name), Date{});
          EXPECT_TRUE(table.IsNull(column.name));
        } else {
          EXPECT_EQ(table.AsDate(column.name), DateOfCompact(*expected));
          EXPECT_EQ(table.AsString(column.name), DayFirst(DateOfCompact(*expected)));
        }
        break;
      case 'L':
        if (!expected) {
          EXPECT_TRUE(std::holds_alternative<std::monostate>(value));  // python-dbf writes '?'
        } else {
          EXPECT_EQ(value, storage::dbf::Value(*expected == "T"));
        }
        EXPECT_EQ(table.AsBoolean(column.name), expected == "T");
        break;
      case 'M':
        if (memoFileThere) {
          EXPECT_EQ(table.MemoText(column.name), std::optional<std::string>(expected.value_or("")));
        } else {
          EXPECT_EQ(table.MemoText(column.name), std::nullopt);
          EXPECT_EQ(table.AsString(column.name), "");
        }
        break;
    }
  }
}

TEST_P(PythonDbfTableTest, WeReadEveryFieldAndSkipDeletedRecords) {
  const PythonTableCase& c = GetParam();
  std::vector<Row> rows = PythonRows(c.codePageText);
  WriteWithPython(rows);
  if (HasFatalFailure()) return;

  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\PY.DBF");
  table.Open();
  ASSERT_EQ(table.Fields().size(), c.columns.size());
  for (std::size_t i = 0; i < c.columns.size(); ++i) {
    const storage::FieldInfo& field = table.Fields()[i];
    const Column& column = c.columns[i];
    SCOPED_TRACE(column.name);
    EXPECT_EQ(field.name, column.name);
    EXPECT_EQ(field.type, column.type);
    EXPECT_EQ(field.size, column.length);
    EXPECT_EQ(field.decimals, column.decimals);
    EXPECT_EQ(field.dataType, column.dataType);
  }
  EXPECT_EQ(table.RecordCount(), rows.size());

  std::vector<std::uint32_t> visited;
  for (table.First(); !table.Eof(); table.Next()) {
    std::uint32_t number = table.RecNo();
    visited.push_back(number);
    ASSERT_TRUE(number >= 1 && number <= rows.size());
    SCOPED_TRACE("record " + std::to_string(number));
    ExpectRecord(table, c.columns, rows[number - 1]);
  }
  std::vector<std::uint32_t> live;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].deleted) live.push_back(static_cast<std::uint32_t>(i + 1));
  }
  EXPECT_EQ(visited, live);  // deleted records are skipped, record numbers stay physical
}

// Tables of other programs sometimes travel without their memo file: everything else must still read.
class PythonDbfMemoTableTest : public PythonDbfTableTest {};

TEST_P(PythonDbfMemoTableTest, WithoutTheMemoFileEveryOtherFieldStillReads) {
  const PythonTableCase& c = GetParam();
  std::vector<Row> rows = PythonRows(c.codePageText);
  WriteWithPython(rows);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(fs::remove(drive_.Host(MemoFile())));

  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\PY.DBF");
  table.Open();
  std::size_t visited = 0;
  for (table.First(); !table.Eof(); table.Next(), ++visited) {
    SCOPED_TRACE("record " + std::to_string(table.RecNo()));
    ExpectRecord(table, c.columns, rows.at(table.RecNo() - 1), false);
  }
  EXPECT_EQ(visited, 4u);
}

// ---------------------------------------------------------------------------------------------------------
// Appending to and editing a table that python-dbf wrote

// The cells python-dbfread prints for a row.
std::vector<std::string> DbfreadCells(const std::vector<Column>& columns, const Row& row) {
  std::vector<std::string> cells;
  for (const Column& column : columns) {
    auto value = row.Get(column.name);
    switch (column.type) {
      case 'C': cells.push_back(TextCell(WithoutTrailingBlanks(value.value_or("")))); break;
      case 'N':
      case 'F':
        if (!value) {
          cells.push_back("-");
        } else {
          // dbfread gives an int for digits without a point, else a float.
          bool integer = column.type == 'N' && column.decimals == 0;
          cells.push_back((integer ? "i:" : "f:") + *value);
        }
        break;
      case 'D': cells.push_back(value ? DateCell(DateOfCompact(*value)) : "-"); break;
      case 'L': cells.push_back(value ? BoolCell(*value == "T") : "-"); break;
      case 'M':
        // python-dbf gives every memo a block, even an empty one; records we append point to none.
        cells.push_back(row.ours && !value ? "-" : TextCell(value.value_or("")));
        break;
    }
  }
  return cells;
}

// Writes a row's values into the pending record through the accessors a program would use.
void WriteRow(Table& table, const std::vector<Column>& columns, const Row& row) {
  for (const Column& column : columns) {
    auto value = row.Get(column.name);
    if (!value) continue;
    switch (column.type) {
      case 'C': table.SetAsString(column.name, *value); break;
      case 'N':
      case 'F':
        if (column.dataType == DataType::ftFloat) {
          table.SetAsFloat(column.name, Number(*value));
        } else {
          table.SetAsInteger(column.name, static_cast<std::int32_t>(Number(*value)));
        }
        break;
      case 'D': table.SetAsString(column.name, DayFirst(DateOfCompact(*value))); break;
      case 'L': table.SetAsBoolean(column.name, *value == "T"); break;
      default: break;  // we do not write memos
    }
  }
}

// Bytes of the header that no reader we know gives a meaning to (reserved, multi-user), which a program
// that appends must still leave alone.
const std::size_t kReservedHeaderBytes[] = {12, 13, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 30, 31};

TEST_P(PythonDbfTableTest, AppendingAndEditingKeepsTheHeaderAndOtherReadersStillReadEveryRecord) {
  const PythonTableCase& c = GetParam();
  auto dbfread = PythonWith("dbfread");
  if (!dbfread) GTEST_SKIP() << "python3-dbfread is not installed";
  std::vector<Row> rows = PythonRows(c.codePageText);
  WriteWithPython(rows);
  if (HasFatalFailure()) return;

  // Fill the bytes other programs may keep in the header: the reserved ones and, after the field
  // descriptors, an area of their own (FoxPro's 263-byte backlink; for dBase III, 40 extra bytes that the
  // header length announces).
  std::string original = drive_.ReadHostFile("HTEMP/PY.DBF");
  std::string pattern = testing_support::PatternBytes(300, 7);
  for (std::size_t at : kReservedHeaderBytes) original[at] = pattern[at];
  original[1] = 99;  // last updated on 1 January 1999, so that the new date shows
  original[2] = 1;
  original[3] = 1;
  std::size_t headerLength = U16(original, 8);
  std::size_t terminator = original.find('\x0D', 32);
  while ((terminator - 32) % 32 != 0) terminator = original.find('\x0D', terminator + 1);
  if (terminator + 1 == headerLength) {
    original.insert(headerLength, pattern.substr(0, 40));
    headerLength += 40;
    original[8] = static_cast<char>(headerLength & 0xFF);
    original[9] = static_cast<char>(headerLength >> 8);
  } else {
    std::string area = "..\\DATOS\\ESCUELA.DBC" + pattern;
    original.replace(terminator + 1, headerLength - terminator - 1, area.substr(0, headerLength - terminator - 1));
  }
  drive_.WriteHostFile("HTEMP/PY.DBF", original);
  std::string memoBefore = c.memoExtension[0] ? drive_.ReadHostFile(MemoFile()) : "";
  std::size_t recordLength = U16(original, 10);

  // We edit records 1 and 3, then append copies of python-dbf's records 1 and 4 (their memos aside), which
  // must come out byte for byte as python-dbf stored them, and a text with a character cp850 lacks.
  const std::size_t kCopied[] = {0, 3};
  std::vector<Row> copies;
  for (std::size_t r : kCopied) {
    copies.push_back(rows[r]);
    copies.back().values.erase("NOTES");
    copies.back().ours = true;
  }
  bool hasEuro = std::string(c.codePage) == "cp1252";
  Row euro{false, {{"NAME", "5 € ó"}}, true};
  {
    Table table(engine_);
    table.SetTableName("C:\\HTEMP\\PY.DBF");
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      if (table.RecNo() == 1) {
        table.Edit();
        table.SetAsString("NAME", "Ñandú çà");
        table.SetAsInteger("SMALL", 42);
        table.SetAsString("FECHA", "15/08/2025");
        table.SetAsBoolean("OK", false);
        table.Post();
      } else if (table.RecNo() == 3) {
        table.Edit();
        table.SetAsFloat("MONEY", 7.5);
        table.SetAsBoolean("OK", true);
        table.Post();
      }
    }
    for (const Row& row : copies) {
      table.Append();
      WriteRow(table, c.columns, row);
      table.Post();
    }
    table.Append();
    WriteRow(table, c.columns, euro);
    table.Post();
    table.Close();
  }
  rows[0].values["NAME"] = "Ñandú çà";
  rows[0].values["SMALL"] = "42";
  rows[0].values["FECHA"] = "20250815";
  rows[0].values["OK"] = "F";
  rows[2].values["MONEY"] = "7.50";
  rows[2].values["OK"] = "T";
  std::size_t firstAppended = rows.size();
  rows.insert(rows.end(), copies.begin(), copies.end());
  if (!hasEuro) euro.values["NAME"] = "5 ? ó";  // what the code page lacks is stored as '?'
  rows.push_back(euro);

  std::string after = drive_.ReadHostFile("HTEMP/PY.DBF");
  std::size_t count = rows.size();
  ASSERT_EQ(after.size(), headerLength + count * recordLength + 1);
  EXPECT_EQ(Byte(after, after.size() - 1), 0x1Au);

  // The header: only the date of the last update and the record count change.
  std::string expectedHeader = original.substr(0, headerLength);
  util::Date today = platform::Today();
  expectedHeader[1] = static_cast<char>(today.year - 1900);
  expectedHeader[2] = static_cast<char>(today.month);
  expectedHeader[3] = static_cast<char>(today.day);
  for (int i = 0; i < 4; ++i) expectedHeader[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  EXPECT_EQ(DifferingBytes(after.substr(0, headerLength), expectedHeader), std::vector<std::size_t>{})
      << "header bytes changed";

  // Records: untouched ones byte for byte; edited ones only in the fields we wrote.
  std::map<std::size_t, std::set<std::string>> edited{{0, {"NAME", "SMALL", "FECHA", "OK"}}, {2, {"MONEY", "OK"}}};
  for (std::size_t r = 0; r < firstAppended; ++r) {
    SCOPED_TRACE("record " + std::to_string(r + 1));
    std::string_view before = std::string_view(original).substr(headerLength + r * recordLength, recordLength);
    std::string_view now = std::string_view(after).substr(headerLength + r * recordLength, recordLength);
    std::size_t offset = 1;
    EXPECT_EQ(now[0], before[0]) << "deletion flag";
    for (const Column& column : c.columns) {
      if (!edited[r].count(column.name)) {
        EXPECT_EQ(now.substr(offset, column.length), before.substr(offset, column.length)) << column.name;
      }
      offset += column.length;
    }
  }
  for (std::size_t k = 0; k < std::size(kCopied); ++k) {
    SCOPED_TRACE("our copy of record " + std::to_string(kCopied[k] + 1));
    std::string_view theirs =
        std::string_view(original).substr(headerLength + kCopied[k] * recordLength, recordLength);
    std::string_view ours =
        std::string_view(after).substr(headerLength + (firstAppended + k) * recordLength, recordLength);
    EXPECT_EQ(ours[0], ' ') << "deletion flag";
    std::size_t offset = 1;
    for (const Column& column : c.columns) {
      if (column.type != 'M') {
        EXPECT_EQ(ours.substr(offset, column.length), theirs.substr(offset, column.length)) << column.name;
      }
      offset += column.length;
    }
  }
  if (c.memoExtension[0]) {
    EXPECT_TRUE(drive_.ReadHostFile(MemoFile()) == memoBefore) << "the memo file changed";
  }

  auto read = ReadWithDbfread(*dbfread, drive_.Host("HTEMP/PY.DBF"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->encoding, c.codePage);
  std::vector<std::vector<std::string>> live;
  std::vector<std::vector<std::string>> deleted;
  for (const Row& row : rows) (row.deleted ? deleted : live).push_back(DbfreadCells(c.columns, row));
  ASSERT_EQ(read->live.size(), live.size());
  for (std::size_t i = 0; i < live.size(); ++i) {
    SCOPED_TRACE("live record " + std::to_string(i + 1));
    ExpectCells(read->live[i], live[i]);
  }
  ASSERT_EQ(read->deleted.size(), deleted.size());
  for (std::size_t i = 0; i < deleted.size(); ++i) {
    SCOPED_TRACE("deleted record " + std::to_string(i + 1));
    ExpectCells(read->deleted[i], deleted[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, PythonDbfTableTest, ::testing::ValuesIn(kPythonTables),
                         CaseName<PythonTableCase>);

std::vector<PythonTableCase> WithMemoFile() {
  std::vector<PythonTableCase> cases;
  for (const PythonTableCase& c : kPythonTables) {
    if (c.memoExtension[0]) cases.push_back(c);
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Tables, PythonDbfMemoTableTest, ::testing::ValuesIn(WithMemoFile()),
                         CaseName<PythonTableCase>);

// =========================================================================================================
// Tables of other programs that the tools here do not write: built byte by byte as those programs write them
// =========================================================================================================

using namespace foreign_tables;

class ForeignTableTest : public ::testing::Test {
 protected:
  void SetUp() override { drive_.MakeHostFolder("HTEMP"); }

  Table& Open(const std::string& bytes) {
    drive_.WriteHostFile("HTEMP/OTRO.DBF", bytes);
    table_.SetTableName("C:\\HTEMP\\OTRO.DBF");
    table_.Open();
    return table_;
  }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
  Table table_{engine_};
};

// As GIS tools write the attributes of shapes that have none.
TEST_F(ForeignTableTest, ATableWithoutFieldsReadsItsLiveRecords) {
  std::string bytes = XBaseTable(0x03, {}, {" ", "*", " "});
  ASSERT_EQ(bytes.size(), 33u + 3 + 1);
  Table& table = Open(bytes);
  EXPECT_TRUE(table.Fields().empty());
  EXPECT_EQ(table.RecordCount(), 3u);
  std::vector<std::uint32_t> visited;
  for (table.First(); !table.Eof(); table.Next()) visited.push_back(table.RecNo());
  EXPECT_EQ(visited, (std::vector<std::uint32_t>{1, 3}));
  // python-dbfread, which shares nothing with us, reads the same records from these bytes.
  if (auto python = PythonWith("dbfread")) {
    auto read = ReadWithDbfread(*python, drive_.Host("HTEMP/OTRO.DBF"));
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->fields.empty());
    EXPECT_EQ(read->live.size(), 2u);
    EXPECT_EQ(read->deleted.size(), 1u);
  }
}

// Visual FoxPro 9: NOMBRE V(10) that may be null, CODIGO C(4) that may be null, CLAVE Q(6), then _NullFlags.
// Its bits, from the lowest: NOMBRE's length, NOMBRE's null, CODIGO's null, CLAVE's length.
TEST_F(ForeignTableTest, VisualFoxProVarcharsReadAsTheirText) {
  std::vector<StoredField> fields = {
      {"NOMBRE", 'V', 10, 0, 0x02}, {"CODIGO", 'C', 4, 0, 0x02}, {"CLAVE", 'Q', 6, 0, 0x04}, {"_NullFlags", '0', 1, 0, 0x05}};
  std::string zeros(10, '\0');
  struct Case {
    std::string record;
    std::optional<std::string> name, code, key;  // nothing for a null value
  } cases[] = {
      {" " + std::string("Ana\xF1" "a  ") + zeros.substr(0, 2) + "\x07" + "1ESO" + "\x01\x02" + zeros.substr(0, 3) + "\x02" + "\x09",
       "Anaña  ", "1ESO", std::string("\x01\x02", 2)},
      {" " + std::string("Ciencias10") + "2BAC" + "abcdef" + std::string(1, '\0'), "Ciencias10", "2BAC", "abcdef"},
      // A null value's bytes are whatever was there before.
      {" " + std::string("Anterior\0\x08", 10) + "OLD1" + "x" + zeros.substr(0, 4) + "\x01" + "\x0F", std::nullopt,
       std::nullopt, "x"},
      {" " + zeros + "    " + zeros.substr(0, 6) + "\x09", "", "", ""},
  };
  std::vector<std::string> records;
  for (const Case& c : cases) records.push_back(c.record);
  Table& table = Open(XBaseTable(0x32, fields, records));
  ASSERT_EQ(table.Fields().size(), 3u) << "_NullFlags is not one of the table's fields";
  EXPECT_EQ(table.Fields()[0].dataType, DataType::ftString);
  table.First();
  for (const Case& c : cases) {
    SCOPED_TRACE("record " + std::to_string(table.RecNo()));
    ASSERT_FALSE(table.Eof());
    EXPECT_EQ(table.IsNull("NOMBRE"), !c.name || c.name->empty());
    EXPECT_EQ(table.IsNull("CODIGO"), !c.code || c.code->empty());
    EXPECT_EQ(table.AsString("NOMBRE"), c.name.value_or(""));
    EXPECT_EQ(table.AsString("CODIGO"), c.code.value_or(""));
    EXPECT_EQ(table.Value(0), c.name ? storage::dbf::Value(*c.name) : storage::dbf::Value());
    EXPECT_EQ(table.Value(2), c.key ? storage::dbf::Value(*c.key) : storage::dbf::Value());
    table.Next();
  }
  // A filter compares a varchar's value, not the bytes after it in the field.
  for (auto [filter, record] : {std::pair{"NOMBRE = 'Anaña'", 1u}, std::pair{"NOMBRE = 'Ciencias10'", 2u}}) {
    table.SetFilter(filter);
    table.SetFiltered(true);
    std::vector<std::uint32_t> visited;
    for (table.First(); !table.Eof(); table.Next()) visited.push_back(table.RecNo());
    EXPECT_EQ(visited, std::vector<std::uint32_t>{record}) << filter;
  }
}

TEST_F(ForeignTableTest, AVarcharWithoutItsLengthBitIsRefusedNamingItsType) {
  // A varchar in a FoxPro 2 table, which has no _NullFlags to say where its value ends.
  drive_.WriteHostFile("HTEMP/OTRO.DBF", XBaseTable(0xF5, {{"NOMBRE", 'V', 10}}, {" Ana\x03      "}));
  table_.SetTableName("C:\\HTEMP\\OTRO.DBF");
  try {
    table_.Open();
    ADD_FAILURE() << "opened";
  } catch (const storage::DatabaseError& error) {
    EXPECT_STREQ(error.what(),
                 "No se puede leer la tabla (el campo NOMBRE es de tipo V sin indicador de longitud): C:\\HTEMP\\OTRO.DBF");
  }
}

// Stored forms that only their own program writes are not written here: a value written as text into them
// would read back as something else in that program.
TEST_F(ForeignTableTest, FieldsInFormsOnlyTheirProgramWritesAreNotWritten) {
  struct Case {
    std::string bytes;
    const char* field;
    const char* message;
  } cases[] = {
      {XBaseTable(0x32, {{"NOMBRE", 'V', 10}, {"_NullFlags", '0', 1, 0, 0x05}}, {}), "NOMBRE",
       "No se puede escribir en el campo 'NOMBRE' de tipo V"},
      {XBaseTable(0x30, {{"CODIGO", 'C', 4, 0, 0x02}, {"_NullFlags", '0', 1, 0, 0x05}}, {}), "CODIGO",
       "No se puede escribir en el campo 'CODIGO' de tipo C que admite nulos"},
      {XBaseTable(0x30, {{"ALTA", 'T', 8}}, {}), "ALTA", "No se puede escribir en el campo 'ALTA' de tipo T"},
      {DBase7Table(0x04, {{"PUNTOS", 'I', 4}}, {}), "PUNTOS", "No se puede escribir en el campo 'PUNTOS' de tipo I"},
  };
  for (const Case& c : cases) {
    storage::Engine engine('.');
    Table table(engine);
    drive_.WriteHostFile("HTEMP/OTRO.DBF", c.bytes);
    table.SetTableName("C:\\HTEMP\\OTRO.DBF");
    table.Open();
    table.Append();
    for (const char* value : {"1", ""}) {
      try {
        table.SetAsString(c.field, value);
        ADD_FAILURE() << c.field << ": written";
      } catch (const storage::DatabaseError& error) {
        EXPECT_EQ(error.what(), std::string(c.message) + ": C:\\HTEMP\\OTRO.DBF");
      }
    }
    table.Cancel();
  }
}

// dBase 7, with a memo file (0x8C) and without (0x04): its long field names, the common types and its own
// binary numbers.
TEST_F(ForeignTableTest, DBase7TablesReadTheirCommonAndTheirOwnTypes) {
  std::vector<StoredField> fields = {{"NOMBRE_DEL_ALUMNO_COMPLETO", 'C', 12}, {"NOTA", 'N', 5, 1}, {"REPITE", 'L', 1},
                                     {"NACIDO", 'D', 8},  {"PUNTOS", 'I', 4}, {"NUMERO", '+', 4},
                                     {"MEDIA", 'O', 8}};
  std::vector<std::string> records = {
      " " + std::string("Mar\xEDn       ") + "  7.5" + "T" + "20100315" + DBase7Long(-123456) + DBase7Long(1) +
          DBase7Double(-0.1),
      "*" + std::string("Borrado     ") + "  1.0" + "F" + "20000101" + DBase7Long(0) + DBase7Long(2) + DBase7Double(1),
      " " + std::string(12, ' ') + "     " + "?" + "        " + std::string(4, '\0') + DBase7Long(3) +
          DBase7Double(123456789.25),
  };
  for (std::uint8_t version : {std::uint8_t{0x04}, std::uint8_t{0x8C}}) {
    SCOPED_TRACE("version " + std::to_string(version));
    storage::Engine engine('.');
    Table table(engine);
    drive_.WriteHostFile("HTEMP/DB7.DBF", DBase7Table(version, fields, records));
    table.SetTableName("C:\\HTEMP\\DB7.DBF");
    table.Open();
    ASSERT_EQ(table.Fields().size(), fields.size());
    EXPECT_EQ(table.Fields()[0].name, "NOMBRE_DEL_ALUMNO_COMPLETO");
    table.First();
    EXPECT_EQ(table.AsString("NOMBRE_DEL_ALUMNO_COMPLETO"), "Marín");
    EXPECT_EQ(table.AsFloat("NOTA"), 7.5);
    EXPECT_TRUE(table.AsBoolean("REPITE"));
    EXPECT_EQ(table.AsDate("NACIDO"), (Date{2010, 3, 15}));
    EXPECT_EQ(table.AsInteger("PUNTOS"), -123456);
    EXPECT_EQ(table.AsInteger("NUMERO"), 1);
    EXPECT_EQ(table.AsFloat("MEDIA"), -0.1);
    table.Next();  // the deleted record is skipped
    EXPECT_EQ(table.RecNo(), 3u);
    EXPECT_TRUE(table.IsNull("PUNTOS"));
    EXPECT_TRUE(table.IsNull("NOMBRE_DEL_ALUMNO_COMPLETO"));
    EXPECT_EQ(table.AsInteger("NUMERO"), 3);
    EXPECT_EQ(table.AsFloat("MEDIA"), 123456789.25);
    table.Next();
    EXPECT_TRUE(table.Eof());
  }
}

// dBase 7 keeps its memos in a .DBT as dBase IV does: the block size at byte 20 of the header, and each memo
// after FF FF 08 00 and its length (with those 8 bytes), little-endian.
TEST_F(ForeignTableTest, ADBase7TableReadsItsMemosFromItsDbt) {
  std::string text = "Tutoría de 2º ESO\r\nsegunda línea";
  std::string memo(512, '\0');
  memo.replace(20, 2, Le(512, 2));
  std::string stored = Recode(text, "UTF-8", "CP1252");  // the table's language driver
  memo += "\xFF\xFF\x08" + std::string(1, '\0') + Le(8 + stored.size(), 4) + stored;
  drive_.WriteHostFile("HTEMP/OTRO.DBT", memo);
  Table& table =
      Open(DBase7Table(0x8C, {{"CURSO", 'C', 4}, {"NOTAS", 'M', 10}}, {" 2ESO         1", " 1ESO          "}));
  table.First();
  EXPECT_EQ(table.MemoText("NOTAS"), text);
  table.Next();
  EXPECT_EQ(table.MemoText("NOTAS"), std::nullopt);
}

TEST_F(ForeignTableTest, ADBase7TimestampIsRefusedNamingDBase7) {
  drive_.WriteHostFile("HTEMP/OTRO.DBF", DBase7Table(0x04, {{"ALTA", '@', 8}}, {" " + std::string(8, '\0')}));
  table_.SetTableName("C:\\HTEMP\\OTRO.DBF");
  try {
    table_.Open();
    ADD_FAILURE() << "opened";
  } catch (const storage::DatabaseError& error) {
    EXPECT_STREQ(error.what(),
                 "No se puede leer la tabla (el campo ALTA es de tipo @, fecha y hora de dBase 7): C:\\HTEMP\\OTRO.DBF");
  }
}

// Visual FoxPro keeps the milliseconds of a date and time; python-dbf writes them.
TEST_F(ForeignTableTest, VisualFoxProDateTimesKeepTheirMilliseconds) {
  auto python = PythonWith("dbf");
  if (!python) GTEST_SKIP() << "python3-dbf is not installed";
  drive_.WriteHostFile("plan.json", "{\"path\": " + JsonString(drive_.Host("HTEMP/VFP.DBF")) +
                                        ", \"type\": \"vfp\", \"codepage\": \"cp1252\", \"fields\": \"ALTA T; N C(2)\", "
                                        "\"records\": [{\"values\": [\"20240229134507.123\", \"a\"]}, "
                                        "{\"values\": [\"20240229134507.000\", \"b\"]}, "
                                        "{\"values\": [\"19991231235959.999\", \"c\"]}]}\n");
  ToolRun run = RunCommand(*python + " " + ShellQuoted((kHelpers / "write_table.py").string()) + " " +
                           ShellQuoted(drive_.Host("plan.json")));
  ASSERT_EQ(run.status, 0) << "python-dbf could not write the table: " << Describe(run);
  ASSERT_EQ(Byte(drive_.ReadHostFile("HTEMP/VFP.DBF"), 0), 0x30u) << "python-dbf wrote another kind of table";
  table_.SetTableName("C:\\HTEMP\\VFP.DBF");
  table_.Open();
  struct Case {
    storage::dbf::DateTime value;
    const char* text;  // as AsString gives it: the seconds alone when there are no milliseconds
  } cases[] = {
      {{{2024, 2, 29}, 49507123}, "29/02/2024 13:45:07.123"},
      {{{2024, 2, 29}, 49507000}, "29/02/2024 13:45:07"},
      {{{1999, 12, 31}, 86399999}, "31/12/1999 23:59:59.999"},
  };
  table_.First();
  for (const Case& c : cases) {
    ASSERT_FALSE(table_.Eof());
    EXPECT_EQ(table_.Value(0), storage::dbf::Value(c.value)) << c.text;
    EXPECT_EQ(table_.AsString("ALTA"), c.text);
    table_.Next();
  }
}

// =========================================================================================================
// Tables we create, read by the other readers
// =========================================================================================================

struct CreatedRow {
  std::string name;                 // NOMBRE C(20)
  std::string group;                // LETRAGRUPO C(1), a name of the full ten characters
  std::optional<int> course;        // CURSO ftSmallint
  std::optional<int> hours;         // HORAS ftInteger
  const char* typedMark = nullptr;  // NOTA ftFloat, as a Spanish user types it
  std::optional<double> mark;       // and its value
  std::optional<bool> repeats;      // REPITE ftBoolean
  std::optional<Date> date;         // FECHA ftDate
  std::string remarks;              // OBSERVA C(254), the widest field we create
};

const CreatedRow kCreatedRows[] = {
    {"ÁÉÍÓÚÑÇ àèòü €", "x", 5, 123456789, "-1234,5678", -1234.5678, true, Date{2024, 2, 29},
     "Ñ" + std::string(252, '-') + "É"},
    {},
    {"Veinte letras: ÁÉÍÓÚ", "Ñ", -99999, -99999999, "0,0001", 0.0001, false, Date{1900, 1, 1}, "Sin  más"},
    {"  sangría", "", 999999, 999999999, "123456789012,3456", 123456789012.3456, std::nullopt, Date{2099, 12, 31},
     ""},
    {"Œ‰ƒ „comillas“ ÿ", "", 0, 0, "0", 0.0, true, std::nullopt, "€"},  // cp1252 letters outside Latin-1
};

class CreatedTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeHostFolder("HTEMP");
    Table table(engine_);
    table.SetTableName("C:\\HTEMP\\ALUMNOS.DBF");
    table.AddFieldDef("NOMBRE", DataType::ftString, 20);
    table.AddFieldDef("LETRAGRUPO", DataType::ftString, 1);
    table.AddFieldDef("CURSO", DataType::ftSmallint);
    table.AddFieldDef("HORAS", DataType::ftInteger);
    table.AddFieldDef("NOTA", DataType::ftFloat);
    table.AddFieldDef("REPITE", DataType::ftBoolean);
    table.AddFieldDef("FECHA", DataType::ftDate);
    table.AddFieldDef("OBSERVA", DataType::ftString, 254);
    table.AddIndexDef("NOMBRE", "NOMBRE");  // the readers must take the dBase IV index flags in stride
    table.CreateTable();
    table.Open();
    for (const CreatedRow& row : kCreatedRows) {
      table.Append();
      if (!row.name.empty()) table.SetAsString("NOMBRE", row.name);
      if (!row.group.empty()) table.SetAsString("LETRAGRUPO", row.group);
      if (row.course) table.SetAsInteger("CURSO", *row.course);
      if (row.hours) table.SetAsInteger("HORAS", *row.hours);
      if (row.typedMark) table.SetAsString("NOTA", row.typedMark);
      if (row.repeats) table.SetAsBoolean("REPITE", *row.repeats);
      if (row.date) table.SetAsString("FECHA", DayFirst(*row.date));
      if (!row.remarks.empty()) table.SetAsString("OBSERVA", row.remarks);
      table.Post();
    }
    fields_ = table.Fields();
    table.Close();
  }

  std::string Path() const { return drive_.Host("HTEMP/ALUMNOS.DBF"); }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{','};  // the decimal comma must never reach the file
  std::vector<storage::FieldInfo> fields_;
};

TEST_F(CreatedTableTest, DbfreadReadsTheFieldsTheValuesAndTheCodePage) {
  auto python = PythonWith("dbfread");
  if (!python) GTEST_SKIP() << "python3-dbfread is not installed";
  auto read = ReadWithDbfread(*python, Path());
  ASSERT_TRUE(read);
  EXPECT_EQ(read->encoding, "cp1252");  // from language driver 0x57
  ASSERT_EQ(read->fields.size(), fields_.size());
  std::string types;
  for (const storage::FieldInfo& field : fields_) types += field.type;
  EXPECT_EQ(types, "CCNNNLDC");
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    EXPECT_EQ(read->fields[i], (std::vector<std::string>{fields_[i].name, std::string(1, fields_[i].type),
                                                          std::to_string(fields_[i].size),
                                                          std::to_string(fields_[i].decimals)}));
  }
  EXPECT_TRUE(read->deleted.empty());
  ASSERT_EQ(read->live.size(), std::size(kCreatedRows));
  for (std::size_t r = 0; r < std::size(kCreatedRows); ++r) {
    SCOPED_TRACE("record " + std::to_string(r + 1));
    const CreatedRow& row = kCreatedRows[r];
    auto integer = [](const std::optional<int>& value) { return value ? "i:" + std::to_string(*value) : "-"; };
    char mark[64] = "-";
    if (row.mark) std::snprintf(mark, sizeof mark, "f:%.17g", *row.mark);
    ExpectCells(read->live[r],
                {TextCell(WithoutTrailingBlanks(row.name)), TextCell(row.group), integer(row.course),
                 integer(row.hours), mark, BoolCell(row.repeats), DateCell(row.date), TextCell(row.remarks)});
  }
}

TEST_F(CreatedTableTest, DbfDumpPrintsTheStoredValues) {
  if (!HasCommand("dbf_dump")) GTEST_SKIP() << "dbf_dump (libdbd-xbase-perl) is not installed";
  ToolRun run = RunCommand("dbf_dump --fs " + ShellQuoted("\t") + " --undef '<NULL>' " + ShellQuoted(Path()));
  ASSERT_EQ(run.status, 0) << Describe(run);
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), std::size(kCreatedRows));
  for (std::size_t r = 0; r < std::size(kCreatedRows); ++r) {
    SCOPED_TRACE("record " + std::to_string(r + 1));
    const CreatedRow& row = kCreatedRows[r];
    auto orNull = [](bool present, const std::string& text) { return present ? text : std::string("<NULL>"); };
    // dbf_dump prints numbers as Perl does, with 15 significant digits.
    char mark[64] = "";
    if (row.mark) std::snprintf(mark, sizeof mark, "%.15g", *row.mark);
    std::vector<std::string> expected{
        WithoutTrailingBlanks(row.name),
        row.group,
        orNull(row.course.has_value(), std::to_string(row.course.value_or(0))),
        orNull(row.hours.has_value(), std::to_string(row.hours.value_or(0))),
        orNull(row.mark.has_value(), mark),
        orNull(row.repeats.has_value(), row.repeats.value_or(false) ? "1" : "0"),
        orNull(row.date.has_value(), row.date ? Compact(*row.date) : ""),
        row.remarks,
    };
    // It prints text as stored, without converting any code page: read it as cp1252, what byte 29 says.
    std::vector<std::string> printed;
    for (const std::string& cell : Split(lines[r], '\t')) printed.push_back(Recode(cell, "CP1252", "UTF-8"));
    EXPECT_EQ(printed, expected);
  }
}

// ogrinfo's features: field name -> printed value, for each feature in order.
std::vector<std::map<std::string, std::string>> OgrFeatures(const std::string& out) {
  std::vector<std::map<std::string, std::string>> features;
  for (const std::string& line : Lines(out)) {
    if (line.rfind("OGRFeature(", 0) == 0) {
      features.emplace_back();
      continue;
    }
    std::size_t equals = line.find(" = ");
    if (features.empty() || line.rfind("  ", 0) != 0 || equals == std::string::npos) continue;
    std::string name = line.substr(2, line.find(' ', 2) - 2);
    features.back()[name] = line.substr(equals + 3);
  }
  return features;
}

TEST_F(CreatedTableTest, OgrinfoReadsEveryFeature) {
  if (!HasCommand("ogrinfo")) GTEST_SKIP() << "ogrinfo (gdal-bin) is not installed";
  ToolRun run = RunCommand("ogrinfo -ro -al -mdd all " + ShellQuoted(Path()));
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_NE(run.out.find("Feature Count: " + std::to_string(std::size(kCreatedRows)) + "\n"), std::string::npos);
  // GDAL takes language driver 0x57 for ISO-8859-1, not cp1252: the bytes 0x80-0x9F (€ ‰ Œ ƒ „ “ ...) come
  // out as C1 control characters. So text is compared as the Latin-1 reading of our cp1252 bytes.
  EXPECT_NE(run.out.find("LDID_VALUE=87\n"), std::string::npos);
  EXPECT_NE(run.out.find("SOURCE_ENCODING=ISO-8859-1\n"), std::string::npos);
  auto latin1View = [](const std::string& text) {
    return Recode(Recode(text, "UTF-8", "CP1252"), "ISO-8859-1", "UTF-8");
  };

  auto features = OgrFeatures(run.out);
  ASSERT_EQ(features.size(), std::size(kCreatedRows));
  for (std::size_t r = 0; r < std::size(kCreatedRows); ++r) {
    SCOPED_TRACE("feature " + std::to_string(r));
    const CreatedRow& row = kCreatedRows[r];
    std::map<std::string, std::string>& feature = features[r];
    // An empty field is printed "(null)", or left out for dates; GDAL also drops leading blanks of text.
    auto printed = [&](const std::string& name) {
      auto found = feature.find(name);
      return found == feature.end() || found->second == "(null)" ? std::string() : found->second;
    };
    EXPECT_EQ(printed("NOMBRE"), latin1View(WithoutOuterBlanks(row.name)));
    EXPECT_EQ(printed("LETRAGRUPO"), latin1View(row.group));
    EXPECT_EQ(printed("CURSO"), row.course ? std::to_string(*row.course) : "");
    EXPECT_EQ(printed("HORAS"), row.hours ? std::to_string(*row.hours) : "");
    if (row.mark) {
      EXPECT_EQ(ParseNumber(printed("NOTA")), row.mark);
    } else {
      EXPECT_EQ(printed("NOTA"), "");
    }
    EXPECT_EQ(printed("REPITE"), row.repeats ? (*row.repeats ? "T" : "F") : "");
    EXPECT_EQ(printed("FECHA"), row.date ? Slashed(*row.date) : "");
    EXPECT_EQ(printed("OBSERVA"), latin1View(WithoutOuterBlanks(row.remarks)));
  }
}

TEST_F(CreatedTableTest, WeReadTheCopyOgr2ogrWritesRecordForRecord) {
  if (!HasCommand("ogr2ogr")) GTEST_SKIP() << "ogr2ogr (gdal-bin) is not installed";
  ToolRun run = RunCommand("ogr2ogr -f 'ESRI Shapefile' " + ShellQuoted(drive_.Host("HTEMP/GDAL.DBF")) + " " +
                           ShellQuoted(Path()));
  ASSERT_EQ(run.status, 0) << Describe(run);
  // GDAL writes its own header (no index flags, the logical as C(1)) and fills empty numbers with asterisks,
  // which are not read here: the text and the numbers that are there show every record in step.
  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\GDAL.DBF");
  table.Open();
  ASSERT_EQ(table.RecordCount(), std::size(kCreatedRows));
  for (const CreatedRow& row : kCreatedRows) {
    SCOPED_TRACE("record " + std::to_string(table.RecNo()));
    EXPECT_EQ(table.AsString("NOMBRE"), WithoutOuterBlanks(row.name));  // GDAL drops leading blanks
    EXPECT_EQ(table.AsString("OBSERVA"), WithoutOuterBlanks(row.remarks));
    if (row.hours) {
      EXPECT_EQ(table.AsInteger("HORAS"), *row.hours);
    }
    table.Next();
  }
  EXPECT_TRUE(table.Eof());
}

// =========================================================================================================
// Our production index, read by index_dump
// =========================================================================================================

struct IndexEntry {
  std::string key;
  std::uint32_t record = 0;
};

// index_dump prints each key at its full width (character keys as stored, numeric keys as their 12 raw
// BCD bytes, which may hold NUL, TAB or CR), a blank, the record number and a newline.
std::optional<std::vector<IndexEntry>> ParseIndexDump(const std::string& out, std::size_t keyLength) {
  std::vector<IndexEntry> entries;
  std::size_t at = 0;
  while (at < out.size()) {
    std::size_t newline = out.find('\n', at + keyLength);
    if (newline == std::string::npos || out[at + keyLength] != ' ') return std::nullopt;
    IndexEntry entry{out.substr(at, keyLength), 0};
    std::string digits = out.substr(at + keyLength + 1, newline - at - keyLength - 1);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), entry.record);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    entries.push_back(entry);
    at = newline + 1;
  }
  return entries;
}

// A 12-byte dBase numeric key: 0x34 + exponent, digit count × 4 | 1 (+0x80 when negative), packed digits;
// the value is 0.d1d2… × 10^exponent.
double DecodeNumericKey(std::string_view key) {
  int exponent = static_cast<int>(Byte(key, 0)) - 0x34;
  unsigned digits = (Byte(key, 1) & 0x7F) >> 2;
  std::string text = (Byte(key, 1) & 0x80) ? "-0." : "0.";
  for (unsigned i = 0; i < std::min(digits, 20u); ++i) {
    unsigned packed = Byte(key, 2 + i / 2);
    text += static_cast<char>('0' + (i % 2 == 0 ? packed >> 4 : packed & 0x0F));
  }
  return Number(text + "0e" + std::to_string(exponent));
}

// How many levels a tag's tree has: the first child is followed down from the root until a leaf, a node
// whose pointer after its last key is zero. 0 when the tag is not in the file, -1 for a tree that looks
// wrong.
int TreeDepth(const std::string& mdx, const std::string& tag) {
  try {
    for (std::size_t entry = 544; entry + 32 <= 2048; entry += 32) {
      std::string name = mdx.substr(entry + 4, 11);
      if (name.substr(0, name.find('\0')) != tag) continue;
      std::size_t header = std::size_t{U32(mdx, entry)} * 512;
      std::size_t itemLength = U16(mdx, header + 18);
      std::uint32_t page = U32(mdx, header);
      for (int depth = 1; depth <= 16; ++depth) {
        std::size_t node = std::size_t{page} * 512;
        std::uint32_t count = U32(mdx, node);
        if (U32(mdx, node + 8 + count * itemLength) == 0) return depth;
        page = U32(mdx, node + 8);
      }
      return -1;
    }
    return 0;
  } catch (const std::out_of_range&) {
    return -1;
  }
}

struct IndexCase {
  const char* label;
  int codeWidth;     // the character key's width
  int records;       // appended in the first session
  int editEvery;     // the second session edits every n-th record (0: none)
  int appended;      // and appends these
  int minimumDepth;  // of the character tag's tree
};

std::ostream& operator<<(std::ostream& out, const IndexCase& c) { return out << c.label; }

// Keys to a node: C(1) and C(4) 126, C(100) 9, numeric 63; an interior node has one child more.
const IndexCase kIndexCases[] = {
    {"EmptyTable", 10, 0, 0, 0, 1},
    {"NarrowKeyTwoLevels", 4, 400, 9, 60, 2},
    {"WideKeyThreeLevels", 100, 240, 7, 20, 3},
    {"NarrowKeyThreeLevels", 1, 16100, 0, 0, 3},
};

const char* const kCodes[] = {"",  "A", "AB", "Ñ",    "áb",   "ZZ", "a", "b",
                              "ÁÉ", "0", "9",  "Zeta", "zeta", " x", "ÿ", "€"};

std::string CodeFor(const IndexCase& c, int i) {
  std::string code = kCodes[static_cast<std::size_t>(i) % std::size(kCodes)];
  if (c.codeWidth > 10) code += " " + std::to_string(i % 29) + std::string(static_cast<std::size_t>(i % 3) * 30, '-');
  return code;
}

void WriteIndexedRecord(Table& table, const IndexCase& c, int i) {
  static const double kMarks[] = {-0.0001, 0.0001, 123456789012.3456, -98765.4321, 0.5, -0.5,
                                  1,       -1,     10,                100,          1000, 0};
  table.SetAsString("CODIGO", CodeFor(c, i));
  if (i % 11 == 0) {
    table.Clear("NUM");
  } else {
    table.SetAsInteger("NUM", (i * 7919) % 20001 - 10000);
  }
  if (i % 13 == 0) {
    table.Clear("NOTA");
  } else {
    double mark = i % 5 == 0 ? kMarks[static_cast<std::size_t>(i / 5) % std::size(kMarks)] : (i % 41 - 20) * 0.125;
    table.SetAsFloat("NOTA", mark);
  }
}

class IndexDumpTest : public ::testing::TestWithParam<IndexCase> {
 protected:
  void SetUp() override {
    if (!HasCommand("index_dump")) GTEST_SKIP() << "index_dump (libdbd-xbase-perl) is not installed";
    drive_.MakeHostFolder("HTEMP");
  }

  testing_support::TemporaryDrive drive_;
  storage::Engine engine_{'.'};
};

TEST_P(IndexDumpTest, ListsEveryKeyInTheOrderWeWalk) {
  const IndexCase& c = GetParam();
  {
    Table table(engine_);
    table.SetTableName("C:\\HTEMP\\INDICES.DBF");
    table.AddFieldDef("CODIGO", DataType::ftString, c.codeWidth);
    table.AddFieldDef("NUM", DataType::ftInteger);
    table.AddFieldDef("NOTA", DataType::ftFloat);
    table.AddIndexDef("CODIGO", "CODIGO");
    table.AddIndexDef("NUM", "NUM");
    table.AddIndexDef("NOTA", "NOTA");
    table.CreateTable();
    table.Open();
    for (int i = 0; i < c.records; ++i) {
      table.Append();
      WriteIndexedRecord(table, c, i);
      table.Post();
    }
    table.Close();
  }
  if (c.editEvery > 0 || c.appended > 0) {  // a second session changes keys and adds records
    Table table(engine_);
    table.SetTableName("C:\\HTEMP\\INDICES.DBF");
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      if (c.editEvery == 0 || table.RecNo() % static_cast<std::uint32_t>(c.editEvery) != 0) continue;
      table.Edit();
      WriteIndexedRecord(table, c, static_cast<int>(table.RecNo()) * 3 + 1);
      table.Post();
    }
    for (int i = 0; i < c.appended; ++i) {
      table.Append();
      WriteIndexedRecord(table, c, c.records + i);
      table.Post();
    }
    table.Close();
  }

  std::string mdxPath = drive_.Host("HTEMP/INDICES.MDX");
  ToolRun tags = RunCommand("timeout 20 index_dump " + ShellQuoted(mdxPath));
  ASSERT_EQ(tags.status, 0) << Describe(tags);
  EXPECT_EQ(Lines(tags.out), (std::vector<std::string>{"CODIGO", "NOTA", "NUM"}));
  EXPECT_GE(TreeDepth(drive_.ReadHostFile("HTEMP/INDICES.MDX"), "CODIGO"), c.minimumDepth);

  Table table(engine_);
  table.SetTableName("C:\\HTEMP\\INDICES.DBF");
  table.Open();
  std::map<std::uint32_t, std::string> codes;
  std::map<std::uint32_t, double> numbers;
  std::map<std::uint32_t, double> marks;
  for (table.First(); !table.Eof(); table.Next()) {
    codes[table.RecNo()] = table.AsString("CODIGO");
    numbers[table.RecNo()] = table.AsFloat("NUM");
    marks[table.RecNo()] = table.AsFloat("NOTA");
  }
  ASSERT_EQ(codes.size(), static_cast<std::size_t>(c.records + c.appended));

  for (const char* tag : {"CODIGO", "NUM", "NOTA"}) {
    SCOPED_TRACE(tag);
    bool character = std::string(tag) == "CODIGO";
    ToolRun dump = RunCommand("timeout 20 index_dump " + ShellQuoted(mdxPath) + " " + tag);
    ASSERT_EQ(dump.status, 0) << Describe(dump);
    auto entries = ParseIndexDump(dump.out, character ? static_cast<std::size_t>(c.codeWidth) : 12);
    ASSERT_TRUE(entries) << "unexpected index_dump output";

    std::vector<std::uint32_t> walked;
    table.SetIndexName(tag);
    // Bounded, so that a walk that goes round in circles fails instead of hanging.
    for (table.First(); !table.Eof() && walked.size() <= codes.size(); table.Next()) walked.push_back(table.RecNo());
    std::vector<std::uint32_t> listed;
    for (const IndexEntry& entry : *entries) listed.push_back(entry.record);
    EXPECT_EQ(listed, walked);

    // Each key is its record's value, and the keys ascend (equal keys by record number): character keys by
    // their stored bytes, numeric keys by value.
    for (std::size_t i = 0; i < entries->size(); ++i) {
      const IndexEntry& entry = (*entries)[i];
      SCOPED_TRACE("record " + std::to_string(entry.record));
      ASSERT_TRUE(codes.count(entry.record));
      if (character) {
        EXPECT_EQ(WithoutTrailingBlanks(Recode(entry.key, "CP1252", "UTF-8")), codes[entry.record]);
      } else {
        EXPECT_EQ(DecodeNumericKey(entry.key), (std::string(tag) == "NUM" ? numbers : marks)[entry.record]);
      }
      if (i == 0) continue;
      const IndexEntry& previous = (*entries)[i - 1];
      int order = character ? std::memcmp(previous.key.data(), entry.key.data(), entry.key.size())
                            : (DecodeNumericKey(previous.key) < DecodeNumericKey(entry.key)
                                   ? -1
                                   : DecodeNumericKey(previous.key) > DecodeNumericKey(entry.key));
      EXPECT_TRUE(order < 0 || (order == 0 && previous.record < entry.record))
          << "out of order after record " << previous.record;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, IndexDumpTest, ::testing::ValuesIn(kIndexCases),
                         CaseName<IndexCase>);

}  // namespace
