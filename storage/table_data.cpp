#include "storage/table_data.h"

#include <algorithm>
#include <cstring>

#include "util/ascii.h"

namespace storage {
namespace {

bool IsNumeric(const dbf::Field& field) {
  return field.type == 'N' || field.type == 'F' || field.type == 'I' || field.type == 'B' || field.type == 'Y';
}

// memcmp's order of two byte strings of length n, skipping equal words: keys are short, and the call costs
// more than comparing them.
int CompareBytes(const std::byte* a, const std::byte* b, std::size_t n) {
  for (; n >= 8; a += 8, b += 8, n -= 8) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) break;
  }
  for (; n > 0; ++a, ++b, --n) {
    if (*a != *b) return *a < *b ? -1 : 1;
  }
  return 0;
}

void InsertSorted(std::vector<std::uint32_t>& numbers, std::uint32_t number) {
  numbers.insert(std::lower_bound(numbers.begin(), numbers.end(), number), number);
}

void EraseSorted(std::vector<std::uint32_t>& numbers, std::uint32_t number) {
  auto found = std::lower_bound(numbers.begin(), numbers.end(), number);
  if (found != numbers.end() && *found == number) numbers.erase(found);
}

}  // namespace

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
  return CompareBytes(a.data() + descriptor.offset, b.data() + descriptor.offset, descriptor.length);
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

std::optional<std::size_t> TableData::FirstEqual(std::size_t field, std::span<const std::byte> probe) {
  const std::vector<std::uint32_t>& order = Order(field);
  const dbf::Field& descriptor = layout.fields[field];
  if (IsNumeric(descriptor)) {  // equal values may be written differently: the search finds them
    std::size_t position = LowerBound(field, probe);
    if (position < order.size() && KeyEquals(field, order[position], probe)) return position;
    return std::nullopt;
  }
  auto built = firstPositions_.find(field);
  if (built == firstPositions_.end()) {
    std::unordered_map<std::string, std::size_t> positions;
    positions.reserve(order.size());
    for (std::size_t position = 0; position < order.size(); ++position) {
      positions.try_emplace(std::string(dbf::FieldBytes(descriptor, Record(order[position]))), position);
    }
    built = firstPositions_.emplace(field, std::move(positions)).first;
  }
  auto found = built->second.find(std::string(dbf::FieldBytes(descriptor, probe)));
  if (found == built->second.end()) return std::nullopt;
  return found->second;
}

bool TableData::KeyEquals(std::size_t field, std::uint32_t recordNumber, std::span<const std::byte> probe) const {
  return CompareKeys(field, Record(recordNumber), probe) == 0;
}

std::string_view TableData::MatchKey(std::size_t field, std::span<const std::byte> record) const {
  const dbf::Field& descriptor = layout.fields[field];
  std::string_view bytes = dbf::FieldBytes(descriptor, record);
  if (descriptor.type == 'V' || descriptor.type == 'Q') {  // the value alone, without what lies after it
    return util::TrimTrailingBlanks(dbf::VariableBytes(descriptor, record).value_or(bytes));
  }
  return descriptor.type == 'C' ? util::TrimTrailingBlanks(bytes) : util::TrimBlanks(bytes);
}

std::vector<std::uint32_t>& TableData::BucketOf(Buckets& buckets, std::string_view key) {
  auto found = buckets.find(key);
  if (found == buckets.end()) found = buckets.emplace(std::string(key), std::vector<std::uint32_t>()).first;
  return found->second;
}

const std::vector<std::uint32_t>& TableData::Matching(std::size_t field, const std::string& value) {
  auto built = buckets_.find(field);
  if (built == buckets_.end()) {
    Buckets buckets;
    // Records of one key mostly stand together (a student's enrolments): such a run of records goes to its
    // bucket at once, with one look in the table and one allocation.
    std::vector<std::uint32_t> run;
    std::string_view runKey;
    auto addRun = [&] {
      if (run.empty()) return;
      std::vector<std::uint32_t>& bucket = BucketOf(buckets, runKey);
      bucket.insert(bucket.end(), run.begin(), run.end());
      run.clear();
    };
    for (std::uint32_t number = 1; number <= recordCount; ++number) {
      if (dbf::IsDeleted(Record(number))) continue;
      std::string_view key = MatchKey(field, Record(number));
      if (!run.empty() && key != runKey) addRun();
      if (run.empty()) runKey = key;
      run.push_back(number);
    }
    addRun();
    built = buckets_.emplace(field, std::move(buckets)).first;
  }
  static const std::vector<std::uint32_t> kNone;
  auto found = built->second.find(value);
  return found == built->second.end() ? kNone : found->second;
}

void TableData::Unlink(std::uint32_t recordNumber) {
  std::span<const std::byte> record = Record(recordNumber);
  if (dbf::IsDeleted(record)) return;
  firstPositions_.clear();
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
  firstPositions_.clear();
  for (auto& [field, order] : orders_) {
    std::size_t position = PositionOf(field, record, recordNumber);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(position), recordNumber);
  }
  for (auto& [field, buckets] : buckets_) InsertSorted(BucketOf(buckets, MatchKey(field, record)), recordNumber);
}

void TableData::Store(std::uint32_t recordNumber, std::span<const std::byte> record) {
  Unlink(recordNumber);
  std::size_t length = layout.recordLength;
  std::memcpy(records.data() + (recordNumber - 1) * length, record.data(), length);
  Link(recordNumber);
  indexFileStale = !tags.empty();
  if (recordNumber <= recordsInFile) changedRecords.push_back(recordNumber);
  headerChanged = true;
}

std::uint32_t TableData::Add(std::span<const std::byte> record) {
  records.append(record.first(layout.recordLength));
  ++recordCount;
  Link(recordCount);
  indexFileStale = !tags.empty();
  headerChanged = true;
  return recordCount;
}

void TableData::Clear() {
  records.clear();
  recordCount = 0;
  orders_.clear();
  firstPositions_.clear();
  buckets_.clear();
  ++bucketsGeneration;
  indexFileStale = !tags.empty();
  recordsInFile = 0;
  changedRecords.clear();
  headerChanged = true;
}

}  // namespace storage
