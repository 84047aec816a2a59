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

  std::string name_;
  std::array<std::string, 256> toUtf8_;
  std::unordered_map<char32_t, char> fromUnicode_;
};

// Whether every byte of a text is below 0x80: such text is the same in UTF-8 and in every code page here.
inline bool IsAscii(std::string_view text) {
  const char* at = text.data();
  std::size_t left = text.size();
  std::uint64_t highBits = 0;
  for (; left >= 8; at += 8, left -= 8) {  // eight bytes at a time
    std::uint64_t word = 0;
    std::memcpy(&word, at, 8);
    highBits |= word;
  }
  for (; left > 0; ++at, --left) highBits |= static_cast<unsigned char>(*at);
  return (highBits & 0x8080808080808080ull) == 0;
}

// The number of characters in a UTF-8 text, and its first `count` characters.
std::size_t CharacterCount(std::string_view utf8);
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

}  // namespace storage
