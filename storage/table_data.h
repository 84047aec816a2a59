// Inside the storage library: the records of one table file held in memory, shared by every table object
// of the process that has the file open, with the orders and filter buckets built over them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "storage/code_page.h"
#include "storage/dbf_format.h"

namespace storage {

// A tag of the table's production index; `field` is the indexed field, or nothing when the tag's key is
// an expression this engine does not evaluate.
struct Tag {
  std::string name;
  std::optional<std::size_t> field;
};

// An allocator that leaves new bytes as they are instead of zeroing them: a table's records are read
// straight over them.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  using std::allocator<T>::allocator;
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

struct TableData {
  std::string path;  // Windows path of the data file
  dbf::Layout layout;
  const CodePage* codePage = nullptr;
  std::vector<std::byte> header;   // the file's header, byte for byte
  std::vector<std::byte, UninitializedAllocator<std::byte>> records;  // recordCount records of recordLength bytes
  std::uint32_t recordCount = 0;
  std::vector<Tag> tags;
  bool indexFileStale = false;  // records changed since the .MDX was written

  // What the file looked like when these records were taken from it (or last written by the process).
  platform::File::Stamp stamp;
  bool stampKnown = false;
  int users = 0;  // open table objects

  std::span<const std::byte> Record(std::uint32_t recordNumber) const;
  std::optional<std::size_t> FieldIndex(std::string_view name) const;  // without regard to case
  std::optional<std::size_t> TagIndex(std::string_view name) const;

  // Live records in ascending key order of a field (equal keys by record number).
  const std::vector<std::uint32_t>& Order(std::size_t field);
  // Whether record a comes before record b in that order.
  bool Before(std::size_t field, std::uint32_t a, std::uint32_t b) const;
  // The position in Order(field) of the first record whose key is not below the key that `probe` (a
  // record) holds in the field. Keys compare as Order does: text by its stored bytes, numbers by value.
  std::size_t LowerBound(std::size_t field, std::span<const std::byte> probe);
  bool KeyEquals(std::size_t field, std::uint32_t recordNumber, std::span<const std::byte> probe) const;
  // Where record `recordNumber`, holding the key of `probe`, stands (or would stand) in Order(field).
  std::size_t PositionOf(std::size_t field, std::span<const std::byte> probe, std::uint32_t recordNumber);

  // Live records, in record-number order, whose field holds `value` (stored bytes, blanks not counting).
  const std::vector<std::uint32_t>& Matching(std::size_t field, const std::string& value);
  std::string MatchKey(std::size_t field, std::span<const std::byte> record) const;

  // Changes, keeping the orders and buckets up to date.
  void Store(std::uint32_t recordNumber, std::span<const std::byte> record);
  std::uint32_t Add(std::span<const std::byte> record);
  void Clear();

 private:
  double NumericKey(std::size_t field, std::span<const std::byte> record) const;
  int CompareKeys(std::size_t field, std::span<const std::byte> a, std::span<const std::byte> b) const;
  void Unlink(std::uint32_t recordNumber);
  void Link(std::uint32_t recordNumber);

  std::map<std::size_t, std::vector<std::uint32_t>> orders_;
  std::map<std::size_t, std::unordered_map<std::string, std::vector<std::uint32_t>>> buckets_;
  // Field names without regard to ASCII case, looked up without copying the name.
  struct CaseBlindHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
  };
  struct CaseBlindEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  mutable std::unordered_map<std::string, std::size_t, CaseBlindHash, CaseBlindEqual> fieldNames_;
};

}  // namespace storage
