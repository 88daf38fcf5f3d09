#include "pictures/PictureChooser.h"

#include "flatfile/DelimitedList.h"
#include "flatfile/LineReader.h"
#include "pictures/PictureIndex.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Text1252.h"

namespace {

// A picture named by a catalogue cell is shown only from the picture folder:
// a name that leads out of it counts as a missing file.
TPictureChooser::TChoice Picture(const std::string& folder, const std::string& name) {
  TPictureChooser::TChoice choice{folder + name, false};
  choice.found = StaysInFolder(name) && FileExists(choice.path);
  return choice;
}

}  // namespace

TPictureChooser::TChoice TPictureChooser::ChoosePicture() const {
  // The program's own folders, one real folder whatever their spelling.
  const std::string indexFile = LayoutPath(ProgramFolder(), ImageDataPath + ImageDataFile);
  const std::string pictureFolder = LayoutPath(ProgramFolder(), ImagePath);
  if (!FileExists(indexFile)) return Picture(pictureFolder, ImageFile);
  TChoice choice{pictureFolder + ImageFile, false};
  TLineReader reader(indexFile);
  TDelimitedList cells(kPictureIndexDelimiter);
  std::string_view line;
  while (reader.Next(line)) {
    cells.SplitText(line);
    if (PictureIndexLineMatches(cells, Filters)) return Picture(pictureFolder, cells[ImageIndex]);
  }
  return choice;  // no line matched: the control is emptied
}

void TPictureChooser::LoadImage() {
  const TChoice choice = ChoosePicture();
  if (AssignedImage == nullptr) return;
  if (!choice.found) {
    AssignedImage->ClearPicture();
    return;
  }
  const std::string extension = FileExtension(choice.path);
  if (!HasPictureDecoder(extension)) throw EKavError(UnknownExtensionError(extension));
  AssignedImage->LoadPicture(ResolvePath(choice.path));
  AssignedImage->SetSize(ImageWidth, ImageHeight);
}
