#include "storage/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "util/ascii.h"

namespace storage {
namespace {

constexpr int kPrecision = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// What the user may type around a number.
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// A number of an optional sign and up to 15 digits, converted exactly (every such number is a double), as
// the general parsing below converts it; nothing for any other text.
std::optional<double> PlainWholeNumber(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty() || text.size() > 15) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -static_cast<double>(value) : static_cast<double>(value);
}

}  // namespace

std::string FormatGeneral(double value, char separator) {
  if (value == 0 || !std::isfinite(value)) return std::isnan(value) ? "NAN" : value == 0 ? "0" : value > 0 ? "INF" : "-INF";
  // d.dddddddddddddde±x, rounded to 15 significant digits.
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                                    kPrecision - 1);
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  std::size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (IsDigit(c)) digits += c;
  }
  int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result = value < 0 ? "-" : "";
  int integerDigits = exponent + 1;
  if (integerDigits > kPrecision || integerDigits < -3) {
    result += digits[0];
    if (digits.size() > 1) result += separator + digits.substr(1);
    result += 'E';
    if (exponent < 0) result += '-';
    result += std::to_string(std::abs(exponent));
  } else if (integerDigits <= 0) {
    result += '0';
    result += separator;
    result += std::string(static_cast<std::size_t>(-integerDigits), '0') + digits;
  } else {
    auto whole = static_cast<std::size_t>(integerDigits);
    if (digits.size() <= whole) {
      result += digits + std::string(whole - digits.size(), '0');
    } else {
      result += digits.substr(0, whole) + separator + digits.substr(whole);
    }
  }
  return result;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  text = util::TrimLeadingIf(text, IsBlankOrTab);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hexadecimal = false;
  if (!text.empty() && text.front() == '$') {
    hexadecimal = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hexadecimal = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    int digit = hexadecimal ? HexDigit(c) : (IsDigit(c) ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * (hexadecimal ? 16 : 10) + digit;
    if (value > (hexadecimal ? 0xFFFFFFFFLL : 2147483648LL)) return std::nullopt;
  }
  if (hexadecimal) value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<double> ParseFloat(std::string_view text, char separator) {
  text = util::TrimIf(text, IsBlankOrTab);
  if (auto whole = PlainWholeNumber(text)) return *whole;
  std::string plain;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) plain += text[i++], digits = true;
  if (i < text.size() && text[i] == separator) {
    plain += '.';
    ++i;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    bool exponentDigits = false;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], exponentDigits = true;
    if (!exponentDigits) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  std::string_view number = plain;
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

}  // namespace storage
