// The single-byte code pages that dBase tables are written in, and the conversion of their text to and
// from the program's UTF-8. No file access.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace storage {

struct CodePageTable;

class CodePage {
 public:
  // The code page that a table's language-driver byte names; 0 and unknown drivers give cp1252.
  static const CodePage& ForLanguageDriver(std::uint8_t driver);
  // A supported code page by its name (iconv's: "CP850", "MACINTOSH"); std::invalid_argument for another.
  static const CodePage& Named(std::string_view name);
  // The names of the supported code pages.
  static std::vector<std::string> SupportedNames();

  const std::string& Name() const { return name_; }

  // Stored bytes -> UTF-8. Every byte gives one character; a byte the code page leaves undefined gives the
  // character of the same number, so that it converts back to itself.
  std::string Decode(std::string_view bytes) const;
  // UTF-8 -> stored bytes, one byte per character; a character the code page lacks, or a malformed UTF-8
  // sequence, becomes "?".
  std::string Encode(std::string_view text) const;

 private:
  explicit CodePage(const CodePageTable& table);
  std::string DecodeBeyondAscii(std::string_view bytes) const;  // Decode of a text with a byte from 0x80 up

  std::string name_;
  std::array<std::string, 256> toUtf8_;
  std::unordered_map<char32_t, char> fromUnicode_;
};

// Whether every byte of a text is below 0x80: such text is the same in UTF-8 and in every code page here.
// Eight bytes at a time, the last eight (or four) read where they overlap those before.
inline bool IsAscii(std::string_view text) {
  auto word = [&](std::size_t at, auto width) {
    decltype(width) bytes = 0;
    std::memcpy(&bytes, text.data() + at, sizeof bytes);
    return std::uint64_t{bytes};
  };
  std::size_t size = text.size();
  std::uint64_t highBits = 0;
  if (size >= 8) {
    for (std::size_t at = 0; at + 8 < size; at += 8) highBits |= word(at, std::uint64_t{});
    highBits |= word(size - 8, std::uint64_t{});
  } else if (size >= 4) {
    highBits = word(0, std::uint32_t{}) | word(size - 4, std::uint32_t{});
  } else {
    for (char c : text) highBits |= static_cast<unsigned char>(c);
  }
  return (highBits & 0x8080808080808080ull) == 0;
}

inline std::string CodePage::Decode(std::string_view bytes) const {
  if (IsAscii(bytes)) return std::string(bytes);  // the same in every code page here
  return DecodeBeyondAscii(bytes);
}

// The number of characters in a UTF-8 text, and its first `count` characters.
std::size_t CharacterCount(std::string_view utf8);
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

}  // namespace storage
