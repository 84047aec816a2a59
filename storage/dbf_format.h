// The dBase data file (.DBF) as bytes: its header and field descriptors, and the fields of a record.
// No file access: callers hand over the header or a record as bytes. Text stays in the table's code page
// here; the table layer converts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "util/date.h"

namespace storage::dbf {

// A damaged header or an unreadable stored value; what() tells what, in Spanish, without the file name.
class DbfFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A sound table with something this engine does not read (a field type of another program); what() names it.
class DbfUnreadableError : public DbfFormatError {
 public:
  using DbfFormatError::DbfFormatError;
};

// A date field's value; empty for a blank field.
using Date = util::Date;

struct DateTime {
  Date date;
  std::int32_t milliseconds = 0;
  bool operator==(const DateTime&) const = default;
};

// The kind of value a field holds for the program, by its stored type, width and decimals.
enum class DataType { ftUnknown, ftString, ftSmallint, ftInteger, ftFloat, ftBoolean, ftDate, ftDateTime, ftMemo };

// A memo field's block number in the memo file.
struct MemoRef {
  std::uint32_t block = 0;
  bool operator==(const MemoRef&) const = default;
};

// A stored value: empty, text (code-page bytes, trailing blanks removed), number, logical, date, date and
// time, or memo reference.
using Value = std::variant<std::monostate, std::string, double, bool, Date, DateTime, MemoRef>;

// A bit of a record: Visual FoxPro's hidden _NullFlags field holds one for each field that may be null and
// one for each varchar or varbinary field.
struct FlagBit {
  std::uint32_t at = 0;  // the byte, from the start of the record
  std::uint8_t mask = 0;
  bool In(std::span<const std::byte> record) const { return (std::to_integer<std::uint8_t>(record[at]) & mask) != 0; }
};

struct Field {
  std::string name;  // as stored
  char type = 'C';
  std::uint32_t offset = 0;  // from the start of the record, whose byte 0 is the deletion flag
  std::uint32_t length = 0;
  std::uint8_t decimals = 0;
  bool indexed = false;  // the field has a tag in the production index (dBase IV)
  DataType dataType = DataType::ftUnknown;
  std::uint8_t flags = 0;  // Visual FoxPro: 0x01 hidden, 0x02 may be null, 0x04 binary
  // Visual FoxPro varchar and varbinary: set when the value is shorter than the field, whose last byte then
  // holds its length.
  std::optional<FlagBit> lengthBit = std::nullopt;
  std::optional<FlagBit> nullBit = std::nullopt;  // set when the value is null
  bool dBase7 = false;  // binary numbers big-endian, with the sign bit flipped
};

struct Layout {
  std::uint8_t version = 0x03;
  std::uint32_t recordCount = 0;
  std::uint16_t headerLength = 0;
  std::uint16_t recordLength = 0;
  std::uint8_t productionIndexFlag = 0;  // byte 28
  std::uint8_t languageDriver = 0;       // byte 29
  std::vector<Field> fields;
  std::optional<Field> nullFlags;  // Visual FoxPro's hidden _NullFlags field, which `fields` leaves out

  bool VisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
  bool DBase7() const { return version == 0x04 || version == 0x8C; }
};

inline constexpr std::size_t kPrefixLength = 32;
inline constexpr std::byte kEndOfFile{0x1A};
// StampHeader changes no byte of a header past this many.
inline constexpr std::size_t kStampedLength = 8;

// A date as dBase headers store it (the last update of a .DBF, the dates of an .MDX): three bytes, year - 1900,
// month and day.
inline constexpr std::size_t kHeaderDateLength = 3;
void EncodeHeaderDate(std::byte* at, Date date);
Date DecodeHeaderDate(const std::byte* at);

// The header length that the first 32 bytes of a file announce; throws when they cannot be a .DBF header.
std::uint16_t HeaderLengthOf(std::span<const std::byte> prefix);

// The layout of a table from its whole header (HeaderLengthOf bytes). Throws DbfFormatError, also when the
// header length and the field list disagree: no 0x0D terminator after the last descriptor inside the
// header, or a header that takes in the first record.
Layout ParseHeader(std::span<const std::byte> header);

DataType DataTypeOf(char type, std::uint32_t length, std::uint8_t decimals);

// A field of a table to create.
struct FieldSpec {
  std::string name;  // upper case, 1-10 characters
  char type = 'C';   // C N L D
  std::uint32_t length = 0;
  std::uint8_t decimals = 0;
  bool indexed = false;
};

// The header of a new, empty dBase table: version 0x03, the given language driver, production-index flag
// when `productionIndex`, descriptors, 0x0D.
std::vector<std::byte> BuildHeader(const std::vector<FieldSpec>& fields, std::uint8_t languageDriver, Date date,
                                   bool productionIndex);

// Writes the record count and the date of last update into a header, leaving every other byte alone.
void StampHeader(std::span<std::byte> header, std::uint32_t recordCount, Date date);

// Makes a header built by BuildHeader a FoxPro 2.x one, the kind whose memo file is a .FPT: version 0xF5,
// and each field's offset in the record in its descriptor, as FoxPro writes them. `layout` is the header's.
void MarkAsFoxPro2(std::span<std::byte> header, const Layout& layout);

// Records.
inline bool IsDeleted(std::span<const std::byte> record) { return !record.empty() && record[0] == std::byte{'*'}; }
// Live, every field blank (empty); no bit of _NullFlags set.
std::vector<std::byte> BlankRecord(const Layout& layout);

// A field's stored bytes, and its value. DecodeField throws DbfFormatError for a stored value that no
// dBase writer makes (letters in a number, an impossible date).
inline std::string_view FieldBytes(const Field& field, std::span<const std::byte> record) {
  return {reinterpret_cast<const char*>(record.data()) + field.offset, field.length};
}
Value DecodeField(const Field& field, std::span<const std::byte> record);
// The bytes of a varchar's or varbinary's value: the whole field, or as many as its last byte says when its
// length bit is set; nothing when that byte says more than the field holds.
std::optional<std::string_view> VariableBytes(const Field& field, std::span<const std::byte> record);

// Writing a field of a record. Text is cut or blank-padded to the field's width. A number is written with
// the field's decimals, right-justified; EncodeNumber returns false, and writes nothing, when it does not
// fit the width (never asterisks).
void EncodeEmpty(const Field& field, std::span<std::byte> record);
void EncodeText(const Field& field, std::string_view bytes, std::span<std::byte> record);
bool EncodeNumber(const Field& field, double value, std::span<std::byte> record);
// A whole number in a field without decimals: what EncodeNumber writes for it, without going through floating
// point.
bool EncodeWholeNumber(const Field& field, std::int64_t value, std::span<std::byte> record);
void EncodeBoolean(const Field& field, bool value, std::span<std::byte> record);
void EncodeDate(const Field& field, Date value, std::span<std::byte> record);

// The highest and lowest whole number a numeric field can hold by its width.
std::pair<double, double> WidthRange(const Field& field);

}  // namespace storage::dbf
