// Catalogue numbers read and prices written in the user's number format.
#include <gtest/gtest.h>

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
  EXPECT_TRUE(TryStrToFloat(std::string_view("12.5").substr(0, 2), v, '.'));  // the view only
  EXPECT_DOUBLE_EQ(v, 12);
  // Written in the general format with fifteen digits.
  EXPECT_EQ(FloatToStr(1150.5, '.'), "1150.5");
  EXPECT_EQ(FloatToStr(1150.5, ','), "1150,5");
  EXPECT_EQ(FloatToStr(0.1 + 0.2, '.'), "0.3");
  EXPECT_EQ(FloatToStr(2300, '.'), "2300");
  EXPECT_EQ(FloatToStr(1e20, '.'), "1E20");
  EXPECT_EQ(FloatToStr(0.00002, '.'), "0.00002");
  EXPECT_EQ(FloatToStr(1e-6, '.'), "1E-6");
  EXPECT_EQ(FloatToStr(-0.5, '.'), "-0.5");
}

}  // namespace
