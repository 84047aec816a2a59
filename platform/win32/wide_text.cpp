// Text between the program (UTF-8) and the system's wide-character calls (UTF-16).
#include "platform/wide_text.h"

#include <limits>

#include <windows.h>

#include "platform/platform.h"

namespace platform {
namespace {

int LengthOf(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) throw FileError(kFilenameTooLong);
  return static_cast<int>(size);
}

}  // namespace

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  int length = LengthOf(text.size());
  int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed <= 0) throw FileError(kInvalidName);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  int length = LengthOf(text.size());
  int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

}  // namespace platform
