// Parsing and comparing Windows paths; no access to any file system.
#include <algorithm>

#include "platform/platform.h"
#include "util/ascii.h"

namespace platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasInvalidCharacter(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    auto u = static_cast<unsigned char>(c);
    return u < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' || c == ':';
  });
}

// Windows drops trailing dots and blanks of a name ("FILE. " is "FILE"), except for "." and "..".
std::string_view TrimName(std::string_view name) {
  if (name == "." || name == "..") return name;
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  return name;
}

// Applies the names of `relative` (separated by "\" or "/") to `base`.
WindowsPath Walk(WindowsPath base, std::string_view relative) {
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = start;
    while (end < relative.size() && !IsSeparator(relative[end])) ++end;
    std::string_view name = TrimName(relative.substr(start, end - start));
    if (name == "..") {
      if (!base.names.empty()) base.names.pop_back();
    } else if (!name.empty() && name != ".") {
      if (HasInvalidCharacter(name)) throw FileError(kInvalidName);
      base.names.emplace_back(name);
    }
    start = end + 1;
  }
  return base;
}

// Unicode code point of the UTF-8 sequence at `text[i]`, advancing `i`; a malformed byte stands for itself.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length <= 1 || i + length > text.size()) {
    ++i;
    return lead;
  }
  char32_t cp = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return lead;
    }
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  i += length;
  return cp;
}

// Lower case of the letters whose case Windows ignores in names: ASCII, Latin-1 and Latin Extended-A.
char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x137 && c != 0x130 && (c % 2 == 0)) return c + 1;
  if (c >= 0x139 && c <= 0x148 && (c % 2 == 1)) return c + 1;
  if (c >= 0x14A && c <= 0x177 && (c % 2 == 0)) return c + 1;
  if (c >= 0x179 && c <= 0x17E && (c % 2 == 1)) return c + 1;
  return c;
}

}  // namespace

std::string WindowsPath::Text() const {
  std::string text{drive, ':', '\\'};
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += '\\';
    text += names[i];
  }
  return text;
}

WindowsPath WindowsPath::Parent() const {
  WindowsPath parent = *this;
  if (!parent.names.empty()) parent.names.pop_back();
  return parent;
}

WindowsPath WindowsPath::Child(std::string_view name) const {
  WindowsPath child = *this;
  child.names.emplace_back(name);
  return child;
}

WindowsPath FullPath(std::string_view path) {
  if (path.empty()) throw FileError(kPathNotFound);
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) throw FileError(kPathNotFound);
  if (path.size() >= 2 && path[1] == ':') {
    if (!IsDriveLetter(path[0])) throw FileError(kInvalidName);
    char drive = util::ToUpperAscii(path[0]);
    std::string_view rest = path.substr(2);
    if (!rest.empty() && IsSeparator(rest[0])) return Walk(WindowsPath{drive, {}}, rest);
    return Walk(FullPath(CurrentFolderOfDrive(drive)), rest);
  }
  WindowsPath current = FullPath(CurrentFolder());
  if (IsSeparator(path[0])) return Walk(WindowsPath{current.drive, {}}, path);
  return Walk(current, path);
}

std::string_view FileNamePart(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::u32string FoldedName(std::string_view name) {
  std::u32string folded;
  folded.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) folded += FoldCase(NextCodePoint(name, i));
  return folded;
}

bool SameName(std::string_view a, std::string_view b) { return FoldedName(a) == FoldedName(b); }

}  // namespace platform
