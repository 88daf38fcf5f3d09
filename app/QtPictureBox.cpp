#include "app/QtPictureBox.h"

#include <QPixmap>

#include "pictures/PictureDecoder.h"

TQtPictureBox::TQtPictureBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
}

void TQtPictureBox::LoadPicture(const std::string& path) {
  image_ = DecodePicture(path);  // a failure leaves the old picture
  ShowScaled();
}

void TQtPictureBox::ClearPicture() {
  image_ = QImage();
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
  if (image_.isNull()) return;
  setPixmap(
      QPixmap::fromImage(image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}
