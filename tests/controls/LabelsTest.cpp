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

#include "controls/URLLabel.h"
#include "controls/ZQLabel.h"
#include "controls/about.h"
#include "platform/Shell.h"

namespace {

class FakeShell : public TShell {
 public:
  bool Open(const std::string& target) override {
    opened.push_back(target);
    return false;  // the answer is ignored
  }
  std::vector<std::string> opened;
};

TEST(ZQLabelTest, DrawsBorderWidthRingsInTheTwoColours) {
  TZQLabel label("x");
  label.resize(40, 20);
  EXPECT_EQ(label.alignment(), Qt::AlignCenter);
  EXPECT_EQ(label.TopColor(), QColor(Qt::white));
  EXPECT_EQ(label.BottomColor(), QColor(Qt::white));
  EXPECT_EQ(label.BorderWidth(), 1);

  const QRgb top = qRgb(0xFF, 0, 0), bottom = qRgb(0, 0, 0xFF);
  label.SetTopColor(QColor(top));
  label.SetBottomColor(QColor(bottom));
  label.SetBorderWidth(2);
  QImage image = label.grab().toImage();
  // Outer ring: left and top in the top colour, right and bottom in the
  // bottom colour, which owns the top-right and bottom-left corners.
  EXPECT_EQ(image.pixel(0, 10), top);
  EXPECT_EQ(image.pixel(20, 0), top);
  EXPECT_EQ(image.pixel(0, 0), top);
  EXPECT_EQ(image.pixel(39, 10), bottom);
  EXPECT_EQ(image.pixel(20, 19), bottom);
  EXPECT_EQ(image.pixel(39, 0), bottom);
  EXPECT_EQ(image.pixel(0, 19), bottom);
  // Inner ring, one pixel further in.
  EXPECT_EQ(image.pixel(1, 10), top);
  EXPECT_EQ(image.pixel(38, 10), bottom);
  EXPECT_EQ(image.pixel(20, 18), bottom);
  // Inside the rings: the background.
  const QRgb background = label.palette().color(QPalette::Window).rgb();
  EXPECT_EQ(image.pixel(2, 10), background);

  label.SetBorderWidth(0);
  image = label.grab().toImage();
  EXPECT_EQ(image.pixel(0, 10), background);
  EXPECT_EQ(image.pixel(39, 10), background);
}

class URLLabelTest : public ::testing::Test {
 protected:
  URLLabelTest() {
    label.SetShell(&shell);
    label.setText("www.example.test");
    label.SetURL("http://www.example.test/");
    label.resize(100, 16);
    label.SetColorMoveOver(QColor(0, 0x80, 0));
  }
  void Enter() {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&label, &enter);
  }
  void Leave() {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
  }
  // Moves the mouse with the left button held: the label keeps the mouse, so
  // it sees moves, not leave and enter events.
  void Drag(QPoint to) {
    QMouseEvent move(QEvent::MouseMove, to, label.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&label, &move);
  }
  FakeShell shell;
  TURLLabel label;
};

TEST_F(URLLabelTest, StartsBlueAndUnderlined) {
  TURLLabel fresh;
  EXPECT_TRUE(fresh.font().underline());
  EXPECT_EQ(fresh.FontColor(), QColor(0, 0, 0xFF));
  EXPECT_EQ(fresh.ColorClick(), QColor(0xFF, 0, 0));
  EXPECT_FALSE(fresh.text().isEmpty());
  EXPECT_FALSE(fresh.URL().isEmpty());
}

TEST_F(URLLabelTest, PressAndReleaseInsideOpensTheLink) {
  Enter();
  EXPECT_EQ(label.FontColor(), label.ColorMoveOver());
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_TRUE(label.Pressed());
  EXPECT_EQ(label.FontColor(), label.ColorClick());
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"http://www.example.test/"}));
  EXPECT_EQ(label.FontColor(), label.ColorMoveOver());
  EXPECT_FALSE(label.Pressed());
  Leave();
  EXPECT_EQ(label.FontColor(), label.ColorNormal());
}

TEST_F(URLLabelTest, TheRightAndBottomEdgesCountAsInsideAndAnyButtonWorks) {
  QTest::mousePress(&label, Qt::RightButton, {}, QPoint(10, 5));
  QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(100, 16));
  EXPECT_EQ(shell.opened.size(), 1u);
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 5));
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(101, 16));
  EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(URLLabelTest, DraggingOffBeforeTheReleaseOpensNothing) {
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 5));
  Drag({150, 5});
  EXPECT_EQ(label.FontColor(), label.ColorNormal());
  Drag({100, 16});  // back over the label (its edges count) with the button still down
  EXPECT_EQ(label.FontColor(), label.ColorClick());
  Drag({150, 5});
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(150, 5));
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(label.FontColor(), label.ColorNormal());
  EXPECT_FALSE(label.Pressed());
  // A release inside without a press opens nothing but shows the hover colour.
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(label.FontColor(), label.ColorMoveOver());
}

TEST_F(URLLabelTest, AnEmptyURLOpensTheCaption) {
  label.SetURL("");
  label.setText(QString::fromUtf8("caf\u00e9.example"));
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"caf\xE9.example"}));
}

TEST(AboutBoxTest, ShowsTheTitleIconAndLinkAndItsTextsFit) {
  QApplication::setApplicationDisplayName("KAV Antenna Part Number Builder");
  FakeShell shell;
  TfrmAbout about(&shell);
  EXPECT_EQ(about.size(), QSize(278, 183));
  EXPECT_EQ(about.windowTitle(), "KAV Antenna Part Number Builder");
  EXPECT_FALSE(about.Image1()->pixmap().isNull());
  EXPECT_EQ(about.Image2()->size(), QSize(126, 47));
  EXPECT_TRUE(about.BitBtn1()->isDefault());
  // The captions were laid out for narrower Windows fonts: they must still fit.
  for (QLabel* label : {about.lblTitle(), about.Label1(), static_cast<QLabel*>(about.URLLabel1())})
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
  // The maker's link goes to the shell given to the box.
  QTest::mouseClick(about.URLLabel1(), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(shell.opened, (std::vector<std::string>{about.URLLabel1()->URL().toStdString()}));
}

TEST(AboutBoxTest, OkClosesTheBoxAndEscDoesNot) {
  TfrmAbout about;
  about.show();
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_TRUE(about.isVisible());
  about.BitBtn1()->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
