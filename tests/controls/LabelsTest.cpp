// The framed label, the hyperlink label's mouse handling and the About box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "FakeUi.h"
#include "controls/AboutBox.h"
#include "controls/FramedLabel.h"
#include "controls/LinkLabel.h"
#include "platform/ReleaseVersion.h"

namespace {

TEST(FramedLabelTest, DrawsBorderWidthRingsInTheTwoColours) {
  TFramedLabel label("x");
  label.resize(40, 20);
  EXPECT_EQ(
      std::tuple(label.alignment(), label.TopColor(), label.BottomColor(), label.BorderWidth()),
      std::tuple(Qt::Alignment(Qt::AlignCenter), QColor(Qt::white), QColor(Qt::white), 1));

  const QRgb top = qRgb(0xFF, 0, 0), bottom = qRgb(0, 0, 0xFF);
  label.SetTopColor(QColor(top));
  label.SetBottomColor(QColor(bottom));
  label.SetBorderWidth(2);
  const QRgb background = label.palette().color(QPalette::Window).rgb();
  auto pixels = [&label](std::initializer_list<QPoint> points) {
    const QImage image = label.grab().toImage();
    std::vector<QRgb> colours;
    for (QPoint point : points)
      colours.push_back(image.pixel(point));
    return colours;
  };
  // Outer ring: left and top in the top colour, right and bottom in the
  // bottom colour, which owns the top-right and bottom-left corners. Then the
  // inner ring, one pixel further in, and inside the rings the background.
  EXPECT_EQ(pixels({{0, 10}, {20, 0}, {0, 0}, {39, 10}, {20, 19}, {39, 0}, {0, 19}}),
            (std::vector<QRgb>{top, top, top, bottom, bottom, bottom, bottom}));
  EXPECT_EQ(pixels({{1, 10}, {38, 10}, {20, 18}, {2, 10}}),
            (std::vector<QRgb>{top, bottom, bottom, background}));

  label.SetBorderWidth(0);
  EXPECT_EQ(pixels({{0, 10}, {39, 10}}), std::vector<QRgb>(2, background));
}

class LinkLabelTest : public ::testing::Test {
 protected:
  LinkLabelTest() {
    shell.answer = false;  // the answer is ignored
    label.SetShell(&shell);
    label.setText("www.example.test");
    label.SetURL("http://www.example.test/");
    label.resize(100, 16);
    label.SetColorMoveOver(QColor(0, 0x80, 0));
  }
  void Send(QEvent&& event) { QApplication::sendEvent(&label, &event); }
  // Moves the mouse with the left button held: the label keeps the mouse, so
  // it sees moves, not leave and enter events.
  void Drag(QPoint to) {
    Send(QMouseEvent(QEvent::MouseMove, to, label.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier));
  }
  FakeShell shell;
  TLinkLabel label;
};

TEST_F(LinkLabelTest, StartsBlueAndUnderlined) {
  TLinkLabel fresh;
  EXPECT_EQ(std::tuple(fresh.font().underline(), fresh.FontColor(), fresh.ColorClick()),
            std::tuple(true, QColor(0, 0, 0xFF), QColor(0xFF, 0, 0)));
  EXPECT_EQ(std::pair(fresh.text().isEmpty(), fresh.URL().isEmpty()), std::pair(false, false));
}

TEST_F(LinkLabelTest, PressAndReleaseInsideOpensTheLink) {
  Send(QEnterEvent(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5)));
  EXPECT_EQ(label.FontColor(), label.ColorMoveOver());
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(std::pair(label.FontColor(), label.Pressed()), std::pair(label.ColorClick(), true));
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(std::tuple(shell.opened, label.FontColor(), label.Pressed()),
            std::tuple(std::vector<std::string>{"http://www.example.test/"}, label.ColorMoveOver(),
                       false));
  Send(QEvent(QEvent::Leave));
  EXPECT_EQ(label.FontColor(), label.ColorNormal());
}

TEST_F(LinkLabelTest, TheRightAndBottomEdgesCountAsInsideAndAnyButtonWorks) {
  QTest::mousePress(&label, Qt::RightButton, {}, QPoint(10, 5));
  QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(100, 16));
  EXPECT_EQ(shell.opened.size(), 1u);
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 5));
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(101, 16));
  EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(LinkLabelTest, DraggingOffBeforeTheReleaseOpensNothing) {
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 5));
  Drag({150, 5});
  EXPECT_EQ(label.FontColor(), label.ColorNormal());
  Drag({100, 16});  // back over the label (its edges count) with the button still down
  EXPECT_EQ(label.FontColor(), label.ColorClick());
  Drag({150, 5});
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(150, 5));
  EXPECT_EQ(std::tuple(shell.opened.empty(), label.FontColor(), label.Pressed()),
            std::tuple(true, label.ColorNormal(), false));
  // A release inside without a press opens nothing but shows the hover colour.
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(std::pair(shell.opened.empty(), label.FontColor()),
            std::pair(true, label.ColorMoveOver()));
}

TEST_F(LinkLabelTest, AnEmptyURLOpensTheCaption) {
  label.SetURL("");
  label.setText(QString::fromUtf8("caf\u00e9.example"));
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"caf\xE9.example"}));
}

TEST(AboutBoxTest, ShowsTheTitleIconAndLinkAndItsTextsFit) {
  QApplication::setApplicationDisplayName("KAV Antenna Part Number Builder");
  FakeShell shell;
  shell.answer = false;
  TAboutBox about(&shell);
  EXPECT_EQ(std::tuple(about.size(), about.windowTitle(), about.Image1()->pixmap().isNull(),
                       about.Image2()->size(), about.BitBtn1()->isDefault()),
            std::tuple(QSize(278, 183), QString("KAV Antenna Part Number Builder"), false,
                       QSize(126, 47), true));
  // The captions were laid out for narrower Windows fonts: they must still fit.
  EXPECT_EQ(about.lblVersion()->text(), QString("Version ") + kReleaseVersion);
  for (QLabel* label : {about.lblTitle(), about.Label1(), about.lblVersion(),
                        static_cast<QLabel*>(about.URLLabel1())})
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
  // The maker's link goes to the shell given to the box.
  QTest::mouseClick(about.URLLabel1(), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(shell.opened, (std::vector<std::string>{about.URLLabel1()->URL().toStdString()}));
  // A keyboard user reaches the link by Tab from OK and opens it with Enter.
  about.show();
  about.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
  QTest::keyClick(about.BitBtn1(), Qt::Key_Tab);
  ASSERT_TRUE(about.URLLabel1()->hasFocus());
  QTest::keyClick(about.URLLabel1(), Qt::Key_Return);
  EXPECT_EQ(std::pair(shell.opened.size(), about.isVisible()), std::pair(size_t{2}, true));
}

TEST(AboutBoxTest, OkClosesTheBoxAndEscDoesNot) {
  TAboutBox about;
  about.show();
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_TRUE(about.isVisible());
  about.BitBtn1()->click();
  EXPECT_EQ(std::pair(about.isVisible(), about.result()), std::pair(false, int(QDialog::Accepted)));
}

}  // namespace
