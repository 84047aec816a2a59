#include "storage/table_data.h"

#include <algorithm>
#include <cstring>

#include "util/ascii.h"

namespace storage {
namespace {

bool IsNumeric(const dbf::Field& field) {
  return field.type == 'N' || field.type == 'F' || field.type == 'I' || field.type == 'B' || field.type == 'Y';
}

void InsertSorted(std::vector<std::uint32_t>& numbers, std::uint32_t number) {
  numbers.insert(std::lower_bound(numbers.begin(), numbers.end(), number), number);
}

void EraseSorted(std::vector<std::uint32_t>& numbers, std::uint32_t number) {
  auto found = std::lower_bound(numbers.begin(), numbers.end(), number);
  if (found != numbers.end() && *found == number) numbers.erase(found);
}

}  // namespace

std::span<const std::byte> TableData::Record(std::uint32_t recordNumber) const {
  std::size_t length = layout.recordLength;
  return std::span<const std::byte>(records).subspan((recordNumber - 1) * length, length);
}

std::size_t TableData::CaseBlindHash::operator()(std::string_view name) const {
  std::size_t hash = 14695981039346656037ull;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(util::ToUpperAscii(c))) * 1099511628211ull;
  return hash;
}

bool TableData::CaseBlindEqual::operator()(std::string_view a, std::string_view b) const {
  return util::EqualsIgnoreAsciiCase(a, b);
}

std::optional<std::size_t> TableData::FieldIndex(std::string_view name) const {
  if (fieldNames_.empty()) {
    for (std::size_t i = 0; i < layout.fields.size(); ++i) fieldNames_.emplace(layout.fields[i].name, i);
  }
  auto found = fieldNames_.find(name);
  if (found == fieldNames_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::size_t> TableData::TagIndex(std::string_view name) const {
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (util::EqualsIgnoreAsciiCase(tags[i].name, name)) return i;
  }
  return std::nullopt;
}

double TableData::NumericKey(std::size_t field, std::span<const std::byte> record) const {
  try {
    dbf::Value value = dbf::DecodeField(layout.fields[field], record);
    if (const double* number = std::get_if<double>(&value)) return *number;
  } catch (const dbf::DbfFormatError&) {
  }
  return 0;
}

int TableData::CompareKeys(std::size_t field, std::span<const std::byte> a, std::span<const std::byte> b) const {
  const dbf::Field& descriptor = layout.fields[field];
  if (IsNumeric(descriptor)) {
    double x = NumericKey(field, a);
    double y = NumericKey(field, b);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  return std::memcmp(a.data() + descriptor.offset, b.data() + descriptor.offset, descriptor.length);
}

const std::vector<std::uint32_t>& TableData::Order(std::size_t field) {
  auto found = orders_.find(field);
  if (found != orders_.end()) return found->second;
  std::vector<std::uint32_t> order;
  order.reserve(recordCount);
  for (std::uint32_t number = 1; number <= recordCount; ++number) {
    if (!dbf::IsDeleted(Record(number))) order.push_back(number);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return CompareKeys(field, Record(a), Record(b)) < 0;
  });
  return orders_.emplace(field, std::move(order)).first->second;
}

bool TableData::Before(std::size_t field, std::uint32_t a, std::uint32_t b) const {
  int comparison = CompareKeys(field, Record(a), Record(b));
  return comparison < 0 || (comparison == 0 && a < b);
}

std::size_t TableData::PositionOf(std::size_t field, std::span<const std::byte> probe, std::uint32_t recordNumber) {
  const std::vector<std::uint32_t>& order = Order(field);
  auto position = std::lower_bound(order.begin(), order.end(), recordNumber, [&](std::uint32_t other, std::uint32_t number) {
    int comparison = CompareKeys(field, Record(other), probe);
    return comparison < 0 || (comparison == 0 && other < number);
  });
  return static_cast<std::size_t>(position - order.begin());
}

std::size_t TableData::LowerBound(std::size_t field, std::span<const std::byte> probe) {
  return PositionOf(field, probe, 0);
}

bool TableData::KeyEquals(std::size_t field, std::uint32_t recordNumber, std::span<const std::byte> probe) const {
  return CompareKeys(field, Record(recordNumber), probe) == 0;
}

std::string TableData::MatchKey(std::size_t field, std::span<const std::byte> record) const {
  const dbf::Field& descriptor = layout.fields[field];
  std::string_view bytes = dbf::FieldBytes(descriptor, record);
  return std::string(descriptor.type == 'C' ? util::TrimTrailingBlanks(bytes) : util::TrimBlanks(bytes));
}

const std::vector<std::uint32_t>& TableData::Matching(std::size_t field, const std::string& value) {
  auto built = buckets_.find(field);
  if (built == buckets_.end()) {
    std::unordered_map<std::string, std::vector<std::uint32_t>> buckets;
    for (std::uint32_t number = 1; number <= recordCount; ++number) {
      if (!dbf::IsDeleted(Record(number))) buckets[MatchKey(field, Record(number))].push_back(number);
    }
    built = buckets_.emplace(field, std::move(buckets)).first;
  }
  static const std::vector<std::uint32_t> kNone;
  auto found = built->second.find(value);
  return found == built->second.end() ? kNone : found->second;
}

void TableData::Unlink(std::uint32_t recordNumber) {
  std::span<const std::byte> record = Record(recordNumber);
  if (dbf::IsDeleted(record)) return;
  for (auto& [field, order] : orders_) {
    std::size_t position = PositionOf(field, record, recordNumber);
    if (position < order.size() && order[position] == recordNumber) order.erase(order.begin() + static_cast<std::ptrdiff_t>(position));
  }
  for (auto& [field, buckets] : buckets_) {
    auto found = buckets.find(MatchKey(field, record));
    if (found != buckets.end()) EraseSorted(found->second, recordNumber);
  }
}

void TableData::Link(std::uint32_t recordNumber) {
  std::span<const std::byte> record = Record(recordNumber);
  if (dbf::IsDeleted(record)) return;
  for (auto& [field, order] : orders_) {
    std::size_t position = PositionOf(field, record, recordNumber);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(position), recordNumber);
  }
  for (auto& [field, buckets] : buckets_) InsertSorted(buckets[MatchKey(field, record)], recordNumber);
}

void TableData::Store(std::uint32_t recordNumber, std::span<const std::byte> record) {
  Unlink(recordNumber);
  std::size_t length = layout.recordLength;
  std::memcpy(records.data() + (recordNumber - 1) * length, record.data(), length);
  Link(recordNumber);
  indexFileStale = !tags.empty();
}

std::uint32_t TableData::Add(std::span<const std::byte> record) {
  records.insert(records.end(), record.begin(), record.begin() + layout.recordLength);
  ++recordCount;
  Link(recordCount);
  indexFileStale = !tags.empty();
  return recordCount;
}

void TableData::Clear() {
  records.clear();
  recordCount = 0;
  orders_.clear();
  buckets_.clear();
  indexFileStale = !tags.empty();
}

}  // namespace storage
