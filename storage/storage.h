// The table access layer: dBase tables (.DBF, with their production index .MDX and memo file) read and
// written through table objects with a cursor, named fields, conversions, an active index and a filter.
//
// Use: make an Engine once (it shares the records of open tables between the table objects of the
// process), then per table a Table on it: set its addressing, Open, First, walk with Next until Eof,
// read fields, Append / Edit, write fields, Post, Close. Every failure throws DatabaseError, whose text is
// the message the user sees.
//
// A posted record is what every table object of the engine sees at once. It reaches the file, together
// with the other records posted meanwhile, when a table object on the file closes, when the engine lets go
// of the file (Release, the end of a run) and when the engine ends.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/dbf_format.h"
#include "storage/spelled_names.h"

namespace platform {
class File;
}

namespace storage {

using dbf::DataType;
using dbf::Date;

// The language driver of the tables that CreateTable makes: cp1252.
inline constexpr std::uint8_t kLanguageDriverOfNewTables = 0x57;

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // An error of the table file `path` (a Windows path) that a file error code stands behind: the file layer's
  // own, or kSharingViolation for a table in use.
  DatabaseError(const std::string& message, int fileErrorCode, std::string path)
      : std::runtime_error(message), fileErrorCode_(fileErrorCode), path_(std::move(path)) {}
  int fileErrorCode() const { return fileErrorCode_; }  // 0 when none
  const std::string& path() const { return path_; }

 private:
  int fileErrorCode_ = 0;
  std::string path_;
};

struct TableData;
class HeldTable;

// The engine: the records of every table this process has opened, kept in memory, shared by the table
// objects on the same file and checked against the file (its size and time) each time a table is opened.
class Engine {
 public:
  // `decimalSeparator` is the user's, used when numbers are read or written as text.
  explicit Engine(char decimalSeparator);
  Engine();  // with the user's decimal separator from the regional settings
  ~Engine();  // puts every posted record in its file; a failure then goes unreported
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  char DecimalSeparator() const { return decimalSeparator_; }

  // A run: while one lasts, the engine keeps every table file it opens open, with the lock of its sharing
  // mode, after its last table object closes, so that opening it again costs no new opening of the file,
  // only the look at its size and time. Another program meanwhile finds the file as if a table object had
  // it open. Finish (or the destructor, which keeps a failure to itself) puts every posted record in its
  // file and lets go of every file that no table object has open.
  class Run {
   public:
    explicit Run(Engine& engine);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    // Throws the first failure to write a file, after letting go of every file all the same.
    void Finish();

   private:
    Engine& engine_;
    bool finished_ = false;
  };

  // Before the table file at `path` (a Windows path) is copied, replaced or deleted: puts its posted records
  // in it and, unless a table object has it open, lets go of it. Nothing happens for a file the engine does
  // not hold.
  void Release(std::string_view path);
  // The same for every table file the engine holds.
  void ReleaseAll();

  // The records of the table at `path` (a full Windows path) that are not deleted: what a walk of it in
  // stored order visits, counted without loading its records (for listing many tables at once). Throws as an
  // opening of it would; the file is not kept.
  std::uint32_t CountRecords(const std::string& path);
  // Throws the table layer's error ("La tabla está en uso", ...) when the existing table file at `path` could
  // not be opened exclusively now, because another program has it open; reads nothing and keeps nothing.
  void RequireNotInUse(const std::string& path);

 private:
  friend class TableFile;
  friend class Table;
  // The file at `path` (a full Windows path) for a new table object: the one the engine holds, its records
  // checked against it (only its layout read, without `withRecords`, when it has to be read), or a new
  // opening. Throws the table layer's errors ("La tabla está en uso", ...).
  HeldTable& Hold(const std::string& path, bool exclusive, bool withRecords);
  // A table object on the file lets go of it. Unless a run keeps the file, the last one's leaving puts the
  // posted records in it (a failure then goes unreported: TableFile::Close reports it) and closes it.
  void Leave(HeldTable& held, const std::string& path);
  // Before the table at `path` is made anew: the engine lets go of the file and forgets its records.
  void Forget(const std::string& path);
  // Puts the posted records in the file and, with `letGo` and no table object on it, closes the file (also
  // when the records could not be written: the failure is thrown afterwards).
  void Settle(HeldTable& held, const std::string& path, bool letGo);
  // Settles every file the engine holds; throws the first failure once all are settled.
  void SettleAll(bool letGo);

  char decimalSeparator_;
  int runs_ = 0;
  std::unordered_map<std::u32string, std::unique_ptr<HeldTable>> tables_;
};

struct FieldDef {
  std::string name;
  DataType dataType = DataType::ftString;
  int size = 0;  // characters for ftString, 0 for the others
};

struct IndexDef {
  std::string name;
  std::string field;
};

// The description of an open table's field.
struct FieldInfo {
  std::string name;  // as the file stores it
  DataType dataType = DataType::ftUnknown;
  char type = 'C';  // the stored dBase type
  int size = 0;     // width in characters
  int decimals = 0;
};

class TableFile;
class Cursor;
struct RecordFilter;

class Table {
 public:
  // `name` is the object's name, put before some messages ("wwTableCentro: ..."); empty for none.
  explicit Table(Engine& engine, std::string name = {});
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const std::string& Name() const { return name_; }

  // Addressing and definitions; set only while closed.
  void SetDatabaseName(std::string folder);
  void SetTableName(std::string name);
  // With `implied`, a table name without extension names its ".DBF" file ("centro" is centro.DBF).
  void SetDbfExtensionImplied(bool implied);
  void SetExclusive(bool exclusive);
  const std::string& DatabaseName() const { return databaseName_; }
  const std::string& TableName() const { return tableName_; }
  bool Exclusive() const { return exclusive_; }
  void ClearFieldDefs();
  void AddFieldDef(std::string name, DataType type, int size = 0);
  void ClearIndexDefs();
  void AddIndexDef(std::string name, std::string field);
  // The data file's Windows path as the addressing properties give it.
  std::string DataFilePath() const;

  // Makes the data file (and, with index definitions, its production index), replacing an existing table.
  void CreateTable();
  // Removes every record (see the rules on pending records).
  void EmptyTable();

  // The active index: a tag of the production index, or empty for the stored order. May change while open.
  void SetIndexName(std::string indexName);
  const std::string& IndexName() const { return indexName_; }
  // A filter "FIELD= 'constant'" (quotes in the constant doubled). It applies from the next Open, or on an
  // open object at once, which then goes to its first visible record (a pending record is settled first).
  void SetFilter(std::string expression);
  void SetFiltered(bool filtered);

  void Open();
  void Close();
  bool Active() const;

  void First();
  void Next();
  bool Eof() const;
  std::uint32_t RecNo() const;
  std::uint32_t RecordCount() const;  // records in the file, deleted ones included

  void Append();
  void Edit();
  void Post();
  // Drops the pending record without writing it; the cursor stays where it was.
  void Cancel();
  bool Modified() const;  // a pending record with a written field
  bool Editing() const;   // a pending record exists

  bool FindKey(std::string_view key);
  // Goes to the visible record with this record number (one remembered from RecNo).
  void GoToRecord(std::uint32_t recordNumber);

  // Fields of the open table.
  const std::vector<FieldInfo>& Fields() const;
  bool HasField(std::string_view field) const;
  bool IsNull(std::string_view field) const;

  std::string AsString(std::string_view field) const;
  std::int32_t AsInteger(std::string_view field) const;
  double AsFloat(std::string_view field) const;
  Date AsDate(std::string_view field) const;
  bool AsBoolean(std::string_view field) const;
  // A field's value for showing to the user, even when it does not read as its type ("3:30" in a numeric
  // field): a text field or a value that reads as its type as AsString gives it, else the field's stored
  // characters without the blanks around them (empty for a binary field that does not read).
  std::string DisplayText(std::string_view field) const;
  // A memo field's text from the memo file, when it is there.
  std::optional<std::string> MemoText(std::string_view field) const;
  // The stored value with text converted to UTF-8 (for inspecting tables).
  dbf::Value Value(std::size_t fieldIndex) const;

  void SetAsString(std::string_view field, std::string_view value);
  void SetAsInteger(std::string_view field, std::int32_t value);
  void SetAsFloat(std::string_view field, double value);
  void SetAsBoolean(std::string_view field, bool value);
  void Clear(std::string_view field);  // empties the field of the pending record

 private:
  [[noreturn]] void Fail(const std::string& message) const;  // with the object's name before it
  void RequireClosed() const;
  void RequireOpen() const;
  // DataFilePath in full, kept while the addressing stays when it names a drive and starts at its root.
  const std::string& FullDataFilePath();
  // What the object takes from the open table's layout: its fields, a blank record, the integer ranges.
  void TakeShape();
  // A blank record to put a key or a filter's constant into.
  std::vector<std::byte>& Probe();
  void SettlePending();
  // Applies the filter as the properties now say to the open object, and goes to its first visible record.
  void Refilter();
  std::size_t ResolveIndex(const std::string& indexName) const;
  std::optional<RecordFilter> ResolveFilter();
  std::size_t FieldIndex(std::string_view field) const;
  std::size_t LookUpField(std::string_view field) const;  // FieldIndex the long way, remembering the name
  std::size_t WritableFieldIndex(std::string_view field);
  const dbf::Field& Descriptor(std::size_t index) const;
  std::span<const std::byte> CurrentRecord() const;
  dbf::Value Stored(std::size_t index) const;
  [[noreturn]] void Unsupported(std::size_t index, const char* kind) const;
  std::pair<double, double> IntegerRange(std::size_t index) const;
  [[noreturn]] void ThrowOutOfRange(std::size_t index, double value) const;
  // Throws the range error when the field is an integer one whose type cannot hold the value.
  void RequireInIntegerRange(std::size_t index, double value) const;
  void StoreString(std::size_t index, std::string_view value);
  void StoreInteger(std::size_t index, std::int32_t value);
  void StoreFloat(std::size_t index, double value);
  void StoreBoolean(std::size_t index, bool value);
  void WriteNumber(std::size_t index, double value);
  void WriteText(std::size_t index, std::string_view text);

  Engine& engine_;
  std::string name_;
  std::string databaseName_;
  std::string tableName_;
  bool dbfExtensionImplied_ = false;
  bool exclusive_ = false;
  std::vector<FieldDef> fieldDefs_;
  std::vector<IndexDef> indexDefs_;
  std::string indexName_;
  std::string filter_;
  bool filtered_ = false;

  std::string fullPath_;      // empty until known
  std::string fullPathOnce_;  // of a relative path, for one opening
  std::unique_ptr<TableFile> file_;
  TableData* data_ = nullptr;  // file_'s records, while open
  std::unique_ptr<Cursor> cursor_;
  std::optional<std::size_t> indexField_;  // the active index's field, while open
  std::weak_ptr<TableData> shapeOf_;        // the records whose layout fields_, blank_ and the ranges are of
  std::vector<std::byte> probe_;
  std::vector<FieldInfo> fields_;
  std::vector<std::byte> blank_;  // an empty record, read when the cursor is on none
  std::vector<std::pair<double, double>> integerRanges_;  // per field
  mutable SpelledFieldNames spelledNames_;
  enum class Mode { kBrowse, kAppend, kEdit } mode_ = Mode::kBrowse;
  std::vector<std::byte> pending_;
  bool pendingChanged_ = false;
  bool wrote_ = false;  // this object changed the file since it was opened
};

}  // namespace storage
