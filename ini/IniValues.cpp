#include "ini/IniValues.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "platform/Error.h"
#include "platform/Text1252.h"

namespace {

constexpr long long kMsPerDay = 86400000;
constexpr long long kUnixEpochDay = 25569;  // 1970-01-01 counted from 1899-12-30
constexpr long long kFirstDay = -693593;    // 0001-01-01
constexpr long long kLastDay = 2958465;     // 9999-12-31

TDateTime Combine(TDateTime date, TDateTime time) {
  return date < 0 ? date - time : date + time;
}

std::string TwoDigits(long long n) {
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// Reads 1 to maxDigits decimal digits at pos.
bool TakeNumber(std::string_view text, size_t& pos, size_t maxDigits, int& number) {
  const size_t start = pos;
  number = 0;
  while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9')
    number = number * 10 + (text[pos++] - '0');
  return pos > start;
}

bool TakeChar(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

// Signed 32-bit integer: optional leading blanks and sign, then decimal
// digits, or hexadecimal digits after '$' (up to 8, taken as two's complement).
bool ParseInteger(std::string text, int& result) {
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.replace(0, 2, "$");
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ')
    ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const bool hex = pos < text.size() && text[pos] == '$';
  if (hex) ++pos;
  if (pos == text.size()) return false;

  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (value > limit) return false;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  result = static_cast<int>(static_cast<std::int32_t>(bits));
  return true;
}

// Decimal number with '.' as separator and an optional exponent; blanks
// around it are allowed, "inf" and "nan" are not.
bool ParseFloat(std::string_view text, double& result) {
  text = ansi::Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return false;
  double value = 0;
  const auto [end, err] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (err != std::errc() || end != text.data() + text.size()) return false;
  result = negative ? -value : value;
  return true;
}

std::string FormatFloat(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr);
}

// Splits a value into its day number and the milliseconds into that day. The
// day is the integral part and the time the magnitude of the fractional part,
// so values before 1899-12-30 count their time forward from midnight too.
void SplitDateTime(TDateTime value, long long& day, long long& msOfDay) {
  if (!(std::isfinite(value) && value > kFirstDay - 1.0 && value < kLastDay + 1.0))
    throw EKavError("Invalid date and time value " + FormatFloat(value));
  const double whole = std::trunc(value);
  day = static_cast<long long>(whole);
  msOfDay = std::llround(std::fabs(value - whole) * kMsPerDay);
  if (msOfDay >= kMsPerDay) {
    msOfDay -= kMsPerDay;
    day += value < 0 ? -1 : 1;
  }
  if (day < kFirstDay || day > kLastDay)
    throw EKavError("Invalid date and time value " + FormatFloat(value));
}

std::string FormatDay(long long day) {
  using namespace std::chrono;
  const year_month_day ymd{sys_days{days{day - kUnixEpochDay}}};
  const int y = static_cast<int>(ymd.year());
  return TwoDigits(y / 100) + TwoDigits(y % 100) + "-" +
         TwoDigits(static_cast<unsigned>(ymd.month())) + "-" +
         TwoDigits(static_cast<unsigned>(ymd.day()));
}

std::string FormatTimeOfDay(long long msOfDay) {
  const long long seconds = msOfDay / 1000;
  return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
         TwoDigits(seconds % 60);
}

// "YYYY-MM-DD" (year 1 to 9999; month and day may have one digit).
bool ParseDate(std::string_view text, TDateTime& result) {
  size_t pos = 0;
  int y, m, d;
  if (!TakeNumber(text, pos, 4, y) || !TakeChar(text, pos, '-') || !TakeNumber(text, pos, 2, m) ||
      !TakeChar(text, pos, '-') || !TakeNumber(text, pos, 2, d) || pos != text.size() || y < 1)
    return false;
  using namespace std::chrono;
  const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!ymd.ok()) return false;
  result = static_cast<TDateTime>(sys_days{ymd}.time_since_epoch().count() + kUnixEpochDay);
  return true;
}

// "HH:MM" or "HH:MM:SS" (hours 0 to 23; each part may have one digit).
bool ParseTime(std::string_view text, TDateTime& result) {
  size_t pos = 0;
  int h, m, s = 0;
  if (!TakeNumber(text, pos, 2, h) || !TakeChar(text, pos, ':') || !TakeNumber(text, pos, 2, m))
    return false;
  if (TakeChar(text, pos, ':') && !TakeNumber(text, pos, 2, s)) return false;
  if (pos != text.size() || h > 23 || m > 59 || s > 59) return false;
  result = static_cast<TDateTime>(h * 3600 + m * 60 + s) / 86400.0;
  return true;
}

// A date, a time, or a date and a time separated by blanks.
bool ParseDateTime(std::string_view text, TDateTime& result) {
  text = ansi::Trim(text);
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return ParseDate(text, result) || ParseTime(text, result);
  TDateTime date, time;
  if (!ParseDate(text.substr(0, blank), date) || !ParseTime(ansi::Trim(text.substr(blank)), time))
    return false;
  result = Combine(date, time);
  return true;
}
