// Tables as other programs write them, built byte by byte, for the tests of tables that no tool here writes:
// dBase III, FoxPro and Visual FoxPro with 32-byte descriptors, dBase 7 with 48-byte ones.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace foreign_tables {

inline std::string Le(std::uint64_t value, std::size_t bytes) {
  std::string stored;
  for (std::size_t i = 0; i < bytes; ++i) stored += static_cast<char>(value >> (8 * i) & 0xFF);
  return stored;
}

// A field as its descriptor holds it.
struct StoredField {
  std::string name;
  char type;
  int length;
  int decimals = 0;
  int flags = 0;  // Visual FoxPro: 0x01 hidden, 0x02 may be null, 0x04 binary
};

// The records of a table and its end marker; each record starts with its deletion flag.
inline std::string RecordsOf(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& record : records) bytes += record;
  return bytes + "\x1A";
}

inline std::string Prefix(std::uint8_t version, std::size_t headerLength, int recordLength, std::size_t records) {
  std::string prefix(32, '\0');
  prefix[0] = static_cast<char>(version);
  prefix.replace(1, 3, "\x7C\x0C\x0A");  // 2024-12-10
  prefix.replace(4, 4, Le(records, 4));
  prefix.replace(8, 2, Le(headerLength, 2));
  prefix.replace(10, 2, Le(static_cast<std::uint64_t>(recordLength), 2));
  prefix[29] = 0x03;  // cp1252
  return prefix;
}

inline int RecordLengthOf(const std::vector<StoredField>& fields) {
  int length = 1;
  for (const StoredField& field : fields) length += field.length;
  return length;
}

// A table with 32-byte descriptors, as dBase III, FoxPro and Visual FoxPro (with its 263-byte backlink) write.
inline std::string XBaseTable(std::uint8_t version, const std::vector<StoredField>& fields,
                       const std::vector<std::string>& records) {
  bool visualFoxPro = version >= 0x30 && version <= 0x32;
  std::size_t headerLength = 32 + 32 * fields.size() + 1 + (visualFoxPro ? 263 : 0);
  std::string bytes = Prefix(version, headerLength, RecordLengthOf(fields), records.size());
  int offset = 1;
  for (const StoredField& field : fields) {
    std::string descriptor(32, '\0');
    descriptor.replace(0, field.name.size(), field.name);
    descriptor[11] = field.type;
    descriptor.replace(12, 4, Le(static_cast<std::uint64_t>(offset), 4));
    descriptor[16] = static_cast<char>(field.length);
    descriptor[17] = static_cast<char>(field.decimals);
    descriptor[18] = static_cast<char>(field.flags);
    bytes += descriptor;
    offset += field.length;
  }
  bytes += '\x0D';
  bytes.resize(headerLength, '\0');
  return bytes + RecordsOf(records);
}

// A dBase 7 table: the language driver's name after the first 32 bytes, then 48-byte descriptors.
inline std::string DBase7Table(std::uint8_t version, const std::vector<StoredField>& fields,
                        const std::vector<std::string>& records) {
  std::size_t headerLength = 68 + 48 * fields.size() + 1;
  std::string bytes = Prefix(version, headerLength, RecordLengthOf(fields), records.size());
  std::string driver(36, '\0');
  driver.replace(0, 8, "DBWINWE0");
  bytes += driver;
  for (const StoredField& field : fields) {
    std::string descriptor(48, '\0');
    descriptor.replace(0, field.name.size(), field.name);
    descriptor[32] = field.type;
    descriptor[33] = static_cast<char>(field.length);
    descriptor[34] = static_cast<char>(field.decimals);
    bytes += descriptor;
  }
  return bytes + '\x0D' + RecordsOf(records);
}

// dBase 7's binary numbers: big-endian, the sign bit flipped (every bit of a negative double inverted).
inline std::string BigEndian(std::uint64_t value, std::size_t bytes) {
  std::string stored = Le(value, bytes);
  return std::string(stored.rbegin(), stored.rend());
}
inline std::string DBase7Long(std::int32_t value) { return BigEndian(static_cast<std::uint32_t>(value) ^ 0x80000000u, 4); }
inline std::string DBase7Double(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return BigEndian(std::signbit(value) ? ~bits : bits ^ (std::uint64_t{1} << 63), 8);
}

}  // namespace foreign_tables
