#include "storage/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace storage {
namespace {

// Language-driver byte -> iconv's name of the code page.
const char* CodePageOfDriver(std::uint8_t driver) {
  switch (driver) {
    case 0x01: return "CP437";
    case 0x02: return "CP850";
    case 0x04: return "MACINTOSH";
    case 0x64: return "CP852";
    case 0x26:
    case 0x65: return "CP866";
    case 0x66: return "CP865";
    case 0x67: return "CP861";
    case 0x6A: return "CP737";
    case 0x6B: return "CP857";
    case 0xC8: return "CP1250";
    case 0xC9: return "CP1251";
    case 0xCA: return "CP1254";
    case 0xCB: return "CP1253";
    default: return "CP1252";  // 0x03, 0x57, 0 (unknown) and anything else
  }
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the UTF-8 sequence that starts with `lead`, 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 0;
}

// Decodes the UTF-8 sequence at text[i]; false for a malformed one. Advances i past what it used.
bool NextCharacter(std::string_view text, std::size_t& i, char32_t& c) {
  auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = SequenceLength(lead);
  if (length == 0 || i + length > text.size()) {
    ++i;
    return false;
  }
  c = length == 1 ? lead : static_cast<char32_t>(lead & (0x7F >> length));
  for (std::size_t k = 1; k < length; ++k) {
    auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    c = (c << 6) | (next & 0x3F);
  }
  i += length;
  return true;
}

// The UTF-8 text of one byte in a code page, or empty when the code page does not define it.
std::string ConvertByte(iconv_t converter, unsigned char byte) {
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

}  // namespace

CodePage::CodePage(const char* iconvName) : name_(iconvName) {
  iconv_t converter = ::iconv_open("UTF-8", iconvName);
  for (int byte = 0; byte < 256; ++byte) {
    std::string text;
    if (converter != reinterpret_cast<iconv_t>(-1)) text = ConvertByte(converter, static_cast<unsigned char>(byte));
    if (text.empty() || byte < 0x20) {
      text.clear();
      AppendUtf8(text, static_cast<char32_t>(byte));
    }
    toUtf8_[byte] = text;
  }
  if (converter != reinterpret_cast<iconv_t>(-1)) ::iconv_close(converter);
  // Filled from the top down, so that a character two bytes share converts back to the lower byte.
  for (int byte = 255; byte >= 0; --byte) {
    std::size_t i = 0;
    char32_t c = 0;
    if (NextCharacter(toUtf8_[byte], i, c)) fromUnicode_[c] = static_cast<char>(byte);
  }
}

const CodePage& CodePage::Named(const char* iconvName) {
  // Code pages are immutable once built; they are built once per process, on first use.
  static std::mutex guard;
  static std::map<std::string, std::unique_ptr<CodePage>> pages;
  std::lock_guard lock(guard);
  auto& page = pages[iconvName];
  if (!page) page.reset(new CodePage(iconvName));
  return *page;
}

const CodePage& CodePage::ForLanguageDriver(std::uint8_t driver) { return Named(CodePageOfDriver(driver)); }

namespace {

bool AllAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string CodePage::Decode(std::string_view bytes) const {
  if (AllAscii(bytes)) return std::string(bytes);  // the same in every code page here
  std::string text;
  text.reserve(bytes.size());
  for (char byte : bytes) {
    auto u = static_cast<unsigned char>(byte);
    if (u < 0x80) {
      text += byte;
    } else {
      text += toUtf8_[u];
    }
  }
  return text;
}

std::string CodePage::Encode(std::string_view text) const {
  if (AllAscii(text)) return std::string(text);
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {  // every code page here keeps ASCII as it is
      bytes += text[i++];
      continue;
    }
    char32_t c = 0;
    if (!NextCharacter(text, i, c)) {
      bytes += '?';
      continue;
    }
    auto found = fromUnicode_.find(c);
    bytes += found == fromUnicode_.end() ? '?' : found->second;
  }
  return bytes;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); ++count) {
    char32_t c = 0;
    NextCharacter(utf8, i, c);
  }
  return count;
}

std::string_view FirstCharacters(std::string_view utf8, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t taken = 0; taken < count && i < utf8.size(); ++taken) {
    char32_t c = 0;
    NextCharacter(utf8, i, c);
  }
  return utf8.substr(0, i);
}

}  // namespace storage
