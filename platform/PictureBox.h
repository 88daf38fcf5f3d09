#pragma once
#include <string>

// A picture control of the window that stretches its picture to its size.
class TPictureBox {
 public:
  virtual ~TPictureBox() = default;
  // Decodes the file and shows it; raises EKavError with the decoder's text
  // when the file is not a valid picture of its kind, keeping the old picture.
  virtual void LoadPicture(const std::string& path) = 0;
  // Empties the picture, leaving the size alone.
  virtual void ClearPicture() = 0;
  virtual void SetSize(int width, int height) = 0;
};
