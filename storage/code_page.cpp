#include "storage/code_page.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "storage/code_page_tables.h"

namespace storage {
namespace {

// Language-driver byte -> the code page's name.
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

}  // namespace

CodePage::CodePage(const CodePageTable& table) : name_(table.name) {
  for (int byte = 0; byte < 256; ++byte) {
    std::string text;
    AppendUtf8(text, table.characters[byte]);
    toUtf8_[byte] = std::move(text);
  }
  // Filled from the top down, so that a character two bytes share converts back to the lower byte.
  for (int byte = 255; byte >= 0; --byte) fromUnicode_[table.characters[byte]] = static_cast<char>(byte);
}

const CodePage& CodePage::Named(std::string_view name) {
  // Each page built on first use, thread-safely, and immutable afterwards: a run needs one or two of them.
  static std::array<std::once_flag, std::tuple_size_v<decltype(kCodePageTables)>> built;
  static std::array<std::unique_ptr<const CodePage>, std::tuple_size_v<decltype(kCodePageTables)>> pages;
  for (std::size_t i = 0; i < kCodePageTables.size(); ++i) {
    if (kCodePageTables[i].name != name) continue;
    std::call_once(built[i], [i] { pages[i].reset(new CodePage(kCodePageTables[i])); });
    return *pages[i];
  }
  throw std::invalid_argument("unknown code page " + std::string(name));
}

std::vector<std::string> CodePage::SupportedNames() {
  std::vector<std::string> names;
  for (const CodePageTable& table : kCodePageTables) names.emplace_back(table.name);
  return names;
}

const CodePage& CodePage::ForLanguageDriver(std::uint8_t driver) {
  // Looked up once per driver byte, on first use (a pointer is set atomically to the same page by whoever
  // looks first).
  static std::array<std::atomic<const CodePage*>, 256> byDriver{};
  const CodePage* page = byDriver[driver].load(std::memory_order_acquire);
  if (page == nullptr) {
    page = &Named(CodePageOfDriver(driver));
    byDriver[driver].store(page, std::memory_order_release);
  }
  return *page;
}

std::string CodePage::DecodeBeyondAscii(std::string_view bytes) const {
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
  if (IsAscii(text)) return std::string(text);
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
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {  // one byte, one character
      ++i;
      continue;
    }
    char32_t c = 0;
    NextCharacter(utf8, i, c);
  }
  return utf8.substr(0, i);
}

}  // namespace storage
