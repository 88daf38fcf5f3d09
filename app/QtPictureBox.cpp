#include "app/QtPictureBox.h"

#include <QPixmap>

TQtPictureBox::TQtPictureBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
}

void TQtPictureBox::LoadPicture(const std::string& path) {
  picture_ = DecodePicture(path);  // a failure leaves the old picture
  ShowScaled();
}

void TQtPictureBox::ClearPicture() {
  picture_ = TPicture();
  clear();
}

void TQtPictureBox::SetSize(int width, int height) {
  resize(width, height);
}

void TQtPictureBox::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowScaled();
}

void TQtPictureBox::ShowScaled() {
  if (picture_.IsNull()) return;
  setPixmap(QPixmap::fromImage(picture_.At(size())));
}
