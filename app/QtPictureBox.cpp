#include "app/QtPictureBox.h"

#include <QPixmap>

#include "platform/Error.h"

TQtPictureBox::TQtPictureBox(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignCenter);
}

void TQtPictureBox::LoadPicture(const std::string& path) {
  picture_ = DecodePicture(path, size());  // a failure leaves the old picture
  shownSize_ = QSize();
  ShowScaled();
}

void TQtPictureBox::ClearPicture() {
  picture_ = TPicture();
  shownSize_ = QSize();
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
  if (picture_.IsNull() || size() == shownSize_) return;
  shownSize_ = size();
  try {
    setPixmap(QPixmap::fromImage(picture_.At(size())));
  } catch (const EKavError&) {
    clear();  // a metafile that costs too much at this size shows as damaged: empty
  }
}
