// Inside the storage library: the records of one table file held in memory, shared by every table object
// of the process that has the file open, with the orders and filter buckets built over them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
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

// A table's records as one block of bytes. Its new bytes are left as they are (records are read straight over
// them). A block of a few megabytes at most comes from the allocator, beside the program's other memory, and
// grows in place where it can (where the program asks for large pages for its heap, it shares them); a larger
// one is in large pages of its own (many megabytes of records read from a file then cost the host a few steps,
// not thousands), moved without copying as it grows. Each block in pages of its own would round every table
// up to a large page: a few megabytes of memory, all readied by the host, for a school's tables.
class RecordBytes {
 public:
  RecordBytes() = default;
  ~RecordBytes() {
    if (large_.data() == nullptr) std::free(data_);
  }
  RecordBytes(const RecordBytes&) = delete;
  RecordBytes& operator=(const RecordBytes&) = delete;

  std::byte* data() { return data_; }
  const std::byte* data() const { return data_; }
  std::size_t size() const { return size_; }
  operator std::span<std::byte>() { return {data_, size_}; }
  operator std::span<const std::byte>() const { return {data_, size_}; }

  void resize(std::size_t size) {
    if (size > capacity_) Reserve(std::max(size, capacity_ + capacity_ / 2));
    size_ = size;
  }
  void append(std::span<const std::byte> bytes) {
    std::size_t at = size_;
    resize(size_ + bytes.size());
    if (!bytes.empty()) std::memcpy(data_ + at, bytes.data(), bytes.size());
  }
  void clear() { size_ = 0; }

 private:
  // From this size on, a block is a large one.
  static constexpr std::size_t kLargeFrom = std::size_t{4} << 20;

  void Reserve(std::size_t capacity) {
    if (capacity >= kLargeFrom) {
      if (large_.data() == nullptr) {
        platform::LargeBlock large(capacity);
        if (size_ > 0) std::memcpy(large.data(), data_, size_);
        std::free(data_);
        large_ = std::move(large);
      } else {
        large_.Grow(capacity);
      }
      data_ = large_.data();
      capacity_ = large_.size();
      return;
    }
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<std::byte*>(grown);
    capacity_ = capacity;
  }

  std::byte* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  platform::LargeBlock large_;  // holds data_ once the block is a large one
};

struct TableData {
  std::string path;  // Windows path of the data file
  dbf::Layout layout;
  const CodePage* codePage = nullptr;
  std::vector<std::byte> header;   // the file's header, byte for byte
  RecordBytes records;  // recordCount records of recordLength bytes
  std::uint32_t recordCount = 0;
  std::vector<Tag> tags;
  bool indexFileStale = false;  // records changed since the .MDX was written
  // Counts the times the orders and filter buckets were dropped (references into them held before are void).
  std::uint64_t bucketsGeneration = 0;

  // What the file looked like when these records were taken from it (or last written by the process).
  platform::File::Stamp stamp;
  bool stampKnown = false;

  // What the file does not hold yet: the records past its first `recordsInFile`, those numbered in
  // `changedRecords` (in any order, possibly twice), and the header's record count and date.
  std::uint32_t recordsInFile = 0;
  std::vector<std::uint32_t> changedRecords;
  bool headerChanged = false;
  bool Unwritten() const { return headerChanged || recordsInFile != recordCount || !changedRecords.empty(); }

  std::span<const std::byte> Record(std::uint32_t recordNumber) const {
    std::size_t length = layout.recordLength;
    return {records.data() + (recordNumber - 1) * length, length};
  }
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
  // The position in Order(field) of the first record whose key equals the key `probe` holds, when one does.
  std::optional<std::size_t> FirstEqual(std::size_t field, std::span<const std::byte> probe);
  // Where record `recordNumber`, holding the key of `probe`, stands (or would stand) in Order(field).
  std::size_t PositionOf(std::size_t field, std::span<const std::byte> probe, std::uint32_t recordNumber);

  // Live records, in record-number order, whose field holds `value` (stored bytes, blanks not counting).
  const std::vector<std::uint32_t>& Matching(std::size_t field, const std::string& value);
  // What the filter compares of a record: the field's stored bytes without the blanks that do not count.
  std::string_view MatchKey(std::size_t field, std::span<const std::byte> record) const;

  // Changes, keeping the orders and buckets up to date and noting what the file does not hold yet.
  void Store(std::uint32_t recordNumber, std::span<const std::byte> record);
  std::uint32_t Add(std::span<const std::byte> record);
  void Clear();

 private:
  double NumericKey(std::size_t field, std::span<const std::byte> record) const;
  int CompareKeys(std::size_t field, std::span<const std::byte> a, std::span<const std::byte> b) const;
  void Unlink(std::uint32_t recordNumber);
  void Link(std::uint32_t recordNumber);

  std::map<std::size_t, std::vector<std::uint32_t>> orders_;
  // For fields whose keys compare as their bytes: where each key first stands in the field's order. Built on
  // first use, dropped whenever an order changes.
  std::map<std::size_t, std::unordered_map<std::string, std::size_t>> firstPositions_;
  // Looked up by the stored bytes themselves, without copying them into a key.
  struct BytesHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
  };
  using Buckets = std::unordered_map<std::string, std::vector<std::uint32_t>, BytesHash, std::equal_to<>>;
  // The bucket of records that hold `key`, made when there is none.
  static std::vector<std::uint32_t>& BucketOf(Buckets& buckets, std::string_view key);
  std::map<std::size_t, Buckets> buckets_;
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
