#include "ini/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>

#include "ini/IniValues.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/SafeFileWrite.h"
#include "platform/Text1252.h"

namespace {

// Longest line read from a file or built by WriteString, and longest section
// name or key taken from a caller.
constexpr size_t kMaxText = 255;
constexpr char kEndOfFileMark = 0x1A;

std::string Cut(const std::string& text) {
  return text.substr(0, kMaxText);
}

[[noreturn]] void RaiseFileError(const char* action, const std::string& fileName,
                                 const std::string& reason) {
  throw EKavError(std::string(action) + " file \"" + fileName + "\". " + reason);
}

[[noreturn]] void RaiseFileError(const char* action, const std::string& fileName, int err) {
  RaiseFileError(action, fileName, std::system_category().message(err != 0 ? err : EIO));
}

// Owns an open C file; closes it, ignoring errors, unless Close was called.
class TOpenFile {
 public:
  explicit TOpenFile(std::FILE* file) : file_(file) {}
  ~TOpenFile() { Close(); }
  TOpenFile(const TOpenFile&) = delete;
  TOpenFile& operator=(const TOpenFile&) = delete;

  std::FILE* Get() const { return file_; }
  // Returns 0, or EOF with errno set.
  int Close() {
    std::FILE* file = std::exchange(file_, nullptr);
    return file ? std::fclose(file) : 0;
  }

 private:
  std::FILE* file_;
};

void UseBuffer(std::FILE* file, std::vector<char>& buffer, int size) {
  if (size <= 0) return;
  buffer.resize(static_cast<size_t>(size));
  std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
}

// Reads the next line, ended by CR, LF or CR LF, keeping at most kMaxText
// bytes of it. Returns false at the end of the file (or on a read error).
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = std::getc(file);
  if (c == EOF) return false;
  while (c != EOF && c != '\r' && c != '\n') {
    if (line.size() < kMaxText) line.push_back(static_cast<char>(c));
    c = std::getc(file);
  }
  if (c == '\r') {
    const int next = std::getc(file);
    if (next != '\n' && next != EOF) std::ungetc(next, file);
  }
  return true;
}

bool IsBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

void TrimAroundFirstEquals(std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos || eq == 0) return;
  while (eq > 0 && IsBlankOrTab(line[eq - 1]))
    line.erase(--eq, 1);
  while (eq + 1 < line.size() && IsBlankOrTab(line[eq + 1]))
    line.erase(eq + 1, 1);
}

void StripValueQuotes(std::string& line) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos || eq == 0 || line.size() - eq - 1 < 2) return;
  const char quote = line[eq + 1];
  if ((quote == '"' || quote == '\'') && line.back() == quote) {
    line.pop_back();
    line.erase(eq + 1, 1);
  }
}

void TrimTrailingControls(std::string& line) {
  while (!line.empty() && static_cast<unsigned char>(line.back()) < 0x21)
    line.pop_back();
}

}  // namespace

// --- life cycle ----------------------------------------------------------------

TIniFile::TIniFile(const std::string& fileName) {
  ChangeFile(fileName);
}

TIniFile::~TIniFile() {
  try {
    Flush();
  } catch (...) {
    // A destructor must not throw; callers that care flush first.
  }
}

void TIniFile::ChangeFile(const std::string& fileName) {
  Flush();
  Clear();
  fileName_ = fileName;  // a path is never cut: a deep folder must still get its file
  if (!fileName_.empty()) LoadFile(fileName_);
  modified_ = false;
}

void TIniFile::Clear() {
  sections_.Clear();
  currentSection_ = 0;
}

// --- loading and writing back ----------------------------------------------------

void TIniFile::LoadFile(const std::string& fileName) {
  currentSection_ = 0;
  if (native::Kind(fileName) < 0) return;  // nothing there: nothing to load

  std::vector<char> buffer;  // declared first: it must outlive the open file
  const int fd = native::OpenForReading(fileName);
  // Gone since it was seen (another copy of the program replacing its job
  // file): nothing to load, as if it had never been there.
  if (fd == -1 && errno == ENOENT) return;
  if (fd < 0) RaiseFileError("Cannot open", fileName, native::OpenFailure(fd));
  TOpenFile file(native::ReadStream(fd));
  if (!file.Get()) RaiseFileError("Cannot open", fileName, errno);
  UseBuffer(file.Get(), buffer, TextBufferSize);

  TLines* target = nullptr;  // lines before the first section header are dropped
  std::string line;
  bool first = true;
  while (ReadLine(file.Get(), line)) {
    if (std::exchange(first, false) && SkipByteOrderMark && line.rfind("\xEF\xBB\xBF", 0) == 0)
      line.erase(0, 3);
    if (line.size() == 1 && line[0] == kEndOfFileMark) continue;
    if (line.empty() || (SkipComments && line[0] == ';')) continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      target = &sections_.Lines(sections_.Add(line.substr(1, line.size() - 2)));
      continue;
    }
    if (TrimAroundEquals) TrimAroundFirstEquals(line);
    if (StripQuotes) StripValueQuotes(line);
    if (TrimTrailing) TrimTrailingControls(line);
    if (RequireEquals && line.find('=') == std::string::npos) continue;
    if (target) target->push_back(line);
  }
  if (std::ferror(file.Get())) RaiseFileError("Cannot read", fileName, errno);

  if (sections_.MergeDuplicates(OnDuplicateSection)) modified_ = true;
  if (file.Close() != 0) RaiseFileError("Cannot close", fileName, errno);
}

void TIniFile::Flush() {
  if (!modified_) return;
  if (!fileName_.empty()) WriteWholeFile();
  modified_ = false;
}

void TIniFile::Save() {
  Flush();
}

void TIniFile::WriteWholeFile() {
  std::string bytes;
  for (int i = 0; i < sections_.Count(); ++i) {
    const TLines& lines = sections_.Lines(i);
    if (lines.empty()) continue;
    bytes.append("[").append(sections_.Name(i)).append("]\r\n");
    for (const std::string& line : lines)
      bytes.append(line).append("\r\n");
    bytes.append("\r\n");
  }
  WriteFileAtomically(fileName_, bytes);
}

// --- lookup --------------------------------------------------------------------

TIniFile::TKeyPosition TIniFile::FindKey(const std::string& section, const std::string& key,
                                         bool create) {
  const std::string name = Cut(section);
  const std::string wanted = Cut(key);
  const int count = sections_.Count();
  bool found = false;
  if (count > 0) {
    if (currentSection_ < 0 || currentSection_ >= count) currentSection_ = 0;
    const int stop = currentSection_ == 0 ? count - 1 : currentSection_ - 1;
    while (!(found = ansi::SameText(sections_.Name(currentSection_), name)) &&
           currentSection_ != stop)
      currentSection_ = (currentSection_ + 1) % count;
  }
  if (!found) {
    if (!create) return {};
    currentSection_ = sections_.Add(name);
    return {&sections_.Lines(currentSection_), -1};
  }
  TLines& lines = sections_.Lines(currentSection_);
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t eq = lines[i].find('=');
    if (eq != std::string::npos && ansi::SameText(std::string_view(lines[i]).substr(0, eq), wanted))
      return {&lines, static_cast<int>(i)};
  }
  return {&lines, -1};
}

bool TIniFile::SectionExists(const std::string& section) {
  return sections_.FindSection(Cut(section)) >= 0;
}

bool TIniFile::HasSection(const std::string& section) {
  return SectionExists(section);
}

bool TIniFile::KeyExists(const std::string& section, const std::string& key) {
  std::vector<std::string> keys;
  ReadSectionKeys(section, keys);
  const std::string wanted = Cut(key);
  for (const std::string& k : keys)
    if (ansi::SameText(k, wanted)) return true;
  return false;
}

// --- changes -------------------------------------------------------------------

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  // Looked up in creating mode, as every key write is: a missing section is
  // added, empty, and is never written to the file.
  const TKeyPosition position = FindKey(section, key, true);
  if (position.index < 0) return;
  position.lines->erase(position.lines->begin() + position.index);
  modified_ = true;
}

void TIniFile::EraseSection(const std::string& section) {
  const int index = sections_.FindSection(Cut(section));
  if (index < 0) return;
  sections_.Delete(index);
  modified_ = true;
  if (currentSection_ >= sections_.Count()) currentSection_ = 0;
}

void TIniFile::StoreLine(const std::string& section, const std::string& key,
                         const std::string& value, size_t lineLimit) {
  const std::string name = Cut(section);
  const std::string wanted = Cut(key);
  if (wanted.empty()) {
    if (!name.empty() || !value.empty()) {
      EraseSection(name);
    } else {
      Flush();
    }
    return;
  }
  std::string line = wanted + "=" + value;
  if (line.size() > lineLimit) line.resize(lineLimit);
  const TKeyPosition position = FindKey(name, wanted, true);
  if (position.index < 0) {
    position.lines->push_back(std::move(line));
    modified_ = true;
  } else if ((*position.lines)[position.index] != line) {
    (*position.lines)[position.index] = std::move(line);
    modified_ = true;
  }
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  StoreLine(section, key, value, kMaxText);
}

void TIniFile::WriteLongString(const std::string& section, const std::string& key,
                               const std::string& value) {
  StoreLine(section, key, value, std::string::npos);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
  WriteString(section, key, FormatFloat(value));
}

void TIniFile::WriteDate(const std::string& section, const std::string& key, TDateTime value) {
  long long day, ms;
  SplitDateTime(value, day, ms);
  WriteString(section, key, FormatDay(day));
}

void TIniFile::WriteTime(const std::string& section, const std::string& key, TDateTime value) {
  long long day, ms;
  SplitDateTime(value, day, ms);
  WriteString(section, key, FormatTimeOfDay(ms));
}

void TIniFile::WriteDateTime(const std::string& section, const std::string& key, TDateTime value) {
  long long day, ms;
  SplitDateTime(value, day, ms);
  WriteString(section, key, FormatDay(day) + " " + FormatTimeOfDay(ms));
}

// --- reads ---------------------------------------------------------------------

std::string TIniFile::ReadValue(const std::string& section, const std::string& key,
                                const std::string& defaultValue, size_t valueLimit) {
  const TKeyPosition position = FindKey(section, key, false);
  if (position.index < 0) return defaultValue;
  // The matching line starts with the key (in some letter case) and its '='.
  return (*position.lines)[position.index].substr(Cut(key).size() + 1, valueLimit);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
  return ReadValue(section, key, defaultValue, kMaxText);
}

std::string TIniFile::ReadLongString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
  return ReadValue(section, key, defaultValue, std::string::npos);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) {
  int value;
  return ParseInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key,
                           double defaultValue) {
  double value;
  return ParseFloat(ReadString(section, key, ""), value) ? value : defaultValue;
}

TDateTime TIniFile::ReadDate(const std::string& section, const std::string& key,
                             TDateTime defaultValue) {
  TDateTime value;
  return ParseDate(ansi::Trim(ReadString(section, key, "")), value) ? value : defaultValue;
}

TDateTime TIniFile::ReadTime(const std::string& section, const std::string& key,
                             TDateTime defaultValue) {
  TDateTime value;
  return ParseTime(ansi::Trim(ReadString(section, key, "")), value) ? value : defaultValue;
}

TDateTime TIniFile::ReadDateTime(const std::string& section, const std::string& key,
                                 TDateTime defaultValue) {
  TDateTime value;
  return ParseDateTime(ReadString(section, key, ""), value) ? value : defaultValue;
}

void TIniFile::ReadSectionKeys(const std::string& section, std::vector<std::string>& list) {
  const int index = sections_.FindSection(Cut(section));
  if (index < 0) return;
  for (const std::string& line : sections_.Lines(index)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    if (SkipComments && line[0] == ';') continue;
    list.push_back(line.substr(0, eq));
  }
}

void TIniFile::ReadSectionNames(std::vector<std::string>& list) {
  list.clear();
  for (int i = 0; i < sections_.Count(); ++i)
    list.push_back(sections_.Name(i));
}

void TIniFile::ReadSectionLines(const std::string& section, std::vector<std::string>& list) {
  const int index = sections_.FindSection(Cut(section));
  if (index < 0) return;
  if (ClearTarget) list.clear();
  const TLines& lines = sections_.Lines(index);
  list.insert(list.end(), lines.begin(), lines.end());
}

void TIniFile::ReadAll(std::vector<std::string>& list) {
  for (int i = 0; i < sections_.Count(); ++i) {
    const TLines& lines = sections_.Lines(i);
    if (lines.empty()) continue;
    list.push_back("[" + sections_.Name(i) + "]");
    list.insert(list.end(), lines.begin(), lines.end());
    list.push_back("");
  }
}
