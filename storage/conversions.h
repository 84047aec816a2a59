// Inside the storage library: numbers to and from text as the program's users write and read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace storage {

// General format: up to 15 significant digits, no thousands separator, `separator` as decimal separator,
// no decimals for whole values, exponent form beyond 15 integer digits or below 0.0001 ("1E15", "1E-5").
std::string FormatGeneral(double value, char separator);

// A whole number as typed: leading blanks, a sign, decimal digits or "$"/"0x" and hexadecimal digits,
// nothing after them; within the 32-bit range (hexadecimal up to FFFFFFFF, taken as its 32-bit pattern).
std::optional<std::int32_t> ParseInteger(std::string_view text);

// A decimal number as typed with `separator`: blanks around it, a sign, digits, an exponent.
std::optional<double> ParseFloat(std::string_view text, char separator);

// The nearest whole number, exact halves to the even neighbour.
double RoundHalfEven(double value);

}  // namespace storage
