// The user's regional settings, the calendar and the console.
#include <cstring>
#include <string>

#include "platform/win32/host.h"

namespace platform {
namespace {

// The Windows name of a locale named the POSIX way: "es_ES.UTF-8" is "es-ES"; "" is the user's own.
std::wstring WindowsLocaleName(std::string_view name) {
  std::string_view language = name.substr(0, name.find_first_of(".@"));
  std::wstring windowsName;
  for (char c : language) windowsName += c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return windowsName;
}

char DecimalSeparatorOf(const wchar_t* localeName) {
  wchar_t separator[8] = {};
  int length = ::GetLocaleInfoEx(localeName, LOCALE_SDECIMAL, separator, 8);
  if (length != 2 || separator[0] >= 0x80) return '.';  // one ASCII character and its terminator
  return static_cast<char>(separator[0]);
}

}  // namespace

char DecimalSeparatorOfLocale(const char* localeName) {
  if (localeName == nullptr || *localeName == '\0') return UserDecimalSeparator();
  if (std::strcmp(localeName, "C") == 0 || std::strcmp(localeName, "POSIX") == 0) return '.';
  std::wstring name = WindowsLocaleName(localeName);
  if (name.empty()) return '.';
  return DecimalSeparatorOf(name.c_str());
}

char UserDecimalSeparator() { return DecimalSeparatorOf(LOCALE_NAME_USER_DEFAULT); }

util::Date Today() { return Now().date; }

LocalTime Now() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  return LocalTime{util::Date{local.wYear, local.wMonth, local.wDay}, local.wHour, local.wMinute, local.wSecond};
}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  return error != nullptr && error != INVALID_HANDLE_VALUE && ::GetConsoleMode(error, &mode) != 0;
}

}  // namespace platform
