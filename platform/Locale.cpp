#include "platform/Locale.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

#include <charconv>
#include <cmath>
#include <string>

namespace {

char& Separator() {
  static char separator = SystemDecimalSeparator();
  return separator;
}

bool IsBlank(char c) {
  return c == ' ';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

char SystemDecimalSeparator() {
#ifdef _WIN32
  wchar_t point[8] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, point, 8) == 2 &&
      point[0] < 0x80)
    return static_cast<char>(point[0]);
  return '.';
#else
  // The user's numeric locale as the environment names it (LC_ALL,
  // LC_NUMERIC, LANG), without changing the process's own locale.
  const locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return '.';
  const char* point = ::nl_langinfo_l(RADIXCHAR, user);
  const char separator = point != nullptr && point[0] != '\0' && point[1] == '\0' &&
                                 static_cast<unsigned char>(point[0]) < 0x80
                             ? point[0]
                             : '.';
  ::freelocale(user);
  return separator;
#endif
}

char DecimalSeparator() {
  return Separator();
}
void SetDecimalSeparator(char separator) {
  Separator() = separator;
}

bool TryStrToFloat(std::string_view text, double& value, char separator) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i]))
    ++i;
  while (n > i && IsBlank(text[n - 1]))
    --n;
  // The number rewritten with a point and read by from_chars, which follows
  // no locale: the window, whose toolkit sets the process's locale, reads
  // what the tool reads.
  std::string plain;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  bool digits = false;
  while (i < n && IsDigit(text[i]))
    plain += text[i++], digits = true;
  if (i < n && text[i] == separator) {
    plain += '.';
    ++i;
    while (i < n && IsDigit(text[i]))
      plain += text[i++], digits = true;
  }
  if (!digits) return false;
  if (i != n) return false;
  double parsed = 0;
  const auto [end, error] =
      std::from_chars(plain.data(), plain.data() + plain.size(), parsed, std::chars_format::fixed);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

bool TryStrToPrice(std::string_view text, double& value) {
  return TryStrToFloat(text, value) || TryStrToFloat(text, value, '.');
}

std::string FloatToStr(double value, char separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  // to_chars follows no locale, unlike printf: one set of digits everywhere.
  char buffer[64];
  const double magnitude = std::fabs(value);
  std::string text;
  if (magnitude != 0 && magnitude >= 1e-5 && magnitude < 1e-4) {
    // Fixed notation down to 0.00001, as the general format has it.
    text.assign(
        buffer,
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 19).ptr);
    // Keep 15 significant digits: the first is at the fifth decimal place.
    text.resize(text.find('.') + 1 + 4 + 15);
    while (text.back() == '0')
      text.pop_back();
  } else {
    text.assign(
        buffer,
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr);
    // "1.5e+20" -> "1.5E20", "1e-07" -> "1E-7"
    const size_t e = text.find('e');
    if (e != std::string::npos) {
      const std::string mantissa = text.substr(0, e);
      const std::string exponent = text.substr(e + 1);
      const std::string sign = exponent[0] == '-' ? "-" : "";
      const size_t digit = exponent.find_first_not_of("+-0");
      text = mantissa + "E" + sign + (digit == std::string::npos ? "0" : exponent.substr(digit));
    }
  }
  for (char& c : text)
    if (c == '.') c = separator;
  return text;
}
