// The layout arithmetic of the report, without a printer.
#include <gtest/gtest.h>

#include "output/OnePageReport.h"

namespace {

TEST(LayoutTest, ScalingRoundsHalvesToEven) {
  EXPECT_EQ((std::vector<int>{RoundHalfEven(2.5), RoundHalfEven(3.5), RoundHalfEven(-2.5),
                              RoundHalfEven(2.5000001)}),
            (std::vector<int>{2, 4, -2, 3}));
  TReportLayout ez;
  ez.SetPrintableArea(4750, 6250);
  EXPECT_EQ(ez.ScaleX(2), 10);        // 9.5
  EXPECT_EQ(ez.ScaleY(10), 62);       // 62.5
  EXPECT_EQ(ez.ScaleY(30), 188);      // 187.5
  EXPECT_EQ(ez.UnscaleY(15.625), 2);  // 2.5
  EXPECT_EQ(ez.ScaleRect(page::kFrame), (TLayoutRect{138, 444, 4574, 6038}));
  // Centring takes half the text's width, truncated, off before rounding.
  ez.XScale = 2.5;
  EXPECT_EQ(ez.CenteredLeft(500, 201), 1150);
  EXPECT_EQ(ez.CenteredLeft(1, 3), 2);  // 2.5 - 1 = 1.5
  EXPECT_EQ(ez.CenteredLeft(3, 4), 6);  // 7.5 - 2 = 5.5
}

TEST(LayoutTest, RowsStartUnderTheTitleAndMeasuredValuesPushTheNextRowDown) {
  TReportLayout ez;
  ez.SetPrintableArea(5000, 6000);  // 6 device units per layout unit down
  std::vector<TLayoutRect> measured;
  auto lay = [&](const TNameValueList& values, const std::string& title) {
    return LayOutBody(
        ez, values, title, 16, 60, 400, [&](const TLayoutRect& r, const std::string& v) {
          measured.push_back(r);
          return v == "long" ? 288 : v == "half" ? 15 : 96;  // 48, 2.5 and 16 layout units
        });
  };
  const TBodyLayout titled = lay({"Type Number=A", "Custom Description=long", "RPE=R=1"}, "T");
  EXPECT_TRUE(titled.HasTitle);
  ASSERT_EQ(titled.Rows.size(), 3u);
  EXPECT_EQ(titled.Rows[0].NameRect, (TLayoutRect{60, 145, 390, 161}));
  EXPECT_EQ(titled.Rows[0].ValueRect, (TLayoutRect{400, 145, 950, 161}));
  EXPECT_EQ(measured[1], (TLayoutRect{400, 166, 950, 182}));
  EXPECT_EQ(titled.Rows[1].ValueRect, (TLayoutRect{400, 166, 950, 214}));
  EXPECT_EQ(titled.Rows[1].NameRect, (TLayoutRect{60, 166, 390, 182}));  // a name is not measured
  EXPECT_EQ(std::tuple(titled.Rows[2].NameRect.Top, titled.Rows[2].Name, titled.Rows[2].Value),
            std::tuple(219, "RPE", "R=1"));

  const TBodyLayout untitled = lay({"A=half", "B=x"}, "");
  EXPECT_FALSE(untitled.HasTitle);
  EXPECT_EQ(untitled.Rows[0].ValueRect, (TLayoutRect{400, 100, 950, 102}));
  EXPECT_EQ(untitled.Rows[1].NameRect.Top, 107);
}

}  // namespace
