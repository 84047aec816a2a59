#include "storage/cursor.h"

#include <algorithm>

namespace storage {

Cursor::Cursor(TableData& data, std::optional<std::size_t> indexField, std::optional<RecordFilter> filter)
    : data_(data), indexField_(indexField), filter_(std::move(filter)) {}

void Cursor::SetFilter(std::optional<RecordFilter> filter) {
  filter_ = std::move(filter);
  matching_ = nullptr;
}

bool Cursor::Matches(std::uint32_t recordNumber) const {
  return !filter_ || data_.MatchKey(filter_->field, data_.Record(recordNumber)) == filter_->value;
}

bool Cursor::Visible(std::uint32_t recordNumber) const {
  return recordNumber >= 1 && recordNumber <= data_.recordCount && !dbf::IsDeleted(data_.Record(recordNumber)) &&
         Matches(recordNumber);
}

const std::vector<std::uint32_t>& Cursor::MatchingRecords() {
  if (matching_ != nullptr && matchingGeneration_ == data_.bucketsGeneration) return *matching_;
  const std::vector<std::uint32_t>& matching = data_.Matching(filter_->field, filter_->value);
  // An empty list may be none of the buckets: records that come to match later would start one.
  matching_ = matching.empty() ? nullptr : &matching;
  matchingGeneration_ = data_.bucketsGeneration;
  return matching;
}

std::optional<std::uint32_t> Cursor::VisibleInOrderFrom(std::size_t position) {
  const std::vector<std::uint32_t>& order = data_.Order(*indexField_);
  for (; position < order.size(); ++position) {
    if (Matches(order[position])) {
      position_ = position;
      return order[position];
    }
  }
  return std::nullopt;
}

std::size_t Cursor::PositionOfCurrent() {
  const std::vector<std::uint32_t>& order = data_.Order(*indexField_);
  if (position_ < order.size() && order[position_] == current_) return position_;
  return data_.PositionOf(*indexField_, data_.Record(current_), current_);
}

std::optional<std::uint32_t> Cursor::LiveFrom(std::uint32_t recordNumber) const {
  for (; recordNumber <= data_.recordCount; ++recordNumber) {
    if (!dbf::IsDeleted(data_.Record(recordNumber))) return recordNumber;
  }
  return std::nullopt;
}

void Cursor::MoveTo(std::uint32_t recordNumber) {
  current_ = recordNumber;
  eof_ = false;
}

void Cursor::First() {
  std::optional<std::uint32_t> first;
  if (indexField_) {
    first = VisibleInOrderFrom(0);
  } else if (filter_) {
    const std::vector<std::uint32_t>& matching = MatchingRecords();
    if (!matching.empty()) first = matching.front();
  } else {
    first = LiveFrom(1);
  }
  current_ = first.value_or(0);
  eof_ = !first;
}

void Cursor::Next() {
  if (current_ == 0) {
    eof_ = true;
    return;
  }
  std::optional<std::uint32_t> next;
  if (indexField_) {
    const std::vector<std::uint32_t>& order = data_.Order(*indexField_);
    std::size_t position = PositionOfCurrent();
    if (position < order.size() && order[position] == current_) ++position;
    next = VisibleInOrderFrom(position);
  } else if (filter_) {
    const std::vector<std::uint32_t>& matching = MatchingRecords();
    auto after = std::upper_bound(matching.begin(), matching.end(), current_);
    if (after != matching.end()) next = *after;
  } else {
    next = LiveFrom(current_ + 1);
  }
  if (next) {
    current_ = *next;
  } else {
    eof_ = true;
  }
}

bool Cursor::Find(std::span<const std::byte> probe) {
  std::optional<std::size_t> first = data_.FirstEqual(*indexField_, probe);
  if (!first) return false;
  const std::vector<std::uint32_t>& order = data_.Order(*indexField_);
  for (std::size_t position = *first;
       position < order.size() && data_.KeyEquals(*indexField_, order[position], probe); ++position) {
    if (Matches(order[position])) {
      MoveTo(order[position]);
      position_ = position;
      return true;
    }
  }
  return false;
}

}  // namespace storage
