// ASCII text helpers that every layer shares: letter case and trimming, on bytes. Letters outside ASCII are
// left as they are (callers that must fold accented letters do so themselves).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace util {

constexpr char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = ToUpperAscii(c);
  return upper;
}

inline std::string ToLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = ToLowerAscii(c);
  return lower;
}

// Whether two texts are the same but for the case of ASCII letters.
constexpr bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------------------
// Trimming: the text without the characters at its start, its end or both for which `drop` holds.

template <typename Drop>
constexpr std::string_view TrimLeadingIf(std::string_view text, Drop drop) {
  while (!text.empty() && drop(text.front())) text.remove_prefix(1);
  return text;
}

template <typename Drop>
constexpr std::string_view TrimTrailingIf(std::string_view text, Drop drop) {
  while (!text.empty() && drop(text.back())) text.remove_suffix(1);
  return text;
}

template <typename Drop>
constexpr std::string_view TrimIf(std::string_view text, Drop drop) {
  return TrimTrailingIf(TrimLeadingIf(text, drop), drop);
}

constexpr bool IsBlank(char c) { return c == ' '; }
// dBase pads stored text with blanks, and some writers with NULs.
constexpr bool IsBlankOrNul(char c) { return c == ' ' || c == '\0'; }

constexpr std::string_view TrimTrailingBlanks(std::string_view text) { return TrimTrailingIf(text, IsBlank); }
constexpr std::string_view TrimTrailingBlanksAndNuls(std::string_view text) {
  return TrimTrailingIf(text, IsBlankOrNul);
}
constexpr std::string_view TrimBlanks(std::string_view text) { return TrimIf(text, IsBlank); }
constexpr std::string_view TrimBlanksAndNuls(std::string_view text) { return TrimIf(text, IsBlankOrNul); }

}  // namespace util
