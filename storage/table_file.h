// Inside the storage library: the engine's hold on a table's data file (the open file, with the sharing lock
// that stands for exclusive or shared use, and the records shared through the engine), one table object's
// opening of it, and where posted records reach the file. Also where the production index file and the memo
// file are read and written.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/platform.h"
#include "storage/storage.h"
#include "storage/table_data.h"

namespace storage {

// The engine's messages about a table file, which name it by its Windows path.
[[noreturn]] void ThrowTableError(const std::string& what, const std::string& path);
// The table file is held by another program (a sharing violation): "La tabla está en uso", its path, and the
// code behind it.
[[noreturn]] void ThrowTableHeldElsewhere(const std::string& path);
// A file error while working on a table: the file layer's message, then the table's path.
[[noreturn]] void ThrowFileError(const platform::FileError& error, const std::string& path);

// The Windows path of a file beside the data file with another extension ("C:\HTEMP\ASIGVALT.MDX").
std::string SiblingPath(const std::string& dataPath, std::string_view extension);

// What the engine holds of one table file: its records and, while a table object or a run needs it, the
// file itself, open, with the lock of its sharing mode. The records posted meanwhile wait in memory until
// Flush writes them, in as few writes as their places in the file allow. `path` in each call is the Windows
// path the caller names the table by, for the messages.
class HeldTable {
 public:
  // Opens the file for reading and writing when it lets itself be written, else for reading. Throws the
  // file layer's FileError.
  void Open(const std::string& path, bool exclusive);
  bool IsOpen() const { return file_.IsOpen(); }
  // Whether `path` still names the open file (another program may have put another file in its place).
  bool IsStillAt(const std::string& path) const { return file_.IsStillAt(path); }
  bool OpenedExclusive() const { return exclusive_; }
  bool ReadOnly() const { return readOnly_; }
  // Keeps the records in memory while the file still has the size and time they were taken at (or while
  // some of them still wait for the file), else reads them anew; without `withRecords`, only the table's
  // layout, for an opening that empties the table at once.
  void Refresh(const std::string& path, bool withRecords);
  // Writes what the file does not hold yet: the changed records, the appended ones with the end marker after
  // them, then the header's record count and date.
  void Flush(const std::string& path);
  // Removes every record from memory and from the file at once.
  void Empty(const std::string& path);
  // Closes the file. Records that never reached it are forgotten: the next opening reads the file.
  void Close();

  std::shared_ptr<TableData> data;
  int users = 0;               // open table objects
  bool exclusiveUser = false;  // one of them opened the table exclusively

 private:
  platform::File file_;
  bool exclusive_ = false;
  bool readOnly_ = false;
};

// One table object's opening of a table file, through the engine.
class TableFile {
 public:
  // `path` is a full Windows path. Without `withRecords` the records are not read (unless the engine has
  // them): for an opening that empties the table at once.
  TableFile(Engine& engine, std::string path, bool exclusive, bool withRecords = true);
  ~TableFile();  // lets go of the file without writing the index; a failure to write records goes unreported
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  TableData& Data() const { return *held_->data; }
  const std::shared_ptr<TableData>& SharedData() const { return held_->data; }
  const std::string& Path() const { return path_; }

  // Changes in memory, seen by every table object at once; they reach the file with the next Flush.
  void Update(std::uint32_t recordNumber, std::span<const std::byte> record);
  std::uint32_t Append(std::span<const std::byte> record);
  // Empties the table, in the file at once.
  void Empty();

  // Writes the production index from the records when they changed since it was last written.
  void WriteIndexFileIfStale();
  // Puts the posted records in the file, with the production index when `withIndex` says so, and lets go of
  // the file. Throws when they cannot be written; the file is let go of all the same.
  void Close(bool withIndex);

  // A memo's text as stored (code-page bytes), when the memo file is there and holds the block.
  std::optional<std::string> ReadMemo(std::uint32_t block) const;

  // Loads a table's records from an open data file whose size and time are `stamp`; without `withRecords`,
  // its layout and tags alone, with no records.
  static std::shared_ptr<TableData> Load(const std::string& path, const platform::File& file,
                                         const platform::File::Stamp& stamp, bool withRecords);

 private:
  void RequireWritable() const;

  Engine& engine_;
  std::string path_;
  HeldTable* held_ = nullptr;  // none once closed
  mutable std::optional<std::vector<std::byte>> memoFile_;
};

// Writes a new empty table over any old one: its data file and, with index definitions, its production
// index with one tag per definition (without them an old production index is deleted).
void WriteNewTable(const std::string& path, const std::vector<dbf::FieldSpec>& fields,
                   const std::vector<IndexDef>& indexes);

// The production index of a table's records, as the bytes of its .MDX file.
std::vector<std::byte> IndexFileBytes(TableData& data);

}  // namespace storage
