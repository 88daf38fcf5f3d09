#pragma once
// A picture box of the window: a label that stretches its picture to its
// size. The picture is rendered once for each size the box takes and held as
// the label's pixmap, so painting never decodes or plays it again.
#include <QLabel>

#include "pictures/PictureDecoder.h"
#include "platform/PictureBox.h"

class TQtPictureBox : public QLabel, public TPictureBox {
 public:
  explicit TQtPictureBox(QWidget* parent = nullptr);
  void LoadPicture(const std::string& path) override;
  void ClearPicture() override;
  void SetSize(int width, int height) override;
  bool HasPicture() const { return !picture_.IsNull(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowScaled();
  TPicture picture_;
  QSize shownSize_;  // of the pixmap held, empty before one is
};
