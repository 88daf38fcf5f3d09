#pragma once
// A hyperlink label: blue and underlined, one colour while the mouse is
// elsewhere, another while it is over the label and a third while a button is
// held down on it. A press followed by a release inside the label opens the
// link through the shell. It takes the focus by Tab, shows it, and Enter or
// Space opens the link, as a link in a browser does.
#include <QColor>
#include <QLabel>
#include <string>

class TShell;

class TLinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TLinkLabel(QWidget* parent = nullptr);

  QColor ColorNormal() const { return colorNormal_; }
  void SetColorNormal(const QColor& color);
  QColor ColorMoveOver() const { return colorMoveOver_; }
  void SetColorMoveOver(const QColor& color) { colorMoveOver_ = color; }
  QColor ColorClick() const { return colorClick_; }
  void SetColorClick(const QColor& color) { colorClick_ = color; }
  // The link to open; when empty the caption is opened.
  const QString& URL() const { return url_; }
  void SetURL(const QString& url) { url_ = url; }

  // The shell that opens the link (none: nothing is opened).
  void SetShell(TShell* shell) { shell_ = shell; }
  TShell* Shell() const { return shell_; }

  // The colour the caption is drawn in now.
  QColor FontColor() const;
  bool Pressed() const { return pressed_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void SetFontColor(const QColor& color);
  void Open();
  bool Inside(QPoint pos) const;

  QColor colorNormal_{0x00, 0x00, 0xFF};
  QColor colorMoveOver_{0x00, 0x00, 0xFF};
  QColor colorClick_{0xFF, 0x00, 0x00};
  QString url_;
  bool pressed_ = false;
  TShell* shell_ = nullptr;
};
