// A day of the calendar, as the program passes dates between the system clock, the tables and the user.
#pragma once

namespace util {

struct Date {
  int year = 0;  // full year, e.g. 2026; 0 for no date (a blank date field)
  int month = 0;
  int day = 0;

  constexpr bool IsEmpty() const { return year == 0; }
  bool operator==(const Date&) const = default;
};

}  // namespace util
