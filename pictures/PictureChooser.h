#pragma once
// Chooses a picture file, by name or through a small picture-index file, and
// shows it in a picture control of the window (or empties the control).
#include <string>

#include "platform/NameValueList.h"
#include "platform/PictureBox.h"

class TPictureChooser {
 public:
  // The control that receives the picture; not owned. None: nothing is shown.
  TPictureBox* AssignedImage = nullptr;
  // The picture-index file, in ImageDataPath beside the program; empty: none.
  std::string ImageDataFile;
  std::string ImageDataPath;
  // The folder of the picture files beside the program.
  std::string ImagePath;
  // The cell of a matching index line that names the picture file.
  int ImageIndex = 0;
  int ImageFilterIndex = 0;  // kept with the settings; nothing reads it
  int ImageWidth = 0;
  int ImageHeight = 0;
  // Keys looked for in the index file: filter j tests cell j of a line.
  TNameValueList Filters;
  // The picture file named directly, used when there is no index file.
  std::string ImageFile;

  struct TChoice {
    std::string path;    // the picture file chosen
    bool found = false;  // whether it exists
  };
  // The picture LoadImage would show. Fails with the list index error for an
  // index line too short for the filters or for ImageIndex.
  TChoice ChoosePicture() const;

  // Shows the chosen picture at ImageWidth x ImageHeight, or empties the
  // control. An unknown extension fails with
  // "Unknown picture file extension (.<ext>)"; a failed load leaves the control as it was.
  void LoadImage();
  // Empties the control, as when no picture is chosen.
  void Clear() {
    if (AssignedImage != nullptr) AssignedImage->ClearPicture();
  }
};
