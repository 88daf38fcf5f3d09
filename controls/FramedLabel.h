#pragma once
// A caption label inside a three-dimensional frame: the top and left edges in
// one colour, the bottom and right edges in another, BorderWidth rings deep.
// The caption is centred both ways.
#include <QColor>
#include <QLabel>

class TFramedLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TFramedLabel(QWidget* parent = nullptr);
  explicit TFramedLabel(const QString& caption, QWidget* parent = nullptr);

  QColor TopColor() const { return topColor_; }
  void SetTopColor(const QColor& color);
  QColor BottomColor() const { return bottomColor_; }
  void SetBottomColor(const QColor& color);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor topColor_{Qt::white};
  QColor bottomColor_{Qt::white};
  int borderWidth_ = 1;
};
