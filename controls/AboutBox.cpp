#include "controls/AboutBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "controls/Artwork.h"
#include "controls/ControlHooks.h"
#include "controls/LinkLabel.h"
#include "controls/wizard/Wizard.h"
#include "platform/ReleaseVersion.h"

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kSilver(0xC0, 0xC0, 0xC0);

QFont Tahoma(int pixels, bool bold) {
  return WindowsFont(QStringLiteral("Tahoma"), pixels, bold);
}

// A filled rectangle without outline.
class TShape : public QWidget {
 public:
  TShape(const QColor& color, QWidget* parent) : QWidget(parent), color_(color) {}

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), color_); }

 private:
  QColor color_;
};

// A lowered bevel two pixels high: a shadow row over a highlight row.
class TBevelLine : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    DrawEtchedTop(p, palette(), 0, width(), 0);
  }
};

}  // namespace

TAboutBox::TAboutBox(TShell* shell, QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(278, 183);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  setPalette(pal);
  setAutoFillBackground(true);
  setFont(WindowsFont(QStringLiteral("MS Sans Serif"), 11));

  shape1_ = new TShape(kSilver, this);
  shape1_->setObjectName(QStringLiteral("Shape1"));
  shape1_->setGeometry(0, 0, 65, height());

  image1_ = new QLabel(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(16, 16, 32, 32);

  lblTitle_ = new QLabel(QStringLiteral("KAV Part Number Builder"), this);
  lblTitle_->setObjectName(QStringLiteral("lblTitle"));
  lblTitle_->setGeometry(93, 16, 164, 16);
  lblTitle_->setFont(Tahoma(13, true));
  QPalette navy = lblTitle_->palette();
  navy.setColor(QPalette::WindowText, kNavy);
  lblTitle_->setPalette(navy);

  label1_ = new QLabel(QStringLiteral("\u00A9 Ostrel Microwave Systems Ltd."), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(80, 40, 190, 13);
  label1_->setFont(Tahoma(11, false));
  label1_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  const QPixmap logo = OstrelLogo();
  image2_->setPixmap(logo);
  image2_->setGeometry(104, 62, logo.width(), logo.height());

  urlLabel1_ = new TLinkLabel(this);
  urlLabel1_->setObjectName(QStringLiteral("URLLabel1"));
  urlLabel1_->setText(QStringLiteral("www.ostrel.example"));
  urlLabel1_->SetURL(QStringLiteral("http://www.ostrel.example/"));
  urlLabel1_->SetShell(shell);
  urlLabel1_->setCursor(Qt::PointingHandCursor);
  QFont link = Tahoma(13, true);
  link.setUnderline(true);
  urlLabel1_->setFont(link);
  urlLabel1_->SetColorNormal(kNavy);
  // The address is centred under the logo at its own width.
  const int linkWidth = QFontMetrics(link).horizontalAdvance(urlLabel1_->text()) + 2;
  urlLabel1_->setGeometry(110 + 116 / 2 - linkWidth / 2, 109, linkWidth, 16);

  bevel1_ = new TBevelLine(this);
  bevel1_->setObjectName(QStringLiteral("Bevel1"));
  bevel1_->setGeometry(72, 144, 201, 2);

  lblVersion_ = new QLabel(QStringLiteral("Version %1").arg(QLatin1String(kReleaseVersion)), this);
  lblVersion_->setObjectName(QStringLiteral("lblVersion"));
  lblVersion_->setGeometry(80, 160, 110, 13);
  lblVersion_->setFont(Tahoma(11, false));

  bitBtn1_ = new QPushButton(QStringLiteral("&OK"), this);
  bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
  bitBtn1_->setGeometry(198, 154, 75, 25);
  bitBtn1_->setDefault(true);
  bitBtn1_->setFocus();
  connect(bitBtn1_, &QPushButton::clicked, this, &TAboutBox::BitBtn1Click);
  setTabOrder(bitBtn1_, urlLabel1_);  // OK first, then the link

  FormCreate();
}

void TAboutBox::FormCreate() {
  QIcon icon = QGuiApplication::windowIcon();
  if (icon.isNull()) icon = KavProgramIcon();
  image1_->setPixmap(icon.pixmap(32, 32));
  setWindowTitle(ApplicationTitle());
}

void TAboutBox::BitBtn1Click() {
  accept();
}

void TAboutBox::showEvent(QShowEvent* event) {
  // Centred on the screen, whoever owns the box.
  if (QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
  bitBtn1_->setFocus();
  QDialog::showEvent(event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  // The box has no cancel button: Esc leaves it open.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
