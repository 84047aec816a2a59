// Inside the storage library: one opening of a table's data file, with the sharing lock that stands for
// exclusive or shared use, the records shared through the engine, and the writes that go straight to the
// file. Also where the production index file and the memo file are read and written.
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
// A file error while working on a table: the file layer's message, then the table's path.
[[noreturn]] void ThrowFileError(const platform::FileError& error, const std::string& path);

// The Windows path of a file beside the data file with another extension ("C:\HTEMP\ASIGVALT.MDX").
std::string SiblingPath(const std::string& dataPath, std::string_view extension);

class TableFile {
 public:
  TableFile(Engine& engine, std::string path, bool exclusive);
  ~TableFile();
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  TableData& Data() const { return *data_; }
  const std::string& Path() const { return path_; }

  // Each change is in the file when it returns.
  void Update(std::uint32_t recordNumber, std::span<const std::byte> record);
  std::uint32_t Append(std::span<const std::byte> record);
  void Empty();

  // Writes the production index from the records when they changed since it was last written.
  void WriteIndexFileIfStale();

  // A memo's text as stored (code-page bytes), when the memo file is there and holds the block.
  std::optional<std::string> ReadMemo(std::uint32_t block) const;

  // Loads a table's records from an open data file (used by the engine).
  static std::shared_ptr<TableData> Load(const std::string& path, const platform::File& file);

 private:
  void WriteHeaderPrefix();
  void RequireWritable() const;
  void RememberWrite();

  Engine& engine_;
  std::string path_;
  platform::File file_;
  std::shared_ptr<TableData> data_;
  dbf::Date today_;
  bool readOnly_ = false;
  bool wrote_ = false;
  std::vector<std::byte> appended_;  // an appended record with the end marker after it
  mutable std::optional<std::vector<std::byte>> memoFile_;
};

// Writes a new empty table over any old one: its data file and, with index definitions, its production
// index with one tag per definition (without them an old production index is deleted).
void WriteNewTable(const std::string& path, const std::vector<dbf::FieldSpec>& fields,
                   const std::vector<IndexDef>& indexes);

// The production index of a table's records, as the bytes of its .MDX file.
std::vector<std::byte> IndexFileBytes(TableData& data);

}  // namespace storage
