// Choosing a picture through a picture-index file of arbitrary bytes, with
// filters and a picture cell taken from the input: the choice (or the failure
// and its message) is the one a plain model of the search gives, and loading
// shows the chosen picture, empties the box or fails as the model says.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FakeUi.h"
#include "fuzz/FuzzSupport.h"
#include "pictures/PictureChooser.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Text1252.h"

namespace {

const char* const kIndexFolders[] = {"data/", "Data\\", "DATA/", "", "missing/"};
const char* const kIndexFiles[] = {"flng_img.dat", "FLNG_IMG.DAT", "", "none.dat"};
const char* const kPictureFolders[] = {"Images/", "images\\", "IMAGES/", ""};
const char* const kPictureFiles[] = {"a.gif", "A.GIF", "b.bmp", "c.png", "", ".gif", "nothing.gif"};

// The program folder with its data folder and a few pictures, made once.
const std::string& ProgramFolderWithPictures() {
  static const std::string folder = [] {
    const std::string base = fuzz::ScratchFolder();
    std::filesystem::create_directories(base + "data");
    std::filesystem::create_directories(base + "Images");
    for (const char* name : {"a.gif", "b.bmp", "c.png", "d.GIF", "e", "f.ico"})
      fuzz::PutFile(base + "Images/" + name, "GIF89a");
    std::filesystem::create_directories(base + "Images/folder.gif");
    return base;
  }();
  return folder;
}

struct Choice {
  std::optional<std::string> error;
  std::string path;
  bool found = false;
};

Choice Model(const TPictureChooser& loader, const std::optional<std::string>& indexBytes,
             const std::vector<std::string>& filters) {
  const std::string& base = ProgramFolder();
  Choice choice;
  choice.path = base + loader.ImagePath + loader.ImageFile;
  if (!indexBytes) {
    choice.found = FileExists(choice.path);
    return choice;
  }
  for (const std::string& line : fuzz::TextLines(*indexBytes)) {
    const std::vector<std::string> cells = fuzz::Cells(line, "|");
    bool matches = true;
    for (size_t j = 0; j < filters.size(); ++j) {
      if (j >= cells.size()) {
        choice.error = fuzz::IndexError(static_cast<long long>(j));
        return choice;
      }
      matches = matches && cells[j] == fuzz::ValueIn(filters, fuzz::NameOf(filters[j]));
    }
    if (!matches) continue;
    if (loader.ImageIndex < 0 || static_cast<size_t>(loader.ImageIndex) >= cells.size()) {
      choice.error = fuzz::IndexError(loader.ImageIndex);
      return choice;
    }
    choice.path = base + loader.ImagePath + cells[static_cast<size_t>(loader.ImageIndex)];
    choice.found = FileExists(choice.path);
    return choice;
  }
  return choice;
}

std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  SetProgramFolder(ProgramFolderWithPictures());

  TPictureChooser loader;
  loader.ImageDataPath = in.PickValueInArray(kIndexFolders);
  loader.ImageDataFile = in.PickValueInArray(kIndexFiles);
  loader.ImagePath = in.PickValueInArray(kPictureFolders);
  loader.ImageFile = in.PickValueInArray(kPictureFiles);
  loader.ImageIndex = in.ConsumeIntegralInRange(-1, 4);
  const size_t filterCount = in.ConsumeIntegralInRange<size_t>(0, 3);
  std::vector<std::string> rawNames, rawValues;
  for (size_t i = 0; i < filterCount; ++i) {
    rawNames.push_back(in.ConsumeRandomLengthString(16));
    rawValues.push_back(in.ConsumeRandomLengthString(24));
  }
  // The index file; names in it stay inside the picture folder.
  std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 2048));
  for (char& c : bytes)
    if (c == '/' || c == '\\') c = '_';
  const std::string indexPath = ProgramFolder() + "data/flng_img.dat";
  fuzz::PutFile(indexPath, bytes);
  const bool indexed = FileExists(ProgramFolder() + loader.ImageDataPath + loader.ImageDataFile);

  // Filter values are often cells of the index file, so that lines match.
  const std::vector<std::string> lines = fuzz::TextLines(bytes);
  for (size_t i = 0; i < filterCount; ++i) {
    std::string value = rawValues[i];
    if (!lines.empty() && in.ConsumeBool()) {
      const std::vector<std::string> cells =
          fuzz::Cells(lines[in.ConsumeIntegralInRange<size_t>(0, lines.size() - 1)], "|");
      value = cells[std::min(i, cells.size() - 1)];
    }
    if (in.ConsumeIntegralInRange(0, 5) == 0)
      loader.Filters.Add(rawNames[i] + value);  // written directly, perhaps without "="
    else
      loader.Filters.SetValue(rawNames[i], value);
  }

  const Choice expected = Model(loader, indexed ? std::optional<std::string>(bytes) : std::nullopt,
                                loader.Filters.Lines());
  Choice actual;
  actual.error = fuzz::Failure([&] {
    const TPictureChooser::TChoice choice = loader.ChoosePicture();
    actual.path = choice.path;
    actual.found = choice.found;
  });
  FUZZ_CHECK(actual.error == expected.error);
  if (!expected.error) {
    // The same file, however the folder's name was spelt on the way.
    FUZZ_CHECK(ResolvePath(actual.path) == ResolvePath(expected.path));
    FUZZ_CHECK(actual.found == expected.found);
  }

  // Loading into a box: shown, emptied, or refused with the box left alone.
  FakePictureBox box;
  box.picture = "before";
  loader.AssignedImage = &box;
  loader.ImageWidth = 136;
  loader.ImageHeight = 96;
  const std::optional<std::string> loadError = fuzz::Failure([&] { loader.LoadImage(); });
  if (expected.error) {
    FUZZ_CHECK(loadError == expected.error && box.picture == "before");
  } else if (!expected.found) {
    FUZZ_CHECK(!loadError && box.picture.empty());
  } else {
    const std::string extension = ExtensionOf(expected.path);
    bool known = false;
    for (const char* k : {"bmp", "ico", "wmf", "emf", "gif"})
      known = known || ansi::SameText(extension, k);
    if (known) {
      FUZZ_CHECK(!loadError && box.picture == ResolvePath(expected.path) && box.width == 136);
    } else {
      FUZZ_CHECK(loadError == "Unknown picture file extension (." + extension + ")");
      FUZZ_CHECK(box.picture == "before");
    }
  }
  return 0;
}
