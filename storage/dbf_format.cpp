#include "storage/dbf_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "util/ascii.h"
#include "util/coding.h"

namespace storage::dbf {
namespace {

constexpr std::size_t kDescriptorLength = 32;
constexpr std::byte kHeaderTerminator{0x0D};
constexpr std::uint8_t kVersionDBase3{0x03};
constexpr std::uint8_t kVersionFoxPro2{0xF5};
constexpr std::uint8_t kVersionDBase7{0x04};
constexpr std::uint8_t kVersionDBase7Memo{0x8C};

// Where the fields of the header's first 32 bytes lie.
namespace header_at {
constexpr std::size_t kVersion = 0;
constexpr std::size_t kUpdated = 1;  // date of last update
constexpr std::size_t kRecordCount = 4;
constexpr std::size_t kHeaderLength = 8;
constexpr std::size_t kRecordLength = 10;
constexpr std::size_t kProductionIndex = 28;
constexpr std::size_t kLanguageDriver = 29;
}  // namespace header_at
static_assert(kStampedLength == header_at::kRecordCount + 4, "StampHeader writes the date and the record count");

// Where the fields of a field descriptor lie.
namespace descriptor_at {
constexpr std::size_t kName = 0;  // NUL-padded
constexpr std::size_t kType = 11;
constexpr std::size_t kOffset = 12;  // FoxPro: the field's offset in the record
constexpr std::size_t kLength = 16;
constexpr std::size_t kDecimals = 17;  // character fields: the high byte of the length
constexpr std::size_t kFlags = 18;     // Visual FoxPro: hidden, may be null, binary
constexpr std::size_t kIndexed = 31;   // dBase IV: the field has a tag in the production index
}  // namespace descriptor_at
constexpr std::size_t kNameSpace = descriptor_at::kType - descriptor_at::kName;  // the name and its NUL
constexpr std::size_t kMaxNameLength = kNameSpace - 1;

// dBase 7: after the first 32 bytes, the name of the language driver and 4 reserved bytes; then descriptors
// of 48 bytes, with names of up to 31 characters.
namespace dbase7_header_at {
constexpr std::size_t kFirstDescriptor = 68;
}  // namespace dbase7_header_at
constexpr std::size_t kDBase7DescriptorLength = 48;
namespace dbase7_descriptor_at {
constexpr std::size_t kName = 0;  // NUL-padded
constexpr std::size_t kType = 32;
constexpr std::size_t kLength = 33;
constexpr std::size_t kDecimals = 34;
constexpr std::size_t kIndexed = 37;
}  // namespace dbase7_descriptor_at

// Visual FoxPro field flags (descriptor byte 18).
constexpr std::uint8_t kMayBeNull = 0x02;
constexpr char kNullFlagsType = '0';

// Where descriptors start and how long each is, by the kind of table.
struct DescriptorList {
  std::size_t first = kPrefixLength;
  std::size_t length = kDescriptorLength;
};
DescriptorList DescriptorListOf(std::uint8_t version) {
  if (version == kVersionDBase7 || version == kVersionDBase7Memo) {
    return {dbase7_header_at::kFirstDescriptor, kDBase7DescriptorLength};
  }
  return {};
}

std::uint8_t U8(std::span<const std::byte> bytes, std::size_t at) { return std::to_integer<std::uint8_t>(bytes[at]); }

bool KnownVersion(std::uint8_t version) {
  switch (version) {
    case 0x02: case 0x03: case 0x04: case 0x30: case 0x31: case 0x32: case 0x43: case 0x63: case 0x83:
    case 0x8B: case 0x8C: case 0x8E: case 0xCB: case 0xE5: case 0xF5: case 0xFB:
      return true;
    default:
      return false;
  }
}

std::string_view AsText(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string NameIn(std::span<const std::byte> space) {
  std::string_view name = AsText(space);
  name = util::TrimTrailingBlanks(name.substr(0, name.find('\0')));
  if (name.empty()) throw DbfFormatError("un campo no tiene nombre");
  return std::string(name);
}

void RequireLength(const Field& field) {
  if (field.length == 0) throw DbfFormatError("el campo " + field.name + " tiene longitud 0");
}

Field ParseDescriptor(std::span<const std::byte> descriptor, std::uint32_t offset) {
  Field field;
  field.name = NameIn(descriptor.subspan(descriptor_at::kName, kNameSpace));
  field.type = util::ToUpperAscii(static_cast<char>(U8(descriptor, descriptor_at::kType)));
  field.offset = offset;
  field.length = U8(descriptor, descriptor_at::kLength);
  field.decimals = U8(descriptor, descriptor_at::kDecimals);
  if (field.type == 'C') {  // character fields wider than 255 keep the high byte of the width in byte 17
    field.length |= static_cast<std::uint32_t>(field.decimals) << 8;
    field.decimals = 0;
  }
  RequireLength(field);
  field.flags = U8(descriptor, descriptor_at::kFlags);
  field.indexed = U8(descriptor, descriptor_at::kIndexed) == 0x01;
  field.dataType = DataTypeOf(field.type, field.length, field.decimals);
  return field;
}

// dBase 7's own field types: I a long, + an autoincrement long, O a double; B and G are memo references.
DataType DBase7DataTypeOf(char type, std::uint32_t length, std::uint8_t decimals) {
  switch (type) {
    case 'I': case '+': return DataType::ftInteger;
    case 'O': return DataType::ftFloat;
    case 'B': return DataType::ftMemo;
    default: return DataTypeOf(type, length, decimals);
  }
}

Field ParseDBase7Descriptor(std::span<const std::byte> descriptor, std::uint32_t offset) {
  Field field;
  field.name = NameIn(descriptor.subspan(dbase7_descriptor_at::kName, dbase7_descriptor_at::kType));
  field.type = util::ToUpperAscii(static_cast<char>(U8(descriptor, dbase7_descriptor_at::kType)));
  field.offset = offset;
  field.length = U8(descriptor, dbase7_descriptor_at::kLength);
  field.decimals = U8(descriptor, dbase7_descriptor_at::kDecimals);
  RequireLength(field);
  field.indexed = U8(descriptor, dbase7_descriptor_at::kIndexed) == 0x01;
  field.dBase7 = true;
  // A timestamp (@) is not read: its stored form is not known well enough here to give its value exactly.
  if (field.type == '@') throw DbfUnreadableError("el campo " + field.name + " es de tipo @, fecha y hora de dBase 7");
  field.dataType = DBase7DataTypeOf(field.type, field.length, field.decimals);
  return field;
}

bool VariableLength(const Field& field) { return field.type == 'V' || field.type == 'Q'; }

// The bits Visual FoxPro keeps in _NullFlags, from the lowest bit of its first byte on, in field order: one
// for each varchar or varbinary field, then, for a field that may be null, one for that. Without _NullFlags
// no value is null (and no varchar is read).
void PlaceFlagBits(Layout& layout) {
  if (!layout.nullFlags) return;
  std::uint32_t next = 0;
  auto take = [&](const Field& field) {
    if (next >= layout.nullFlags->length * 8) {
      throw DbfFormatError("falta el indicador de nulo o de longitud del campo " + field.name);
    }
    FlagBit bit{layout.nullFlags->offset + next / 8, static_cast<std::uint8_t>(1u << (next % 8))};
    ++next;
    return bit;
  };
  for (Field& field : layout.fields) {
    if (VariableLength(field)) field.lengthBit = take(field);
    if (field.flags & kMayBeNull) field.nullBit = take(field);
  }
}

// Varchar and varbinary fields are read only with the bit that says where their value ends.
void RequireLengthBits(const Layout& layout) {
  for (const Field& field : layout.fields) {
    if (VariableLength(field) && !field.lengthBit) {
      throw DbfUnreadableError(std::string("el campo ") + field.name + " es de tipo " + field.type +
                               " sin indicador de longitud");
    }
  }
}

bool DigitsOnly(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool ValidDate(const Date& date) {
  return date.year >= 1 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month);
}

int ParseDigits(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

Value DecodeNumber(std::string_view bytes) {
  std::string_view text = util::TrimBlanksAndNuls(bytes);
  if (text.empty()) return std::monostate{};
  std::string_view digits = text.front() == '+' ? text.substr(1) : text;
  double value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    throw DbfFormatError("valor numérico no válido: " + std::string(text));
  }
  return value;
}

Value DecodeDate(std::string_view bytes) {
  std::string_view text = util::TrimBlanksAndNuls(bytes);
  if (text.empty() || text.find_first_not_of('0') == std::string_view::npos) return std::monostate{};
  if (text.size() != 8 || !DigitsOnly(text)) throw DbfFormatError("fecha no válida: " + std::string(text));
  Date date{ParseDigits(text.substr(0, 4)), ParseDigits(text.substr(4, 2)), ParseDigits(text.substr(6, 2))};
  if (!ValidDate(date)) throw DbfFormatError("fecha no válida: " + std::string(text));
  return date;
}

Value DecodeLogical(std::string_view bytes) {
  switch (bytes.empty() ? ' ' : bytes[0]) {
    case 'T': case 't': case 'Y': case 'y': case 'S': case 's': return true;
    case 'F': case 'f': case 'N': case 'n': return false;
    default: return std::monostate{};
  }
}

// Gregorian date of a Julian day number.
Date DateOfJulianDay(std::int64_t julianDay) {
  std::int64_t a = julianDay + 32044;
  std::int64_t b = (4 * a + 3) / 146097;
  std::int64_t c = a - 146097 * b / 4;
  std::int64_t d = (4 * c + 3) / 1461;
  std::int64_t e = c - 1461 * d / 4;
  std::int64_t m = (5 * e + 2) / 153;
  return Date{static_cast<int>(100 * b + d - 4800 + m / 10), static_cast<int>(m + 3 - 12 * (m / 10)),
              static_cast<int>(e - (153 * m + 2) / 5 + 1)};
}

Value DecodeBinary(const Field& field, std::span<const std::byte> bytes) {
  switch (field.type) {
    case 'I':
      return static_cast<double>(static_cast<std::int32_t>(util::DecodeFixed32(bytes.data())));
    case 'B':
    case 'Y': {
      std::uint64_t raw = util::DecodeFixed64(bytes.data());
      if (field.type == 'Y') return static_cast<double>(static_cast<std::int64_t>(raw)) / 10000.0;
      double value = 0;
      std::memcpy(&value, &raw, sizeof value);
      return value;
    }
    case 'T': {
      std::int32_t day = static_cast<std::int32_t>(util::DecodeFixed32(bytes.data()));
      if (day <= 0) return std::monostate{};
      return DateTime{DateOfJulianDay(day), static_cast<std::int32_t>(util::DecodeFixed32(bytes.data() + 4))};
    }
    default:
      return std::monostate{};
  }
}

Value DecodeMemo(const Field& field, std::span<const std::byte> bytes) {
  if (field.length == 4) {
    std::uint32_t block = util::DecodeFixed32(bytes.data());
    return block == 0 ? Value{} : Value{MemoRef{block}};
  }
  std::string_view text = util::TrimBlanksAndNuls(AsText(bytes));
  if (text.empty() || !DigitsOnly(text) || text.size() > 9) return std::monostate{};
  std::uint32_t block = static_cast<std::uint32_t>(std::stoul(std::string(text)));
  return block == 0 ? Value{} : Value{MemoRef{block}};
}

Value DecodeVariable(const Field& field, std::span<const std::byte> record) {
  auto bytes = VariableBytes(field, record);
  if (!bytes) {
    auto stored = static_cast<unsigned>(U8(record, field.offset + field.length - 1));
    throw DbfFormatError("longitud de texto variable no válida: " + std::to_string(stored));
  }
  return std::string(*bytes);
}

// dBase 7 keeps binary numbers big-endian with the sign bit flipped (and all the bits of a negative double
// inverted), so that their bytes sort as their values; all bytes zero is an empty value.
std::uint64_t BigEndian(std::span<const std::byte> bytes) {
  std::uint64_t value = 0;
  for (std::byte b : bytes) value = value << 8 | std::to_integer<std::uint64_t>(b);
  return value;
}

std::optional<Value> DecodeDBase7Binary(const Field& field, std::span<const std::byte> bytes) {
  std::size_t size = field.type == 'O' ? 8 : field.type == 'I' || field.type == '+' ? 4 : 0;
  if (size == 0) return field.type == 'B' ? std::optional<Value>(DecodeMemo(field, bytes)) : std::nullopt;
  if (bytes.size() != size) {
    throw DbfFormatError("longitud no válida para un campo de tipo " + std::string(1, field.type));
  }
  std::uint64_t raw = BigEndian(bytes);
  if (raw == 0) return Value{};
  if (size == 4) return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(raw) ^ 0x80000000u));
  constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
  raw = (raw & kSign) != 0 ? raw ^ kSign : ~raw;
  double value = 0;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

void Fill(std::span<std::byte> bytes, char c) { std::fill(bytes.begin(), bytes.end(), std::byte(c)); }

std::span<std::byte> FieldSpan(const Field& field, std::span<std::byte> record) {
  return record.subspan(field.offset, field.length);
}

void WriteRightJustified(const Field& field, std::string_view text, std::span<std::byte> record) {
  std::span<std::byte> target = FieldSpan(field, record);
  Fill(target, ' ');
  std::memcpy(target.data() + (target.size() - text.size()), text.data(), text.size());
}

}  // namespace

std::uint16_t HeaderLengthOf(std::span<const std::byte> prefix) {
  if (prefix.size() < kPrefixLength) throw DbfFormatError("la cabecera está incompleta");
  std::uint8_t version = U8(prefix, header_at::kVersion);
  if (!KnownVersion(version)) throw DbfFormatError("no es una tabla dBase");
  std::uint16_t length = util::DecodeFixed16(&prefix[header_at::kHeaderLength]);
  // A table without fields (GIS tools write one for shapes without attributes) is the part before the
  // descriptors and the terminator.
  if (length < DescriptorListOf(version).first + 1) throw DbfFormatError("la longitud de la cabecera no es válida");
  return length;
}

Layout ParseHeader(std::span<const std::byte> header) {
  Layout layout;
  layout.headerLength = HeaderLengthOf(header);
  if (header.size() < layout.headerLength) throw DbfFormatError("la cabecera está incompleta");
  layout.version = U8(header, header_at::kVersion);
  layout.recordCount = util::DecodeFixed32(&header[header_at::kRecordCount]);
  layout.recordLength = util::DecodeFixed16(&header[header_at::kRecordLength]);
  layout.productionIndexFlag = U8(header, header_at::kProductionIndex);
  layout.languageDriver = U8(header, header_at::kLanguageDriver);

  // Descriptors follow one another from their first place up to the terminator, which must lie inside the
  // header length: a descriptor is only read when the header leaves room for it and a terminator after it.
  DescriptorList list = DescriptorListOf(layout.version);
  std::uint32_t offset = 1;
  std::size_t at = list.first;  // below the header length at every step (HeaderLengthOf)
  for (; at + list.length < layout.headerLength && header[at] != kHeaderTerminator; at += list.length) {
    std::span<const std::byte> descriptor = header.subspan(at, list.length);
    Field field = layout.DBase7() ? ParseDBase7Descriptor(descriptor, offset) : ParseDescriptor(descriptor, offset);
    offset += field.length;
    if (field.type == kNullFlagsType) {
      layout.nullFlags = std::move(field);
    } else {
      layout.fields.push_back(std::move(field));
    }
  }
  if (header[at] != kHeaderTerminator) throw DbfFormatError("falta el fin de la lista de campos");
  // Writers may leave bytes between the terminator and the first record (dBase III a NUL, Visual FoxPro
  // its 263-byte backlink, NULs or a path). A header length that reaches into the records instead finds
  // there the first record's deletion flag, or the end marker of a table without records.
  std::size_t afterTerminator = at + 1;
  if (afterTerminator < layout.headerLength) {
    std::byte first = header[afterTerminator];
    if (first == std::byte{' '} || first == std::byte{'*'} || first == kEndOfFile) {
      throw DbfFormatError("la longitud de la cabecera no es válida");
    }
  }
  // Without fields, a record is its deletion flag alone; a longer one is a field list that went missing.
  if (layout.fields.empty() && layout.recordLength != 1) throw DbfFormatError("la tabla no tiene campos");
  if (offset > layout.recordLength) throw DbfFormatError("los campos no caben en la longitud del registro");
  if (layout.VisualFoxPro()) PlaceFlagBits(layout);
  RequireLengthBits(layout);
  return layout;
}

DataType DataTypeOf(char type, std::uint32_t length, std::uint8_t decimals) {
  switch (type) {
    case 'C': case 'V': case 'Q': return DataType::ftString;
    case 'N':
      if (decimals > 0 || length >= 10) return DataType::ftFloat;
      return length < 5 ? DataType::ftSmallint : DataType::ftInteger;
    case 'F': case 'B': case 'Y': return DataType::ftFloat;
    case 'I': return DataType::ftInteger;
    case 'L': return DataType::ftBoolean;
    case 'D': return DataType::ftDate;
    case 'T': return DataType::ftDateTime;
    case 'M': case 'G': case 'P': case 'W': return DataType::ftMemo;
    default: return DataType::ftUnknown;
  }
}

std::vector<std::byte> BuildHeader(const std::vector<FieldSpec>& fields, std::uint8_t languageDriver, Date date,
                                   bool productionIndex) {
  std::size_t headerLength = kPrefixLength + kDescriptorLength * fields.size() + 1;
  std::vector<std::byte> header(headerLength, std::byte{0});
  std::span<std::byte> bytes(header);
  std::uint32_t recordLength = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldSpec& field = fields[i];
    std::span<std::byte> descriptor = bytes.subspan(kPrefixLength + i * kDescriptorLength, kDescriptorLength);
    std::memcpy(&descriptor[descriptor_at::kName], field.name.data(), std::min(field.name.size(), kMaxNameLength));
    descriptor[descriptor_at::kType] = std::byte(field.type);
    descriptor[descriptor_at::kLength] = std::byte(field.length & 0xFF);
    descriptor[descriptor_at::kDecimals] = std::byte(field.type == 'C' ? (field.length >> 8) : field.decimals);
    descriptor[descriptor_at::kIndexed] = std::byte(field.indexed ? 1 : 0);
    recordLength += field.length;
  }
  bytes[header_at::kVersion] = std::byte{kVersionDBase3};
  util::EncodeFixed16(&bytes[header_at::kHeaderLength], static_cast<std::uint16_t>(headerLength));
  util::EncodeFixed16(&bytes[header_at::kRecordLength], static_cast<std::uint16_t>(recordLength));
  bytes[header_at::kProductionIndex] = std::byte(productionIndex ? 1 : 0);
  bytes[header_at::kLanguageDriver] = std::byte(languageDriver);
  bytes[headerLength - 1] = kHeaderTerminator;
  StampHeader(bytes, 0, date);
  return header;
}

void EncodeHeaderDate(std::byte* at, Date date) {
  at[0] = std::byte((date.year - 1900) & 0xFF);
  at[1] = std::byte(date.month);
  at[2] = std::byte(date.day);
}

Date DecodeHeaderDate(const std::byte* at) {
  return Date{1900 + std::to_integer<int>(at[0]), std::to_integer<int>(at[1]), std::to_integer<int>(at[2])};
}

void StampHeader(std::span<std::byte> header, std::uint32_t recordCount, Date date) {
  EncodeHeaderDate(&header[header_at::kUpdated], date);
  util::EncodeFixed32(&header[header_at::kRecordCount], recordCount);
}

void MarkAsFoxPro2(std::span<std::byte> header, const Layout& layout) {
  header[header_at::kVersion] = std::byte{kVersionFoxPro2};
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    std::size_t descriptor = kPrefixLength + i * kDescriptorLength;
    util::EncodeFixed32(&header[descriptor + descriptor_at::kOffset], layout.fields[i].offset);
  }
}


std::vector<std::byte> BlankRecord(const Layout& layout) {
  std::vector<std::byte> record(layout.recordLength, std::byte{' '});
  if (layout.nullFlags) {
    std::fill_n(record.begin() + layout.nullFlags->offset, layout.nullFlags->length, std::byte{0});
  }
  return record;
}

Value DecodeField(const Field& field, std::span<const std::byte> record) {
  std::span<const std::byte> bytes = record.subspan(field.offset, field.length);
  if (field.nullBit && field.nullBit->In(record)) return std::monostate{};
  if (field.dBase7) {
    if (auto value = DecodeDBase7Binary(field, bytes)) return *value;
  }
  switch (field.type) {
    case 'V': case 'Q': return DecodeVariable(field, record);
    case 'C': return std::string(util::TrimTrailingBlanksAndNuls(AsText(bytes)));
    case 'N': case 'F': return DecodeNumber(AsText(bytes));
    case 'D': return DecodeDate(AsText(bytes));
    case 'L': return DecodeLogical(AsText(bytes));
    case 'M': case 'G': case 'P': case 'W': return DecodeMemo(field, bytes);
    case 'I': case 'B': case 'Y': case 'T':
      return bytes.size() >= (field.type == 'I' ? 4u : 8u) ? DecodeBinary(field, bytes) : Value{};
    // A type no dBase or FoxPro writer uses: a damaged descriptor, never read as an empty value.
    default: throw DbfFormatError(std::string("el tipo de campo '") + field.type + "' no es de dBase");
  }
}

std::optional<std::string_view> VariableBytes(const Field& field, std::span<const std::byte> record) {
  std::string_view bytes = FieldBytes(field, record);
  if (!field.lengthBit || !field.lengthBit->In(record)) return bytes;
  std::size_t length = static_cast<unsigned char>(bytes.back());
  if (length >= bytes.size()) return std::nullopt;
  return bytes.substr(0, length);
}

void EncodeEmpty(const Field& field, std::span<std::byte> record) { Fill(FieldSpan(field, record), ' '); }

void EncodeText(const Field& field, std::string_view bytes, std::span<std::byte> record) {
  std::span<std::byte> target = FieldSpan(field, record);
  std::size_t kept = std::min<std::size_t>(bytes.size(), target.size());
  std::memcpy(target.data(), bytes.data(), kept);
  std::memset(target.data() + kept, ' ', target.size() - kept);
}

namespace {

// `value` with exactly `decimals` decimals. Values whose scaled form is a whole number (almost all that
// tables hold) take the quick way through integers; the rest are rounded exactly by the library.
std::string_view FormatFixed(double value, int decimals, char (&text)[400]) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  double scaled = value * scale;
  if (decimals <= 15 && std::fabs(scaled) < 9e15 && scaled == std::trunc(scaled) && scaled / scale == value) {
    // The digits, with zeros in front when they are too few for one before the point and the decimals.
    auto places = static_cast<std::size_t>(decimals);
    char digits[48];
    char* start = digits + places + 1;
    auto written = std::to_chars(start, digits + sizeof digits, static_cast<std::uint64_t>(std::fabs(scaled)));
    auto count = static_cast<std::size_t>(written.ptr - start);
    std::size_t total = std::max(count, places + 1);
    start -= total - count;
    std::memset(start, '0', total - count);
    std::size_t length = 0;
    if (scaled < 0) text[length++] = '-';
    std::memcpy(text + length, start, total - places);
    length += total - places;
    if (places > 0) {
      text[length++] = '.';
      std::memcpy(text + length, start + total - places, places);
      length += places;
    }
    return {text, length};
  }
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  return {text, static_cast<std::size_t>(end - text)};
}

}  // namespace

// Written as FormatFixed would write it.
bool EncodeWholeNumber(const Field& field, std::int64_t value, std::span<std::byte> record) {
  char digits[24];
  auto written = std::to_chars(digits, digits + sizeof digits, value);
  auto count = static_cast<std::size_t>(written.ptr - digits);
  if (count > field.length) return false;
  std::span<std::byte> target = FieldSpan(field, record);
  std::memset(target.data(), ' ', target.size() - count);
  std::memcpy(target.data() + target.size() - count, digits, count);
  return true;
}

bool EncodeNumber(const Field& field, double value, std::span<std::byte> record) {
  if (field.decimals == 0 && std::fabs(value) < 9e15 && value == std::trunc(value)) {
    return EncodeWholeNumber(field, static_cast<std::int64_t>(value), record);  // -0 too: it is 0
  }
  if (!std::isfinite(value)) return false;
  if (value == 0) value = 0;  // no "-0"
  char text[400];
  std::string_view formatted = FormatFixed(value, field.decimals, text);
  if (formatted.empty()) return false;
  if (formatted.find_first_not_of("-0.") == std::string_view::npos) formatted = formatted.substr(formatted[0] == '-');
  if (formatted.size() > field.length) return false;
  WriteRightJustified(field, formatted, record);
  return true;
}

void EncodeBoolean(const Field& field, bool value, std::span<std::byte> record) {
  Fill(FieldSpan(field, record), ' ');
  record[field.offset] = std::byte(value ? 'T' : 'F');
}

void EncodeDate(const Field& field, Date value, std::span<std::byte> record) {
  if (value.IsEmpty()) return EncodeEmpty(field, record);
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", value.year, value.month, value.day);
  EncodeText(field, text, record);
}

std::pair<double, double> WidthRange(const Field& field) {
  int integerDigits = static_cast<int>(field.length) - (field.decimals > 0 ? field.decimals + 1 : 0);
  if (integerDigits <= 0) return {0, 0};
  double highest = std::pow(10.0, integerDigits) - 1;
  double lowest = -(std::pow(10.0, integerDigits - 1) - 1);
  return {lowest, highest};
}

}  // namespace storage::dbf
