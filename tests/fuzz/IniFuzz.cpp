// Loading an INI file from arbitrary bytes with any of the loading options,
// changing it, and writing it back: the written file holds exactly the
// sections and lines the engine held, in the engine's layout, reloads to the
// same sections, lines and values, and no temporary file is left behind.
// Lines the format cannot carry (an empty line, a line that reads as a
// section header) can only come from the loading options; for those, a second
// write and reload must change nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "fuzz/FuzzSupport.h"
#include "ini/IniFile.h"
#include "platform/Error.h"

namespace {

class TIni : public TIniFile {
 public:
  using TIniFile::TIniFile;
  // Makes the next Flush write whatever is held.
  void Touch() { SetModified(true); }
};

using Snapshot = std::vector<std::pair<std::string, std::vector<std::string>>>;

// The sections that have lines (the only ones ever written), in order.
Snapshot Take(TIni& ini) {
  Snapshot snapshot;
  std::vector<std::string> names;
  ini.ReadSectionNames(names);
  FUZZ_CHECK(static_cast<int>(names.size()) == ini.Sections().Count());
  for (int i = 0; i < ini.Sections().Count(); ++i) {
    const std::vector<std::string>& lines = ini.Sections().Lines(i);
    if (!lines.empty()) snapshot.emplace_back(ini.Sections().Name(i), lines);
  }
  return snapshot;
}

bool Representable(const std::string& line) {
  return !line.empty() && line.size() <= 255 && line != "\x1A" &&
         !(line.size() >= 2 && line.front() == '[' && line.back() == ']') &&
         line.find_first_of("\r\n") == std::string::npos;
}

bool AllRepresentable(const Snapshot& snapshot) {
  for (const auto& [name, lines] : snapshot) {
    if (name.size() > 253 || name.find_first_of("\r\n") != std::string::npos) return false;
    for (const std::string& line : lines)
      if (!Representable(line)) return false;
  }
  return true;
}

std::string Layout(const Snapshot& snapshot) {
  std::string bytes;
  for (const auto& [name, lines] : snapshot) {
    bytes += "[" + name + "]\r\n";
    for (const std::string& line : lines)
      bytes += line + "\r\n";
    bytes += "\r\n";
  }
  return bytes;
}

// A name or value for a change: no line breaks, which no caller ever passes.
std::string Text(FuzzedDataProvider& in, size_t limit) {
  std::string text = in.ConsumeRandomLengthString(limit);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

// An existing section or key now and then, so that changes hit what is there.
std::string SectionName(FuzzedDataProvider& in, TIni& ini) {
  if (ini.Sections().Count() > 0 && in.ConsumeBool())
    return ini.Sections().Name(in.ConsumeIntegralInRange(0, ini.Sections().Count() - 1));
  return Text(in, 24);
}
std::string KeyName(FuzzedDataProvider& in, TIni& ini, const std::string& section) {
  std::vector<std::string> keys;
  ini.ReadSectionKeys(section, keys);
  if (!keys.empty() && in.ConsumeBool())
    return keys[in.ConsumeIntegralInRange<size_t>(0, keys.size() - 1)];
  return Text(in, 24);
}

void Change(FuzzedDataProvider& in, TIni& ini) {
  const int kind = in.ConsumeIntegralInRange(0, 8);
  const std::string section = SectionName(in, ini);
  const std::string key = KeyName(in, ini, section);
  try {
    if (kind <= 1) {
      const std::string value = Text(in, 300);
      ini.WriteString(section, key, value);
      if (!key.empty() && key.find('=') == std::string::npos &&
          key.size() + 1 + value.size() <= 255)
        FUZZ_CHECK(ini.ReadString(section, key, "\x01") == value);
    } else if (kind == 2) {
      ini.WriteLongString(section, key, Text(in, 400));
    } else if (kind == 3) {
      const int value = in.ConsumeIntegral<int>();
      ini.WriteInteger(section, key, value);
      if (!key.empty() && key.find('=') == std::string::npos && key.size() <= 240)
        FUZZ_CHECK(ini.ReadInteger(section, key, value ^ 1) == value);
    } else if (kind == 4) {
      ini.WriteFloat(section, key, in.ConsumeFloatingPoint<double>());
    } else if (kind == 5) {
      const double value = in.ConsumeFloatingPoint<double>();
      using Writer = void (TIniFile::*)(const std::string&, const std::string&, TDateTime);
      const Writer writers[] = {&TIniFile::WriteDate, &TIniFile::WriteTime,
                                &TIniFile::WriteDateTime};
      (ini.*writers[in.ConsumeIntegralInRange(0, 2)])(section, key, value);
    } else if (kind == 6) {
      ini.DeleteKey(section, key);
    } else if (kind == 7) {
      ini.EraseSection(section);
    } else {
      // Every reader on every key of the section.
      std::vector<std::string> keys, lines, all;
      ini.ReadSectionKeys(section, keys);
      for (const std::string& k : keys) {
        ini.ReadString(section, k, "");
        ini.ReadLongString(section, k, "");
        ini.ReadInteger(section, k, 0);
        ini.ReadBool(section, k, false);
        ini.ReadFloat(section, k, 0);
        ini.ReadDate(section, k, 0);
        ini.ReadTime(section, k, 0);
        ini.ReadDateTime(section, k, 0);
        FUZZ_CHECK(ini.KeyExists(section, k));
      }
      ini.ReadSectionLines(section, lines);
      ini.ReadAll(all);
    }
  } catch (const EKavError&) {
    // Dates out of range are refused with a message; anything else is a finding.
    FUZZ_CHECK(kind == 5);
  }
}

// The values of every key, as ReadString and ReadInteger give them.
std::vector<std::string> Values(TIni& ini, const Snapshot& snapshot) {
  std::vector<std::string> values;
  for (const auto& [name, lines] : snapshot) {
    std::vector<std::string> keys;
    ini.ReadSectionKeys(name, keys);
    for (const std::string& key : keys)
      values.push_back(ini.ReadString(name, key, "\x01") + "\x02" +
                       std::to_string(ini.ReadInteger(name, key, -7)));
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string path = fuzz::ScratchFolder() + "file.ini";
  const std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 4096));
  fuzz::PutFile(path, bytes);

  static const int kBufferSizes[] = {TIniFile::kDefaultTextBufferSize, 0, 1, 7};
  TIni ini("");
  ini.TextBufferSize = kBufferSizes[in.ConsumeIntegralInRange(0, 3)];
  const uint8_t options = in.ConsumeIntegral<uint8_t>();
  ini.SkipComments = options & 1;
  ini.RequireEquals = options & 2;
  ini.TrimAroundEquals = options & 4;
  ini.StripQuotes = options & 8;
  ini.TrimTrailing = options & 16;
  if (options & 32) {
    // A handler that keeps the earlier or the later section, moving some lines over.
    const bool keepEarlier = options & 64, move = options & 128;
    ini.OnDuplicateSection = [keepEarlier, move](const std::string&, std::vector<std::string>& kept,
                                                 std::vector<std::string>& dropped) {
      if (move && !dropped.empty()) {
        kept.push_back(dropped.back());
        dropped.pop_back();
      }
      return keepEarlier;
    };
  }
  ini.ChangeFile(path);
  FUZZ_CHECK(!ini.Modified());
  const int changes = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < changes; ++i)
    Change(in, ini);

  const Snapshot held = Take(ini);
  ini.Touch();
  ini.Flush();
  FUZZ_CHECK(!ini.Modified());
  FUZZ_CHECK(!std::filesystem::exists(path + ".tmp"));

  TIni reloaded(path);
  const Snapshot read = Take(reloaded);
  if (AllRepresentable(held)) {
    FUZZ_CHECK(ReadFile(path) == Layout(held));
    FUZZ_CHECK(read == held);
    FUZZ_CHECK(!reloaded.Modified());
    ini.SkipComments = false;  // list the same keys as the plain engine
    FUZZ_CHECK(Values(reloaded, read) == Values(ini, held));
    return 0;
  }
  // Written once by the plain engine, a file is stable.
  reloaded.Touch();
  reloaded.Flush();
  TIni again(path);
  FUZZ_CHECK(Take(again) == read);
  FUZZ_CHECK(ReadFile(path) == Layout(read));
  return 0;
}
