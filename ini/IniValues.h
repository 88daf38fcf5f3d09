#pragma once
// The INI engine's typed values as text: integers, floating-point numbers,
// dates and times, read and written in one fixed, locale-free form.
#include <string>
#include <string_view>

// Days since 1899-12-30; the fractional part is the time of day.
using TDateTime = double;

// Signed 32-bit integer: optional leading blanks and sign, then decimal
// digits, or hexadecimal digits after '$' or "0x" (up to 8, taken as two's
// complement).
bool ParseInteger(std::string text, int& result);
// Decimal number with '.' as separator and an optional exponent; blanks
// around it are allowed, "inf" and "nan" are not.
bool ParseFloat(std::string_view text, double& result);
// At most 15 significant digits, the shortest form.
std::string FormatFloat(double value);

// Splits a value into its day number and the milliseconds into that day;
// raises EKavError "Invalid date and time value ..." outside 0001-01-01 to
// 9999-12-31.
void SplitDateTime(TDateTime value, long long& day, long long& msOfDay);
// "YYYY-MM-DD" and "HH:MM:SS".
std::string FormatDay(long long day);
std::string FormatTimeOfDay(long long msOfDay);
// "YYYY-MM-DD" (year 1 to 9999; month and day may have one digit).
bool ParseDate(std::string_view text, TDateTime& result);
// "HH:MM" or "HH:MM:SS" (hours 0 to 23; each part may have one digit).
bool ParseTime(std::string_view text, TDateTime& result);
// A date, a time, or a date and a time separated by blanks.
bool ParseDateTime(std::string_view text, TDateTime& result);
