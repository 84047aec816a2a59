// The byte-level codecs: code pages, the .DBF header and fields, memo files, and numbers as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#ifndef _WIN32
#include <iconv.h>  // glibc's, which the compiled-in code pages were generated from
#endif

#include "storage/code_page.h"
#include "storage/conversions.h"
#include "storage/dbf_format.h"
#include "storage/memo_format.h"

namespace {

using storage::CodePage;
namespace dbf = storage::dbf;

// ---------------------------------------------------------------------------------------------------------
// Code pages

TEST(CodePages, TheLanguageDriverChoosesTheCodePage) {
  struct Case {
    std::uint8_t driver;
    const char* name;
    std::string stored;  // bytes in that code page
    const char* text;    // UTF-8
  } cases[] = {{0x01, "CP437", "\x80\xA4\x9A", "ÇñÜ"},
               {0x02, "CP850", "\xB5\xA5\xD6\x80", "ÁÑÍÇ"},
               {0x03, "CP1252", "\xC1\xD1\x80", "ÁÑ€"},
               {0x57, "CP1252", "\xE0\xE8\xF2", "àèò"},
               {0x00, "CP1252", "\xE7", "ç"},
               {0x64, "CP852", "\xA5\x9F", "ąč"},
               {0x65, "CP866", "\x80\xAE", "Ао"},
               {0x26, "CP866", "\x9F", "Я"}};
  for (const Case& c : cases) {
    const CodePage& page = CodePage::ForLanguageDriver(c.driver);
    EXPECT_EQ(page.Name(), c.name);
    EXPECT_EQ(page.Decode(c.stored), c.text) << c.name;
    EXPECT_EQ(page.Encode(c.text), c.stored) << c.name;
  }
}

TEST(CodePages, WhatTheCodePageLacksBecomesAQuestionMark) {
  const CodePage& page = CodePage::ForLanguageDriver(0x57);
  EXPECT_EQ(page.Encode("añoΩ中"), "a\xF1o??");
  EXPECT_EQ(page.Encode("a\xFF\xFE" "b"), "a??b");  // malformed UTF-8
  EXPECT_EQ(page.Encode("\xC3"), "?");             // cut sequence
}

TEST(CodePages, EveryByteSurvivesARoundTrip) {
  for (int driver : {0x01, 0x02, 0x57, 0x64, 0x65}) {
    const CodePage& page = CodePage::ForLanguageDriver(static_cast<std::uint8_t>(driver));
    for (int byte = 0; byte < 256; ++byte) {
      std::string stored(1, static_cast<char>(byte));
      EXPECT_EQ(page.Encode(page.Decode(stored)), stored) << page.Name() << " byte " << byte;
    }
  }
}

#ifndef _WIN32
// The compiled-in tables are glibc's iconv, byte for byte: a byte iconv converts gives its character, one it
// refuses (and every byte below 0x20) the character of the same number. Each page also lists in full here.
std::string ByteThroughIconv(iconv_t converter, unsigned char byte) {
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inPointer = in;
  char* outPointer = out;
  std::size_t inLeft = 1;
  std::size_t outLeft = sizeof out;
  ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1)) return {};
  return std::string(out, sizeof out - outLeft);
}

// The UTF-8 of the character numbered as the byte.
std::string SameNumber(int byte) {
  if (byte < 0x80) return std::string(1, static_cast<char>(byte));
  return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

TEST(CodePages, EveryByteOfEveryPageIsWhatIconvGives) {
  std::vector<std::string> names = CodePage::SupportedNames();
  ASSERT_EQ(names.size(), 14u);
  for (const std::string& name : names) {
    iconv_t converter = ::iconv_open("UTF-8", name.c_str());
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1)) << name;
    const CodePage& page = CodePage::Named(name);
    for (int byte = 0; byte < 256; ++byte) {
      std::string converted = byte < 0x20 ? std::string() : ByteThroughIconv(converter, static_cast<unsigned char>(byte));
      std::string stored(1, static_cast<char>(byte));
      EXPECT_EQ(page.Decode(stored), converted.empty() ? SameNumber(byte) : converted) << name << " byte " << byte;
      // Back to a byte of the same character: itself, or the lower byte where two share one (CP857 has
      // 0xD5 and 0xE5 alike).
      EXPECT_EQ(page.Decode(page.Encode(page.Decode(stored))), page.Decode(stored)) << name << " byte " << byte;
    }
    ::iconv_close(converter);
  }
  EXPECT_THROW(CodePage::Named("CP65001"), std::invalid_argument);
}
#endif

TEST(CodePages, CharactersAreCountedNotBytes) {
  EXPECT_EQ(storage::CharacterCount("VALENCIÁ"), 8u);
  EXPECT_EQ(storage::FirstCharacters("ÁÉÍÓÚ", 3), "ÁÉÍ");
  EXPECT_EQ(storage::FirstCharacters("ab", 5), "ab");
}

// ---------------------------------------------------------------------------------------------------------
// Headers

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
  std::vector<std::byte> bytes;
  for (int v : values) bytes.push_back(std::byte(v));
  return bytes;
}

// A header with the given version and descriptors (name, type, length, decimals).
std::vector<std::byte> Header(std::uint8_t version, std::vector<std::tuple<std::string, char, int, int>> fields,
                              std::size_t extra = 0) {
  std::size_t length = 32 + 32 * fields.size() + 1 + extra;
  std::vector<std::byte> header(length, std::byte{0});
  header[0] = std::byte(version);
  header[8] = std::byte(length & 0xFF);
  header[9] = std::byte(length >> 8);
  int recordLength = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    auto& [name, type, width, decimals] = fields[i];
    std::memcpy(&header[32 + 32 * i], name.data(), name.size());
    header[32 + 32 * i + 11] = std::byte(type);
    header[32 + 32 * i + 16] = std::byte(width & 0xFF);
    header[32 + 32 * i + 17] = std::byte(decimals);
    recordLength += width + (type == 'C' ? decimals * 256 : 0);
  }
  header[10] = std::byte(recordLength & 0xFF);
  header[11] = std::byte(recordLength >> 8);
  header[32 + 32 * fields.size()] = std::byte{0x0D};
  return header;
}

std::vector<std::byte> WithRecordLength(std::vector<std::byte> header, int recordLength) {
  header[10] = std::byte(recordLength & 0xFF);
  header[11] = std::byte(recordLength >> 8);
  return header;
}

TEST(DbfHeader, ATableWithoutFieldsIsItsPrefixAndTerminator) {
  dbf::Layout layout = dbf::ParseHeader(Header(0x03, {}));
  EXPECT_EQ(layout.headerLength, 33);
  EXPECT_EQ(layout.recordLength, 1);
  EXPECT_TRUE(layout.fields.empty());
}

TEST(DbfHeader, ReadsTheVersionsOfEveryDBaseWriter) {
  for (int version : {0x03, 0x83, 0x8B, 0xF5, 0x30, 0x31}) {
    dbf::Layout layout = dbf::ParseHeader(Header(static_cast<std::uint8_t>(version), {{"CODCEN", 'N', 10, 0}, {"LITCEN", 'C', 45, 0}}, 263));
    EXPECT_EQ(layout.version, version);
    ASSERT_EQ(layout.fields.size(), 2u);
    EXPECT_EQ(layout.fields[1].name, "LITCEN");
    EXPECT_EQ(layout.fields[1].offset, 11u);
  }
}

TEST(DbfHeader, MapsStoredTypesToTheProgramsKinds) {
  using dbf::DataType;
  struct Case {
    char type;
    int width;
    int decimals;
    DataType kind;
  } cases[] = {{'C', 5, 0, DataType::ftString},   {'N', 4, 0, DataType::ftSmallint}, {'N', 5, 0, DataType::ftInteger},
               {'N', 9, 0, DataType::ftInteger},  {'N', 10, 0, DataType::ftFloat},   {'N', 6, 2, DataType::ftFloat},
               {'F', 20, 0, DataType::ftFloat},   {'D', 8, 0, DataType::ftDate},      {'L', 1, 0, DataType::ftBoolean},
               {'M', 10, 0, DataType::ftMemo},    {'I', 4, 0, DataType::ftInteger},   {'B', 8, 0, DataType::ftFloat},
               {'Y', 8, 0, DataType::ftFloat},    {'T', 8, 0, DataType::ftDateTime},  {'W', 4, 0, DataType::ftMemo},
               {'X', 3, 0, DataType::ftUnknown}};
  for (const Case& c : cases) {
    EXPECT_EQ(dbf::DataTypeOf(c.type, static_cast<std::uint32_t>(c.width), static_cast<std::uint8_t>(c.decimals)), c.kind)
        << c.type << c.width << "," << c.decimals;
  }
}

TEST(DbfHeader, WideCharacterFieldsKeepTheirHighByte) {
  dbf::Layout layout = dbf::ParseHeader(Header(0xF5, {{"TEXTO", 'C', 44, 1}}));
  EXPECT_EQ(layout.fields[0].length, 300u);
  EXPECT_EQ(layout.fields[0].decimals, 0);
}

TEST(DbfHeader, SkipsVisualFoxProsHiddenNullFlags) {
  auto header = Header(0x30, {{"A", 'C', 2, 0}, {"_NullFlags", '0', 1, 0}, {"B", 'C', 3, 0}});
  dbf::Layout layout = dbf::ParseHeader(header);
  ASSERT_EQ(layout.fields.size(), 2u);
  EXPECT_EQ(layout.fields[1].name, "B");
  EXPECT_EQ(layout.fields[1].offset, 4u);
}

TEST(DbfHeader, RefusesWhatNoWriterMakes) {
  struct Case {
    const char* what;
    std::vector<std::byte> header;
  } cases[] = {
      {"short", Bytes({0x03, 0, 0, 0})},
      {"unknown version", Header(0x42, {{"A", 'C', 1, 0}})},
      {"dBase 7 with descriptors of 32 bytes", Header(0x04, {{"A", 'C', 1, 0}})},
      {"no fields, yet records longer than their flag", WithRecordLength(Header(0x03, {}), 11)},
      {"zero width", Header(0x03, {{"A", 'C', 0, 0}})},
      {"nameless field", Header(0x03, {{"", 'C', 3, 0}})},
  };
  auto tooLong = Header(0x03, {{"A", 'C', 10, 0}});
  tooLong[10] = std::byte{5};
  auto truncated = Header(0x03, {{"A", 'C', 10, 0}});
  truncated.resize(40);
  for (const Case& c : cases) EXPECT_THROW(dbf::ParseHeader(c.header), dbf::DbfFormatError) << c.what;
  EXPECT_THROW(dbf::ParseHeader(tooLong), dbf::DbfFormatError);
  EXPECT_THROW(dbf::ParseHeader(truncated), dbf::DbfFormatError);
}

TEST(DbfHeader, StampingChangesOnlyTheCountAndTheDate) {
  auto header = Header(0x03, {{"A", 'C', 1, 0}}, 5);
  for (std::size_t i = 12; i < 32; ++i) header[i] = std::byte(i);
  auto stamped = header;
  dbf::StampHeader(stamped, 0x01020304, dbf::Date{2026, 12, 10});
  EXPECT_EQ(stamped[1], std::byte{126});
  EXPECT_EQ(stamped[2], std::byte{12});
  EXPECT_EQ(stamped[3], std::byte{10});
  EXPECT_EQ(stamped[4], std::byte{4});
  EXPECT_EQ(stamped[7], std::byte{1});
  EXPECT_TRUE(std::equal(stamped.begin() + 8, stamped.end(), header.begin() + 8));
  EXPECT_EQ(stamped[0], header[0]);
}

TEST(DbfHeader, DatesAreStoredAsYearsSince1900) {
  struct Case {
    dbf::Date date;
    std::vector<std::byte> stored;
  } cases[] = {{{1900, 1, 1}, Bytes({0, 1, 1})},
               {{1999, 12, 31}, Bytes({99, 12, 31})},
               {{2028, 2, 29}, Bytes({128, 2, 29})},  // past 127: the byte is unsigned
               {{2155, 12, 31}, Bytes({255, 12, 31})}};
  for (const Case& c : cases) {
    std::vector<std::byte> written(dbf::kHeaderDateLength);
    dbf::EncodeHeaderDate(written.data(), c.date);
    EXPECT_EQ(written, c.stored) << c.date.year;
    EXPECT_EQ(dbf::DecodeHeaderDate(c.stored.data()), c.date);
  }
}

TEST(DbfHeader, AFoxProHeaderCarriesEachFieldsOffset) {
  std::vector<dbf::FieldSpec> fields = {{"NOMBRE", 'C', 300, 0, false}, {"OBS", 'M', 10, 0, false},
                                        {"ALTA", 'D', 8, 0, false}};
  std::vector<std::byte> header = dbf::BuildHeader(fields, 0x03, dbf::Date{2026, 1, 2}, false);
  std::vector<std::byte> expected = header;
  expected[0] = std::byte{0xF5};
  const unsigned offsets[] = {1, 301, 311};
  for (std::size_t i = 0; i < fields.size(); ++i) {  // bytes 12-15 of each descriptor, little-endian
    expected[32 + 32 * i + 12] = std::byte(offsets[i] & 0xFF);
    expected[32 + 32 * i + 13] = std::byte(offsets[i] >> 8);
  }
  dbf::MarkAsFoxPro2(header, dbf::ParseHeader(header));
  EXPECT_EQ(header, expected);
  dbf::Layout layout = dbf::ParseHeader(header);
  EXPECT_EQ(storage::memo::KindOfVersion(layout.version), storage::memo::Kind::kFoxPro);
  EXPECT_EQ(layout.fields[2].offset, 311u);
}

// ---------------------------------------------------------------------------------------------------------
// Fields

dbf::Field FieldOf(char type, std::uint32_t width, std::uint8_t decimals = 0) {
  return dbf::Field{"F", type, 1, width, decimals, false, dbf::DataTypeOf(type, width, decimals)};
}

dbf::Value Decode(const dbf::Field& field, std::string_view stored) {
  std::vector<std::byte> record(1 + stored.size(), std::byte{' '});
  std::memcpy(record.data() + 1, stored.data(), stored.size());
  return dbf::DecodeField(field, record);
}

TEST(DbfFields, DecodeEveryStoredForm) {
  EXPECT_EQ(Decode(FieldOf('C', 5), "1ESO "), dbf::Value(std::string("1ESO")));
  EXPECT_EQ(Decode(FieldOf('C', 3), "   "), dbf::Value(std::string()));
  EXPECT_EQ(Decode(FieldOf('N', 5), "  -12"), dbf::Value(-12.0));
  EXPECT_EQ(Decode(FieldOf('N', 6, 2), "  2.50"), dbf::Value(2.5));
  EXPECT_EQ(Decode(FieldOf('N', 5), "     "), dbf::Value());
  EXPECT_EQ(Decode(FieldOf('N', 5), std::string(5, '\0')), dbf::Value());
  EXPECT_EQ(Decode(FieldOf('F', 8), "  +1e3  "), dbf::Value(1000.0));
  EXPECT_EQ(Decode(FieldOf('D', 8), "20240229"), dbf::Value(dbf::Date{2024, 2, 29}));
  EXPECT_EQ(Decode(FieldOf('D', 8), "        "), dbf::Value());
  EXPECT_EQ(Decode(FieldOf('D', 8), "00000000"), dbf::Value());
  EXPECT_EQ(Decode(FieldOf('L', 1), "T"), dbf::Value(true));
  EXPECT_EQ(Decode(FieldOf('L', 1), "n"), dbf::Value(false));
  EXPECT_EQ(Decode(FieldOf('L', 1), "?"), dbf::Value());
  EXPECT_EQ(Decode(FieldOf('M', 10), "        12"), dbf::Value(dbf::MemoRef{12}));
  EXPECT_EQ(Decode(FieldOf('M', 10), "          "), dbf::Value());
  EXPECT_EQ(Decode(FieldOf('M', 4), std::string("\x07\0\0\0", 4)), dbf::Value(dbf::MemoRef{7}));
  EXPECT_EQ(Decode(FieldOf('W', 4), std::string("\x09\0\0\0", 4)), dbf::Value(dbf::MemoRef{9}));  // Visual FoxPro's blob
  EXPECT_EQ(Decode(FieldOf('I', 4), std::string("\xFE\xFF\xFF\xFF", 4)), dbf::Value(-2.0));
  EXPECT_EQ(Decode(FieldOf('Y', 8), std::string("\x10\x27\0\0\0\0\0\0", 8)), dbf::Value(1.0));
  double half = 0.5;
  std::string stored(8, '\0');
  std::memcpy(stored.data(), &half, 8);
  EXPECT_EQ(Decode(FieldOf('B', 8), stored), dbf::Value(0.5));
  // Julian day 2460000 is 2023-02-24; 3,723,000 ms is 01:02:03.
  EXPECT_EQ(Decode(FieldOf('T', 8), std::string("\x60\x89\x25\x00\xF8\xCE\x38\x00", 8)),
            dbf::Value(dbf::DateTime{{2023, 2, 24}, 3723000}));
}

TEST(DbfFields, RefuseStoredValuesNoWriterMakes) {
  EXPECT_THROW(Decode(FieldOf('N', 5), "12a  "), dbf::DbfFormatError);
  EXPECT_THROW(Decode(FieldOf('N', 5), "*****"), dbf::DbfFormatError);
  EXPECT_THROW(Decode(FieldOf('D', 8), "20230229"), dbf::DbfFormatError);
  EXPECT_THROW(Decode(FieldOf('D', 8), "2024-1-1"), dbf::DbfFormatError);
  // A type letter no writer uses is a damaged descriptor: never an empty value.
  EXPECT_THROW(Decode(FieldOf('?', 4), "ABCD"), dbf::DbfFormatError);
  EXPECT_THROW(Decode(FieldOf('X', 3), "ABC"), dbf::DbfFormatError);
}

// Visual FoxPro's varchar and varbinary fields and its null flags. The table: V(5) that may be null, C(3)
// that may be null, Q(4), then the hidden _NullFlags 0(1). Its bits, from the lowest: V's length, V's null,
// C's null, Q's length.
std::vector<std::byte> VisualFoxProHeader() {
  auto header = Header(0x32, {{"V", 'V', 5, 0}, {"C", 'C', 3, 0}, {"Q", 'Q', 4, 0}, {"_NullFlags", '0', 1, 0}}, 263);
  auto flags = [&](std::size_t field, int value) { header[32 + 32 * field + 18] = std::byte(value); };
  flags(0, 0x02);
  flags(1, 0x02);
  flags(2, 0x04);
  flags(3, 0x05);
  return header;
}

std::string Zeros(std::size_t count) { return std::string(count, '\0'); }
std::string Stored(std::initializer_list<std::string> fields) {
  std::string record;
  for (const std::string& field : fields) record += field;
  return record;
}

TEST(DbfFields, VarcharsEndWhereTheirLengthByteSaysWhenTheirBitIsSet) {
  dbf::Layout layout = dbf::ParseHeader(VisualFoxProHeader());
  ASSERT_EQ(layout.fields.size(), 3u);
  struct Case {
    const char* what;
    std::string record;  // the fields, after the deletion flag: V(5) C(3) Q(4) flags(1)
    dbf::Value v, c, q;
  } cases[] = {
      {"full values, no bit", Stored({"abcde", "XYZ", "1234", Zeros(1)}), std::string("abcde"), std::string("XYZ"),
       std::string("1234")},
      {"shorter values", Stored({"ab  \x04", "XY ", Zeros(3) + "\x01", "\x09"}), std::string("ab  "), std::string("XY"),
       Zeros(1)},
      {"empty varchars", Stored({Zeros(5), "   ", Zeros(4), "\x09"}), std::string(), std::string(), std::string()},
      {"null varchar and character", Stored({Zeros(5), Zeros(3), "1234", "\x06"}), dbf::Value(), dbf::Value(),
       std::string("1234")},
  };
  for (const Case& c : cases) {
    std::vector<std::byte> record(1 + c.record.size(), std::byte{' '});
    std::memcpy(record.data() + 1, c.record.data(), c.record.size());
    EXPECT_EQ(dbf::DecodeField(layout.fields[0], record), c.v) << c.what;
    EXPECT_EQ(dbf::DecodeField(layout.fields[1], record), c.c) << c.what;
    EXPECT_EQ(dbf::DecodeField(layout.fields[2], record), c.q) << c.what;
  }
  EXPECT_EQ(dbf::DecodeField(layout.fields[0], dbf::BlankRecord(layout)), dbf::Value(std::string("     ")))
      << "a blank record sets no flag";
}

TEST(DbfFields, AVarcharLengthPastItsFieldIsRefused) {
  dbf::Layout layout = dbf::ParseHeader(VisualFoxProHeader());
  std::string stored = Stored({"abcd\x05", "XYZ", "1234", "\x01"});
  std::vector<std::byte> record(1 + stored.size());
  std::memcpy(record.data() + 1, stored.data(), stored.size());
  EXPECT_THROW(dbf::DecodeField(layout.fields[0], record), dbf::DbfFormatError);
}

TEST(DbfHeader, VarcharsWithoutRoomForTheirBitsAreRefusedNamingTheType) {
  struct Case {
    const char* what;
    std::vector<std::byte> header;
  } cases[] = {
      {"no _NullFlags", Header(0x32, {{"V", 'V', 5, 0}})},
      {"varchar in a dBase III table", Header(0x03, {{"V", 'V', 5, 0}, {"_NullFlags", '0', 1, 0}})},
  };
  for (const Case& c : cases) {
    try {
      dbf::ParseHeader(c.header);
      ADD_FAILURE() << c.what << ": read";
    } catch (const dbf::DbfUnreadableError& error) {
      EXPECT_EQ(std::string(error.what()), "el campo V es de tipo V sin indicador de longitud") << c.what;
    }
  }
  // Nine fields that may be null, one byte of flags.
  std::vector<std::tuple<std::string, char, int, int>> nine;
  for (char name = 'A'; name <= 'I'; ++name) nine.emplace_back(std::string(1, name), 'C', 1, 0);
  nine.emplace_back("_NullFlags", '0', 1, 0);
  auto header = Header(0x30, nine);
  for (std::size_t i = 0; i < 9; ++i) header[32 + 32 * i + 18] = std::byte{0x02};
  EXPECT_THROW(dbf::ParseHeader(header), dbf::DbfFormatError);
}

// dBase 7: 68 bytes before 48-byte descriptors (name 0-31, type 32, length 33, decimals 34).
std::vector<std::byte> DBase7Header(std::vector<std::tuple<std::string, char, int, int>> fields) {
  std::size_t length = 68 + 48 * fields.size() + 1;
  std::vector<std::byte> header(length, std::byte{0});
  header[0] = std::byte{0x04};
  header[8] = std::byte(length & 0xFF);
  header[9] = std::byte(length >> 8);
  int recordLength = 1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    auto& [name, type, width, decimals] = fields[i];
    std::memcpy(&header[68 + 48 * i], name.data(), name.size());
    header[68 + 48 * i + 32] = std::byte(type);
    header[68 + 48 * i + 33] = std::byte(width);
    header[68 + 48 * i + 34] = std::byte(decimals);
    recordLength += width;
  }
  header[10] = std::byte(recordLength & 0xFF);
  header[11] = std::byte(recordLength >> 8);
  header[length - 1] = std::byte{0x0D};
  return header;
}

TEST(DbfFields, DBase7BinaryNumbersAreBigEndianWithTheSignFlipped) {
  dbf::Layout layout = dbf::ParseHeader(
      DBase7Header({{"UN_NOMBRE_DE_MAS_DE_DIEZ_LETRAS", 'I', 4, 0}, {"ID", '+', 4, 0}, {"REAL", 'O', 8, 0}}));
  ASSERT_EQ(layout.fields.size(), 3u);
  EXPECT_EQ(layout.fields[0].name, "UN_NOMBRE_DE_MAS_DE_DIEZ_LETRAS");
  EXPECT_EQ(layout.fields[0].dataType, dbf::DataType::ftInteger);
  EXPECT_EQ(layout.fields[2].dataType, dbf::DataType::ftFloat);
  struct Case {
    std::size_t field;
    std::string stored;
    dbf::Value value;
  } cases[] = {
      {0, std::string("\x80\0\0\x2A", 4), 42.0},
      {0, std::string("\x7F\xFF\xFF\xFE", 4), -2.0},
      {0, std::string("\x80\0\0\0", 4), 0.0},
      {0, std::string("\0\0\0\0", 4), dbf::Value()},
      {1, std::string("\x80\0\x01\x00", 4), 256.0},
      {2, std::string("\xBF\xF8\0\0\0\0\0\0", 8), 1.5},    // 1.5 is 3FF8..., its sign bit set
      {2, std::string("\x40\x07\xFF\xFF\xFF\xFF\xFF\xFF", 8), -1.5},  // BFF8... with every bit inverted
      {2, std::string(8, '\0'), dbf::Value()},
  };
  for (const Case& c : cases) {
    const dbf::Field& field = layout.fields[c.field];
    std::vector<std::byte> record(layout.recordLength, std::byte{' '});
    std::memcpy(record.data() + field.offset, c.stored.data(), c.stored.size());
    EXPECT_EQ(dbf::DecodeField(field, record), c.value) << field.name << " " << c.field;
  }
}

TEST(DbfHeader, DBase7TimestampsAreRefusedNamingTheType) {
  EXPECT_THROW(dbf::ParseHeader(DBase7Header({{"CUANDO", '@', 8, 0}})), dbf::DbfUnreadableError);
}

std::string Encoded(const dbf::Field& field, double value) {
  std::vector<std::byte> record(1 + field.length, std::byte{'#'});
  if (!dbf::EncodeNumber(field, value, record)) return "(does not fit)";
  return std::string(reinterpret_cast<const char*>(record.data()) + 1, field.length);
}

TEST(DbfFields, NumbersAreRightJustifiedWithTheFieldsDecimalsOrRefused) {
  EXPECT_EQ(Encoded(FieldOf('N', 9), 12345678), " 12345678");
  EXPECT_EQ(Encoded(FieldOf('N', 9), 999999999), "999999999");
  EXPECT_EQ(Encoded(FieldOf('N', 9), 1000000000), "(does not fit)");
  EXPECT_EQ(Encoded(FieldOf('N', 9), -99999999), "-99999999");
  EXPECT_EQ(Encoded(FieldOf('N', 9), -100000000), "(does not fit)");
  EXPECT_EQ(Encoded(FieldOf('N', 20, 4), 2.5), "              2.5000");
  EXPECT_EQ(Encoded(FieldOf('N', 20, 4), -0.00001), "              0.0000");
  EXPECT_EQ(Encoded(FieldOf('N', 5, 2), 123.4), "(does not fit)");
  EXPECT_EQ(Encoded(FieldOf('N', 4), 2.5), "   2");  // exact halves to even, as the engine rounds
}

TEST(DbfFields, WidthRangesFollowWidthAndDecimals) {
  EXPECT_EQ(dbf::WidthRange(FieldOf('N', 9)), std::make_pair(-99999999.0, 999999999.0));
  EXPECT_EQ(dbf::WidthRange(FieldOf('N', 4)), std::make_pair(-999.0, 9999.0));
  EXPECT_EQ(dbf::WidthRange(FieldOf('N', 20, 4)), std::make_pair(-99999999999999.0, 999999999999999.0));
}

// ---------------------------------------------------------------------------------------------------------
// Memo files

namespace memo = storage::memo;

std::string MemoText(const std::vector<std::byte>& file, std::uint32_t block) {
  return memo::MemoAt(file, block, memo::Kind::kFoxPro).value_or("(unreadable)");
}

TEST(FoxProMemos, OneShortMemoByteByByte) {
  memo::FoxProWriter writer(64);
  EXPECT_EQ(writer.Add("AB"), 8u) << "the first block after the 512-byte header";
  std::vector<std::byte> file = writer.Bytes();
  ASSERT_EQ(file.size(), 512u + 64u);
  EXPECT_EQ(std::vector<std::byte>(file.begin(), file.begin() + 8), Bytes({0, 0, 0, 9, 0, 0, 0, 64}))
      << "next free block, block size, big-endian";
  EXPECT_EQ(std::vector<std::byte>(file.begin() + 512, file.begin() + 522), Bytes({0, 0, 0, 1, 0, 0, 0, 2, 'A', 'B'}))
      << "type 1 (text) and length, big-endian, then the text";
  EXPECT_TRUE(std::all_of(file.begin() + 522, file.end(), [](std::byte b) { return b == std::byte{0}; }));
  EXPECT_TRUE(std::all_of(file.begin() + 8, file.begin() + 512, [](std::byte b) { return b == std::byte{0}; }));
}

TEST(FoxProMemos, EachMemoStartsAtTheBlockAfterThePreviousOne) {
  memo::FoxProWriter writer(64);
  struct Stored {
    std::string text;
    std::uint32_t expectedBlock;
  } memos[] = {{std::string(56, 'x'), 8},         // with its 8-byte header, exactly one block
               {"after a full block", 9},
               {"", 10},                          // empty: still a block of its own
               {std::string(57, 'y'), 11},         // one byte into a second block
               {std::string(300, '\xF1'), 13},     // five blocks
               {std::string("NUL\0inside", 10), 18}};
  for (const Stored& m : memos) EXPECT_EQ(writer.Add(m.text), m.expectedBlock) << m.text.size() << " bytes";
  std::vector<std::byte> file = writer.Bytes();
  EXPECT_EQ(file.size(), 19u * 64u);
  for (const Stored& m : memos) EXPECT_EQ(MemoText(file, m.expectedBlock), m.text) << "block " << m.expectedBlock;
}

TEST(FoxProMemos, AnyBlockSizeReadsBack) {
  // 512 and 64 are what FoxPro writes; 1024 leaves the header shorter than a block, 100 does not divide it.
  for (std::uint16_t blockSize : std::initializer_list<std::uint16_t>{1, 64, 100, 512, 1024, 65535}) {
    SCOPED_TRACE(blockSize);
    memo::FoxProWriter writer(blockSize);
    std::uint32_t first = writer.Add("primera");
    std::uint32_t second = writer.Add(std::string(blockSize, 's'));
    std::uint32_t third = writer.Add("tercera");
    std::vector<std::byte> file = writer.Bytes();
    EXPECT_GE(std::uint64_t{first} * blockSize, 512u) << "clear of the header";
    EXPECT_EQ(file.size() % blockSize, 0u);
    EXPECT_EQ(MemoText(file, first), "primera");
    EXPECT_EQ(MemoText(file, second), std::string(blockSize, 's'));
    EXPECT_EQ(MemoText(file, third), "tercera");
  }
  EXPECT_THROW(memo::FoxProWriter(0), std::invalid_argument);
}

// ---------------------------------------------------------------------------------------------------------
// Numbers as text

TEST(NumbersAsText, GeneralFormatHasFifteenDigitsAndTheUsersSeparator) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {{0, "0"},
               {46010, "46010"},
               {-3, "-3"},
               {2.5, "2,5"},
               {0.1, "0,1"},
               {1.0 / 3, "0,333333333333333"},
               {2.0 / 3, "0,666666666666667"},
               {123456789012345, "123456789012345"},
               {999999999999999, "999999999999999"},
               {1e15, "1E15"},
               {1234567890123456789.0, "1,23456789012346E18"},
               {0.0001, "0,0001"},
               {0.00001, "1E-5"},
               {-0.000012345, "-1,2345E-5"},
               {1e100, "1E100"}};
  for (const Case& c : cases) EXPECT_EQ(storage::FormatGeneral(c.value, ','), c.text) << c.value;
  EXPECT_EQ(storage::FormatGeneral(2.5, '.'), "2.5");
}

TEST(NumbersAsText, WholeNumbersAsTyped) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {{"12", 12},          {"  12", 12},       {"-12", -12},         {"+7", 7},
               {"$FF", 255},        {"0x1f", 31},       {"-$10", -16},        {"$FFFFFFFF", -1},
               {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
               {"", std::nullopt},  {" ", std::nullopt}, {"12 ", std::nullopt}, {"1.5", std::nullopt},
               {"12a", std::nullopt}, {"$", std::nullopt}, {"--1", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(storage::ParseInteger(c.text), c.value) << "'" << c.text << "'";
}

TEST(NumbersAsText, DecimalNumbersAsTypedWithTheUsersSeparator) {
  EXPECT_EQ(storage::ParseFloat("2,5", ','), 2.5);
  EXPECT_EQ(storage::ParseFloat(" -2,5 ", ','), -2.5);
  EXPECT_EQ(storage::ParseFloat("1E3", ','), 1000.0);
  EXPECT_EQ(storage::ParseFloat(",5", ','), 0.5);
  EXPECT_EQ(storage::ParseFloat("2.5", '.'), 2.5);
  EXPECT_EQ(storage::ParseFloat("2.5", ','), std::nullopt);
  EXPECT_EQ(storage::ParseFloat("1.000,5", ','), std::nullopt);
  EXPECT_EQ(storage::ParseFloat("", ','), std::nullopt);
  EXPECT_EQ(storage::ParseFloat("1E", ','), std::nullopt);
}

TEST(NumbersAsText, RoundingTakesExactHalvesToEven) {
  EXPECT_EQ(storage::RoundHalfEven(2.5), 2);
  EXPECT_EQ(storage::RoundHalfEven(3.5), 4);
  EXPECT_EQ(storage::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(storage::RoundHalfEven(4.4), 4);
  EXPECT_EQ(storage::RoundHalfEven(4.6), 5);
}

}  // namespace
