// Catalogue numbers read and prices written in the user's number format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "platform/Locale.h"

namespace {

TEST(LocaleTest, ReadsPlainDecimalNumbersOnlyAndWritesFifteenDigits) {
  double v = 0;
  EXPECT_TRUE(TryStrToFloat(" 1150.5 ", v, '.'));
  EXPECT_DOUBLE_EQ(v, 1150.5);
  EXPECT_TRUE(TryStrToFloat("-2.5", v, '.'));
  EXPECT_DOUBLE_EQ(v, -2.5);
  EXPECT_TRUE(TryStrToFloat("1150,5", v, ','));
  EXPECT_DOUBLE_EQ(v, 1150.5);
  for (const char* bad : {"", " ", "1,200", "$5", "1.2.3", "1e", "abc", "5 5", "12e2", "-2.5E3"})
    EXPECT_FALSE(TryStrToFloat(bad, v, '.')) << bad;
  EXPECT_FALSE(TryStrToFloat("1.5", v, ','));
  EXPECT_FALSE(TryStrToFloat(std::string(400, '9'), v, '.'));  // too large for a double
  // The view only, whatever digits follow it.
  EXPECT_TRUE(TryStrToFloat(std::string_view("123.5").substr(0, 2), v, '.'));
  EXPECT_DOUBLE_EQ(v, 12);
  EXPECT_TRUE(TryStrToFloat(std::string_view("12.55").substr(0, 4), v, '.'));
  EXPECT_DOUBLE_EQ(v, 12.5);
  // Written in the general format with fifteen digits.
  const std::tuple<double, char, const char*> written[] = {
      {1150.5, '.', "1150.5"},   {1150.5, ',', "1150,5"}, {0.1 + 0.2, '.', "0.3"},
      {2300, '.', "2300"},       {1e20, '.', "1E20"},     {0.00002, '.', "0.00002"},
      {0.00001, '.', "0.00001"}, {1e-6, '.', "1E-6"},     {-0.5, '.', "-0.5"}};
  for (const auto& [value, separator, text] : written)
    EXPECT_EQ(FloatToStr(value, separator), text) << text;
}

#ifndef _WIN32
// The separator follows the numeric locale the environment names: a comma
// locale is built for the test, as this machine has none installed.
TEST(LocaleTest, TakesTheSeparatorOfTheUsersLocale) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kav_locale_test";
  std::filesystem::create_directories(folder);
  const std::string locale = (folder / "de_DE.UTF-8").string();
  // localedef's status counts warnings too: what it wrote is what counts.
  (void)std::system(("localedef -i de_DE -f UTF-8 '" + locale + "' 2>/dev/null").c_str());
  if (!std::filesystem::exists(locale + "/LC_NUMERIC")) GTEST_SKIP() << "localedef failed";
  ::setenv("LOCPATH", folder.c_str(), 1);
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(SystemDecimalSeparator(), ',');
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(SystemDecimalSeparator(), '.');
  ::unsetenv("LC_ALL");
  ::unsetenv("LOCPATH");
  std::filesystem::remove_all(folder);
}
#endif

}  // namespace
