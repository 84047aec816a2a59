// Inside the storage library: the position of a table object in its table's visible records, in stored
// order or in the order of an index, with or without a filter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "storage/table_data.h"

namespace storage {

// Only the records whose field holds `value` (stored bytes, blanks not counting) are visible.
struct RecordFilter {
  std::size_t field = 0;
  std::string value;
};

class Cursor {
 public:
  Cursor(TableData& data, std::optional<std::size_t> indexField, std::optional<RecordFilter> filter);

  void First();
  void Next();  // on the last visible record: sets the end flag and stays
  bool Eof() const { return eof_; }
  std::uint32_t Current() const { return current_; }  // 0 when on no record

  void MoveTo(std::uint32_t recordNumber);
  // A record that exists, is not deleted and passes the filter.
  bool Visible(std::uint32_t recordNumber) const;
  void SetIndex(std::optional<std::size_t> indexField) { indexField_ = indexField; }
  void SetFilter(std::optional<RecordFilter> filter);
  // Moves to the first visible record in index order whose key equals the key `probe` holds; false, and
  // no move, when there is none.
  bool Find(std::span<const std::byte> probe);

 private:
  bool Matches(std::uint32_t recordNumber) const;
  // The first record from number `recordNumber` on, in stored order, that is not deleted (no filter applies).
  std::optional<std::uint32_t> LiveFrom(std::uint32_t recordNumber) const;
  // The first visible record of the active index order from position `position` on, and where it stands.
  std::optional<std::uint32_t> VisibleInOrderFrom(std::size_t position);
  // Where the current record stands in the active index order.
  std::size_t PositionOfCurrent();
  // The records that pass the filter, as the table's buckets hold them.
  const std::vector<std::uint32_t>& MatchingRecords();

  TableData& data_;
  std::optional<std::size_t> indexField_;
  std::optional<RecordFilter> filter_;
  std::uint32_t current_ = 0;
  bool eof_ = true;
  // Remembered to spare a search: where the current record was last seen in the index order (checked
  // before use), and the filter's bucket with the generation of the table's buckets it was taken from.
  std::size_t position_ = 0;
  const std::vector<std::uint32_t>* matching_ = nullptr;
  std::uint64_t matchingGeneration_ = 0;
};

}  // namespace storage
