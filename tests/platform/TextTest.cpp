// 8-bit text: case folding, Windows-1252 conversion and name/value lists.
#include <gtest/gtest.h>

#include "platform/Cp1252.h"
#include "platform/Error.h"
#include "platform/NameValueList.h"
#include "platform/Text1252.h"
#include "platform/Utf8.h"

namespace {

TEST(TextTest, Windows1252CaseFoldingAndRoundTrips) {
  EXPECT_TRUE(ansi::SameText("Radome_\xC0tZ\xDE", "RADOME_\xE0Tz\xFE"));  // first and last capitals
  EXPECT_TRUE(ansi::SameText("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"));
  EXPECT_FALSE(ansi::SameText("\xD7", "\xF7"));  // multiplication and division signs
  EXPECT_FALSE(ansi::SameText("ab", "abc"));
  EXPECT_LT(ansi::CompareText("alpha", "ALPHB"), 0);
  EXPECT_LT(ansi::CompareText(std::string_view("abz", 2), "abc"), 0);  // the shorter first
  EXPECT_EQ(ansi::UpperCase("ahp2-23z\xE0\xF7\xFE"), "AHP2-23Z\xC0\xF7\xDE");
  EXPECT_EQ(ansi::Trim(" \t\x01 a b \r"), "a b");
  std::string all;
  for (int c = 1; c < 256; ++c)
    all += static_cast<char>(c);
  EXPECT_EQ(AnsiFromUtf16(Utf16FromAnsi(all)), all);
  EXPECT_EQ(Utf16FromAnsi("\x80\x99\xE9\x81"), u"\u20AC\u2122\u00E9\u0081");
  EXPECT_EQ(AnsiFromUtf16(u"\u4E2D\u0080"), "??");
  // A metafile's UTF-16LE: surrogate pairs joined, a half alone U+FFFD.
  const std::u16string wide = u"\xD800\xDC00\xDBFF\xDFFF\x61\xDC00\xDFFF\xD800\xE000\xD800";
  const char* bytes = reinterpret_cast<const char*>(wide.data());
  EXPECT_EQ(Utf8FromUtf16Le(bytes, wide.size()),
            "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\x61\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEE\x80\x80"
            "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8FromUtf16Le(bytes, 1), "\xEF\xBF\xBD");      // a pair cut in two
  EXPECT_EQ(Utf8FromUtf16Le(bytes, 2), "\xF0\x90\x80\x80");  // a pair that ends the text
}

TEST(TextTest, NameValueListSetsReplacesAndRemoves) {
  TNameValueList list;
  list.SetValue("PartNum", "HP*");
  list.SetValue("Freq", "6 GHz");
  list.SetValue("PARTNUM", "SP*");
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"PARTNUM=SP*", "Freq=6 GHz"}));
  EXPECT_EQ(list.Value("partnum"), "SP*");
  list.SetValue("partnum", "");
  EXPECT_EQ(list.Text(), "Freq=6 GHz\r\n");
  list.Add("no equals sign");
  EXPECT_EQ(list.Name(1) + list.Value(""), "");  // no name, and no value under the empty one
  list.Add("=x=y");
  EXPECT_EQ(list.Value(""), "x=y");
  EXPECT_THROW(list[3], EKavError);  // one past the last
}

}  // namespace
