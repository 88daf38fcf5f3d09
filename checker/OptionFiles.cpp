// The frequency and type lists, the option files and the picture files.
#include "checker/CatalogChecker_p.h"

#include "pictures/PictureIndex.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"

namespace checker_detail {

void TChecker::CheckPicture(const TSource& s, long number, int column, const std::string& folder,
                            std::string_view given, const char* extension,
                            const std::function<std::string()>& shown) {
  pictureKey_.assign(given).append(extension);
  auto [entry, fresh] = pictures_[folder].try_emplace(pictureKey_);
  TAggregate& aggregate = entry->second;
  if (!fresh) return aggregate.Hit();
  aggregate.noun = "more row names it";
  aggregate.nouns = "more rows name it";
  Track(aggregate);
  const std::string& name = entry->first;
  if (!StaysInFolder(name)) {
    aggregate.finding =
        Error(s, number, column, "picture " + Quoted(name) + " lies outside the picture folder",
              "the program does not read it and " + shown() + " stays empty");
    return;
  }
  const std::string path = LayoutPath(ProgramFolder(), folder + name);
  if (!FileExists(path)) {
    aggregate.finding =
        Warning(s, number, column,
                name.empty() ? "no picture is named"
                             : "picture " + Quoted(name) + " does not exist (" + path + ")",
                shown() + " stays empty");
    return;
  }
  if (!HasPictureDecoder(FileExtension(name))) {
    aggregate.finding = Error(
        s, number, column, "picture " + Quoted(name) + " has an extension without a decoder",
        "showing " + shown() + " fails with " + Quoted(UnknownExtensionError(FileExtension(name))));
    return;
  }
  if (!decode_) return;
  const std::string failure = decode_(path);
  if (!failure.empty())
    aggregate.finding =
        Error(s, number, column, "picture " + Quoted(name) + " does not decode",
              "showing " + shown() + " fails with the error box " + Quoted(failure));
}

void TChecker::CheckFrequencies(const TTableUse& use) {
  if (!Open(use, kFreq, freqSource_)) return;
  const int freq = freqSource_.Read(schema::range::kName);
  Rows(freqSource_, [&](long number, const TCells& cells) {
    const std::string_view value = cells[static_cast<size_t>(freq)];
    if (value.empty())
      Warning(freqSource_, number, freq + 1, "empty frequency range",
              "the frequency list offers an empty entry, for which the type list shows the "
              "types of every range");
    else
      frequencies_.try_emplace(std::string(value), number);
  });
}

void TChecker::CheckTypes(const TTableUse& use) {
  TSource& s = typesSource_;
  if (!Open(use, kType, s)) return;
  typesUsable_ = freqSource_.usable;
  const int freq = s.Filter(schema::type::kRange), prefix = s.Read(schema::type::kName);
  std::unordered_set<std::string> rangesWithTypes;
  Rows(s, [&](long number, const TCells& cells) {
    const std::string_view range = cells[static_cast<size_t>(freq)];
    const std::string_view type = cells[static_cast<size_t>(prefix)];
    rangesWithTypes.emplace(range);
    if (!freqSource_.usable) return;
    if (frequencies_.count(std::string(range)) == 0) {
      Warning(s, number, freq + 1,
              "frequency range " + Quoted(range) + " is not in " + data_.FrequencyRanges.FileName(),
              "the type " + Quoted(type) + " is never offered");
    } else if (type.empty()) {
      Warning(s, number, prefix + 1, "empty antenna type",
              "the type list offers an empty entry, and choosing it lists every antenna of " +
                  Quoted(range));
    } else {
      std::string key = std::string(range) + kKeySeparator + std::string(type);
      if (offeredKeys_.insert(key).second)
        offered_.push_back(
            {std::move(key), number, prefix + 1, std::string(range), std::string(type)});
    }
  });
  if (!freqSource_.usable) return;
  for (const auto& [range, number] : frequencies_)
    if (rangesWithTypes.count(range) == 0)
      Warning(freqSource_, number, freqSource_.Read(schema::range::kName) + 1,
              "no row of " + data_.AntennaTypes.FileName() + " offers a type for " + Quoted(range),
              "choosing this frequency range leaves the type list empty");
}

void TChecker::CheckFlangeSuffixes(const TTableUse& use) {
  TSource& s = suffixSource_;
  if (!Open(use, kSuffix, s)) return;
  const int suffix = s.Read(schema::flangeSuffix::kSuffix);
  Rows(s, [&](long number, const TCells& cells) {
    suffixRows_.Take(s, number, cells, std::string(cells[static_cast<size_t>(suffix)]));
  });
}

void TChecker::CheckRadomes(const TTableUse& use) {
  TSource& s = radomeSource_;
  if (!Open(use, kRadome, s)) return;
  const int suffix = s.Read(schema::radome::kSuffix), price = s.Read(schema::radome::kPrice);
  Rows(s, [&](long number, const TCells& cells) {
    const std::string_view option = cells[static_cast<size_t>(suffix)];
    CheckPrice(s, number, price, cells[static_cast<size_t>(price)], "with radome option ", option);
    radomeRows_.Take(s, number, cells, std::string(option));
  });
}

void TChecker::CheckPacks(const TTableUse& use) {
  TSource& s = packSource_;
  if (!Open(use, kPack, s)) return;
  const int suffix = s.Read(schema::pack::kSuffix), price = s.Read(schema::pack::kPrice);
  Rows(s, [&](long number, const TCells& cells) {
    CheckPrice(s, number, price, cells[static_cast<size_t>(price)], "with packing option ",
               cells[static_cast<size_t>(suffix)]);
    packRows_.Take(s, number, cells);
  });
}

void TChecker::CheckRadomePictures(const TTableUse& use) {
  TSource& s = radomeImgSource_;
  if (!Open(use, kRadomeImg, s)) return;
  const int image = s.Read(schema::radomePicture::kPicture);
  Rows(s, [&](long number, const TCells& cells) {
    radomePictureRows_.Take(s, number, cells);
    CheckPicture(s, number, image + 1, data_.RadomeImg.ImagePath, cells[static_cast<size_t>(image)],
                 "", [] { return std::string("the radome picture"); });
  });
}

// flng_img.dat is no table: no column-name line, no comment lines, every
// line a candidate; the first line whose first cell equals the flange wins.
void TChecker::CheckFlangePictures() {
  const TPictureChooser& loader = data_.FlangeImg;
  TSource& s = flangeImgSource_;
  s.order = kFlangeImg;
  s.path = LayoutPath(ProgramFolder(), loader.ImageDataPath + loader.ImageDataFile);
  if (!FileExists(s.path)) {
    Warning(s, 0, 0, "the file does not exist", "no flange picture is ever shown");
    return;
  }
  std::unique_ptr<TLineReader> reader;
  try {
    reader = std::make_unique<TLineReader>(s.path);
  } catch (const std::exception& error) {
    Error(s, 0, 0, "the file cannot be read",
          "every flange choice fails with the error box " + Quoted(error.what()));
    return;
  }
  ++files_;
  // The flange picture's one filter, the flange, and the picture's cell.
  const size_t needed = PictureIndexCellsNeeded(1, loader.ImageIndex);
  TCells cells;
  std::string_view line;
  long number = 0;
  while (reader->Next(line)) {
    ++number;
    SplitCells(line, kPictureIndexDelimiter, cells);
    // The flange picture's one filter, the flange, compares cell 0. An empty
    // flange sets no filter, so the first line serves it whatever it holds;
    // a later line with an empty first cell is never read.
    if (cells[0].empty() && number > 1) continue;
    const std::string flange(cells[0]);
    const auto [first, fresh] = flangePictures_.try_emplace(flange, number);
    if (!fresh) {
      Warning(s, number, 1,
              "flange " + Quoted(flange) + " already has a picture on line " +
                  std::to_string(first->second),
              "the program uses the first line only; this one is never read");
      continue;
    }
    if (cells.size() < needed) {
      Error(s, number, 0,
            line.empty() ? "empty line, but the picture name is cell " + std::to_string(needed)
                         : "only " + Count(static_cast<long>(cells.size()), "cell", "cells") +
                               ", but the picture name is cell " + std::to_string(needed),
            "choosing flange " + Quoted(flange) + " fails with " +
                Quoted(ListIndexError(static_cast<long>(needed) - 1)));
      continue;
    }
    for (size_t i = 0; i < needed; ++i)
      if (cells[i].size() > kFieldSize)
        Warning(s, number, static_cast<int>(i + 1),
                "cell " + std::to_string(i + 1) + " is " + std::to_string(cells[i].size()) +
                    " characters long",
                "the program compares it whole, but a value this long is often two cells run "
                "together");
    CheckPicture(s, number, loader.ImageIndex + 1, loader.ImagePath,
                 cells[static_cast<size_t>(loader.ImageIndex)], "",
                 [&] { return "the picture of flange " + Quoted(flange); });
  }
  if (number == 0) {
    Warning(s, 0, 0, "the file is empty", "no flange picture is ever shown");
    return;
  }
  s.usable = true;
}

}  // namespace checker_detail
