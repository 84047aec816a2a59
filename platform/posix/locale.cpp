// The user's regional settings, the calendar and the terminal.
#include <langinfo.h>
#include <unistd.h>
#include <locale.h>

#include <cstring>
#include <ctime>

#include "platform/platform.h"

namespace platform {

char DecimalSeparatorOfLocale(const char* localeName) {
  locale_t numeric = ::newlocale(LC_NUMERIC_MASK, localeName, static_cast<locale_t>(nullptr));
  if (numeric == static_cast<locale_t>(nullptr)) return '.';
  const char* radix = ::nl_langinfo_l(RADIXCHAR, numeric);
  char separator = (radix && std::strlen(radix) == 1) ? radix[0] : '.';
  ::freelocale(numeric);
  return separator;
}

char UserDecimalSeparator() { return DecimalSeparatorOfLocale(""); }

util::Date Today() { return Now().date; }

LocalTime Now() {
  std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  return LocalTime{util::Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min,
                   local.tm_sec};
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace platform
