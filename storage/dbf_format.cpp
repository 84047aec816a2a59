#include "storage/dbf_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace storage::dbf {
namespace {

constexpr std::size_t kDescriptorLength = 32;
constexpr std::byte kHeaderTerminator{0x0D};

std::uint8_t U8(std::span<const std::byte> bytes, std::size_t at) { return std::to_integer<std::uint8_t>(bytes[at]); }

std::uint16_t U16(std::span<const std::byte> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(U8(bytes, at) | (U8(bytes, at + 1) << 8));
}

std::uint32_t U32(std::span<const std::byte> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16(bytes, at)) | (static_cast<std::uint32_t>(U16(bytes, at + 2)) << 16);
}

void PutU16(std::span<std::byte> bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = std::byte(value & 0xFF);
  bytes[at + 1] = std::byte((value >> 8) & 0xFF);
}

void PutU32(std::span<std::byte> bytes, std::size_t at, std::uint32_t value) {
  PutU16(bytes, at, value & 0xFFFF);
  PutU16(bytes, at + 2, value >> 16);
}

bool KnownVersion(std::uint8_t version) {
  switch (version) {
    case 0x02: case 0x03: case 0x30: case 0x31: case 0x32: case 0x43: case 0x63: case 0x83:
    case 0x8B: case 0x8E: case 0xCB: case 0xE5: case 0xF5: case 0xFB:
      return true;
    default:
      return false;
  }
}

std::string_view AsText(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool IsBlankOrNul(char c) { return c == ' ' || c == '\0'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlankOrNul(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrNul(text.back())) text.remove_suffix(1);
  return text;
}

Field ParseDescriptor(std::span<const std::byte> descriptor, std::uint32_t offset) {
  Field field;
  std::string_view name = AsText(descriptor.first(11));
  name = name.substr(0, name.find('\0'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.empty()) throw DbfFormatError("un campo no tiene nombre");
  field.name = std::string(name);
  field.type = static_cast<char>(std::toupper(U8(descriptor, 11)));
  field.offset = offset;
  field.length = U8(descriptor, 16);
  field.decimals = U8(descriptor, 17);
  if (field.type == 'C') {  // character fields wider than 255 keep the high byte of the width in byte 17
    field.length |= static_cast<std::uint32_t>(field.decimals) << 8;
    field.decimals = 0;
  }
  if (field.length == 0) throw DbfFormatError("el campo " + field.name + " tiene longitud 0");
  field.indexed = U8(descriptor, 31) == 0x01;
  field.dataType = DataTypeOf(field.type, field.length, field.decimals);
  return field;
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
  std::string_view text = Trimmed(bytes);
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
  std::string_view text = Trimmed(bytes);
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
      return static_cast<double>(static_cast<std::int32_t>(U32(bytes, 0)));
    case 'B':
    case 'Y': {
      std::uint64_t raw = U32(bytes, 0) | (static_cast<std::uint64_t>(U32(bytes, 4)) << 32);
      if (field.type == 'Y') return static_cast<double>(static_cast<std::int64_t>(raw)) / 10000.0;
      double value = 0;
      std::memcpy(&value, &raw, sizeof value);
      return value;
    }
    case 'T': {
      std::int32_t day = static_cast<std::int32_t>(U32(bytes, 0));
      if (day <= 0) return std::monostate{};
      return DateTime{DateOfJulianDay(day), static_cast<std::int32_t>(U32(bytes, 4))};
    }
    default:
      return std::monostate{};
  }
}

Value DecodeMemo(const Field& field, std::span<const std::byte> bytes) {
  if (field.length == 4) {
    std::uint32_t block = U32(bytes, 0);
    return block == 0 ? Value{} : Value{MemoRef{block}};
  }
  std::string_view text = Trimmed(AsText(bytes));
  if (text.empty() || !DigitsOnly(text) || text.size() > 9) return std::monostate{};
  std::uint32_t block = static_cast<std::uint32_t>(std::stoul(std::string(text)));
  return block == 0 ? Value{} : Value{MemoRef{block}};
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
  if (!KnownVersion(U8(prefix, 0))) throw DbfFormatError("no es una tabla dBase");
  std::uint16_t length = U16(prefix, 8);
  if (length < kPrefixLength + kDescriptorLength + 1) throw DbfFormatError("la longitud de la cabecera no es válida");
  return length;
}

Layout ParseHeader(std::span<const std::byte> header) {
  Layout layout;
  layout.headerLength = HeaderLengthOf(header);
  if (header.size() < layout.headerLength) throw DbfFormatError("la cabecera está incompleta");
  layout.version = U8(header, 0);
  layout.recordCount = U32(header, 4);
  layout.recordLength = U16(header, 10);
  layout.productionIndexFlag = U8(header, 28);
  layout.languageDriver = U8(header, 29);

  std::uint32_t offset = 1;
  for (std::size_t at = kPrefixLength; at + kDescriptorLength <= layout.headerLength; at += kDescriptorLength) {
    if (header[at] == kHeaderTerminator) break;
    Field field = ParseDescriptor(header.subspan(at, kDescriptorLength), offset);
    offset += field.length;
    if (field.type != '0') layout.fields.push_back(std::move(field));  // '0': Visual FoxPro's hidden null flags
  }
  if (layout.fields.empty()) throw DbfFormatError("la tabla no tiene campos");
  if (offset > layout.recordLength) throw DbfFormatError("los campos no caben en la longitud del registro");
  return layout;
}

DataType DataTypeOf(char type, std::uint32_t length, std::uint8_t decimals) {
  switch (type) {
    case 'C': return DataType::ftString;
    case 'N':
      if (decimals > 0 || length >= 10) return DataType::ftFloat;
      return length < 5 ? DataType::ftSmallint : DataType::ftInteger;
    case 'F': case 'B': case 'Y': return DataType::ftFloat;
    case 'I': return DataType::ftInteger;
    case 'L': return DataType::ftBoolean;
    case 'D': return DataType::ftDate;
    case 'T': return DataType::ftDateTime;
    case 'M': case 'G': case 'P': return DataType::ftMemo;
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
    std::memcpy(descriptor.data(), field.name.data(), std::min<std::size_t>(field.name.size(), 10));
    descriptor[11] = std::byte(field.type);
    descriptor[16] = std::byte(field.length & 0xFF);
    descriptor[17] = std::byte(field.type == 'C' ? (field.length >> 8) : field.decimals);
    descriptor[31] = std::byte(field.indexed ? 1 : 0);
    recordLength += field.length;
  }
  bytes[0] = std::byte{0x03};
  PutU16(bytes, 8, static_cast<std::uint32_t>(headerLength));
  PutU16(bytes, 10, recordLength);
  bytes[28] = std::byte(productionIndex ? 1 : 0);
  bytes[29] = std::byte(languageDriver);
  bytes[headerLength - 1] = kHeaderTerminator;
  StampHeader(bytes, 0, date);
  return header;
}

void StampHeader(std::span<std::byte> header, std::uint32_t recordCount, Date date) {
  header[1] = std::byte((date.year - 1900) & 0xFF);
  header[2] = std::byte(date.month);
  header[3] = std::byte(date.day);
  PutU32(header, 4, recordCount);
}

bool IsDeleted(std::span<const std::byte> record) { return !record.empty() && record[0] == std::byte{'*'}; }

std::vector<std::byte> BlankRecord(const Layout& layout) { return std::vector<std::byte>(layout.recordLength, std::byte{' '}); }

std::string_view FieldBytes(const Field& field, std::span<const std::byte> record) {
  return AsText(record.subspan(field.offset, field.length));
}

Value DecodeField(const Field& field, std::span<const std::byte> record) {
  std::span<const std::byte> bytes = record.subspan(field.offset, field.length);
  switch (field.type) {
    case 'C': {
      std::string_view text = AsText(bytes);
      while (!text.empty() && IsBlankOrNul(text.back())) text.remove_suffix(1);
      return std::string(text);
    }
    case 'N': case 'F': return DecodeNumber(AsText(bytes));
    case 'D': return DecodeDate(AsText(bytes));
    case 'L': return DecodeLogical(AsText(bytes));
    case 'M': case 'G': case 'P': return DecodeMemo(field, bytes);
    case 'I': case 'B': case 'Y': case 'T':
      return bytes.size() >= (field.type == 'I' ? 4u : 8u) ? DecodeBinary(field, bytes) : Value{};
    default: return std::monostate{};
  }
}

void EncodeEmpty(const Field& field, std::span<std::byte> record) { Fill(FieldSpan(field, record), ' '); }

void EncodeText(const Field& field, std::string_view bytes, std::span<std::byte> record) {
  std::span<std::byte> target = FieldSpan(field, record);
  Fill(target, ' ');
  std::memcpy(target.data(), bytes.data(), std::min<std::size_t>(bytes.size(), target.size()));
}

namespace {

// `value` with exactly `decimals` decimals. Values whose scaled form is a whole number (almost all that
// tables hold) take the quick way through integers; the rest are rounded exactly by the library.
std::string_view FormatFixed(double value, int decimals, char (&text)[400]) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  double scaled = value * scale;
  if (decimals <= 15 && std::fabs(scaled) < 9e15 && scaled == std::trunc(scaled) && scaled / scale == value) {
    auto magnitude = static_cast<std::uint64_t>(std::fabs(scaled));
    char digits[32];
    int count = 0;  // the digits, lowest first, at least decimals + 1 of them
    do {
      digits[count++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude > 0 || count <= decimals);
    std::size_t length = 0;
    if (scaled < 0) text[length++] = '-';
    for (int i = count - 1; i >= 0; --i) {
      if (i == decimals - 1) text[length++] = '.';
      text[length++] = digits[i];
    }
    return {text, length};
  }
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  return {text, static_cast<std::size_t>(end - text)};
}

}  // namespace

bool EncodeNumber(const Field& field, double value, std::span<std::byte> record) {
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
