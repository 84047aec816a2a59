// The byte and text helpers below every library: byte order, ASCII case and trimming.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/ascii.h"
#include "util/coding.h"

namespace {

// ---------------------------------------------------------------------------------------------------------
// Byte order

template <std::size_t N>
std::array<std::byte, N> Bytes(const std::array<int, N>& values) {
  std::array<std::byte, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) bytes[i] = std::byte(values[i]);
  return bytes;
}

// The two byte orders, each with the bytes it makes of 0x9234 and 0xF2345678.
struct ByteOrder {
  const char* name;
  std::uint16_t (*decode16)(const std::byte*);
  std::uint32_t (*decode32)(const std::byte*);
  void (*encode16)(std::byte*, std::uint16_t);
  void (*encode32)(std::byte*, std::uint32_t);
  std::array<std::byte, 2> two;
  std::array<std::byte, 4> four;
};

TEST(Coding, EachByteOrderPutsTheBytesWhereItSays) {
  const ByteOrder orders[] = {
      {"little-endian", util::DecodeFixed16, util::DecodeFixed32, util::EncodeFixed16, util::EncodeFixed32,
       Bytes<2>({0x34, 0x92}), Bytes<4>({0x78, 0x56, 0x34, 0xF2})},
      {"big-endian", util::DecodeBigEndian16, util::DecodeBigEndian32, util::EncodeBigEndian16,
       util::EncodeBigEndian32, Bytes<2>({0x92, 0x34}), Bytes<4>({0xF2, 0x34, 0x56, 0x78})},
  };
  for (const ByteOrder& order : orders) {
    SCOPED_TRACE(order.name);
    EXPECT_EQ(order.decode16(order.two.data()), 0x9234u);
    EXPECT_EQ(order.decode32(order.four.data()), 0xF2345678u);
    std::array<std::byte, 2> two{};
    std::array<std::byte, 4> four{};
    order.encode16(two.data(), 0x9234);
    order.encode32(four.data(), 0xF2345678);
    EXPECT_EQ(two, order.two);
    EXPECT_EQ(four, order.four);
  }
  auto eight = Bytes<8>({0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0xF1});
  EXPECT_EQ(util::DecodeFixed64(eight.data()), 0xF102030405060708u);
}

TEST(Coding, WritesOnlyItsOwnBytes) {
  std::array<std::byte, 8> bytes;
  bytes.fill(std::byte{0xEE});
  util::EncodeFixed32(bytes.data() + 2, 0);
  util::EncodeBigEndian16(bytes.data() + 6, 0);
  EXPECT_EQ(bytes, Bytes<8>({0xEE, 0xEE, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(util::DecodeFixed16(bytes.data()), 0xEEEEu);
}

// ---------------------------------------------------------------------------------------------------------
// ASCII

TEST(Ascii, CaseChangesOnlyAsciiLetters) {
  // "Ñu é@[`{" in UTF-8 and one byte of Latin-1 (é): only u and nothing else changes.
  std::string text = "\xC3\x91u \xC3\xA9@[`{\xE9";
  EXPECT_EQ(util::ToUpperAscii(text), "\xC3\x91U \xC3\xA9@[`{\xE9");
  EXPECT_EQ(util::ToLowerAscii("ABC xyz \xC3\x91"), "abc xyz \xC3\x91");
  EXPECT_EQ(util::ToUpperAscii('z'), 'Z');
  EXPECT_EQ(util::ToLowerAscii('Z'), 'z');
}

TEST(Ascii, CaseBlindEqualityIgnoresOnlyAsciiCase) {
  EXPECT_TRUE(util::EqualsIgnoreAsciiCase("Codasig", "CODASIG"));
  EXPECT_TRUE(util::EqualsIgnoreAsciiCase("", ""));
  EXPECT_FALSE(util::EqualsIgnoreAsciiCase("CODASIG", "CODASI"));
  EXPECT_FALSE(util::EqualsIgnoreAsciiCase("A_B", "A_b2"));
  EXPECT_FALSE(util::EqualsIgnoreAsciiCase("@", "`"));  // one apart from 'A' and 'a', not letters
  EXPECT_FALSE(util::EqualsIgnoreAsciiCase("\xC3\xB1", "\xC3\x91"));  // ñ and Ñ are not ASCII
}

TEST(Ascii, EachTrimDropsItsOwnCharactersFromItsOwnEnds) {
  using namespace std::string_view_literals;
  using Trim = std::string_view (*)(std::string_view);
  struct Case {
    const char* name;
    Trim trim;
    std::string_view text;
    std::string_view expected;
  } cases[] = {
      {"trailing blanks", util::TrimTrailingBlanks, "  A B  "sv, "  A B"sv},
      {"trailing blanks stop at a NUL", util::TrimTrailingBlanks, "A\0 \0 "sv, "A\0 \0"sv},
      {"trailing blanks and NULs", util::TrimTrailingBlanksAndNuls, " A\0 \0 "sv, " A"sv},
      {"blanks at both ends", util::TrimBlanks, "  A B  "sv, "A B"sv},
      {"blanks at both ends stop at a NUL", util::TrimBlanks, " \0A \0 "sv, "\0A \0"sv},
      {"blanks and NULs at both ends", util::TrimBlanksAndNuls, " \0A \0B\0 "sv, "A \0B"sv},
      {"all blank", util::TrimBlanks, "   "sv, ""sv},
      {"all NUL", util::TrimTrailingBlanksAndNuls, "\0\0"sv, ""sv},
      {"empty", util::TrimBlanksAndNuls, ""sv, ""sv},
  };
  for (const Case& c : cases) EXPECT_EQ(c.trim(c.text), c.expected) << c.name;
}

TEST(Ascii, TrimmingByAPredicateKeepsTheMiddle) {
  auto tab = [](char c) { return c == '\t'; };
  EXPECT_EQ(util::TrimLeadingIf("\t\tx\t", tab), "x\t");
  EXPECT_EQ(util::TrimTrailingIf("\t\tx\t", tab), "\t\tx");
  EXPECT_EQ(util::TrimIf("\tx\ty\t", tab), "x\ty");
}

}  // namespace
