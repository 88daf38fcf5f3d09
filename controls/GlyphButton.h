#pragma once
// A push button with a picture left of its caption and a fixed gap between
// the two, the pair centred on the button.
#include <QPushButton>

class TGlyphButton : public QPushButton {
  Q_OBJECT
 public:
  TGlyphButton(const QIcon& glyph, const QString& caption, QWidget* parent = nullptr);

  // Pixels between the picture and the caption.
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int spacing_ = 4;
};
