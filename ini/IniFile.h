#pragma once
// TIniFile keeps a whole INI-style file in memory as an ordered list of
// sections, each an ordered list of lines, answers reads and writes from
// memory, and writes the whole file back in one pass when something changed.
//
// Lines are bytes and are never re-encoded. Lines read from a file, lines built
// by WriteString, and section names and keys passed in are cut to 255
// characters; WriteLongString and ReadLongString have no limit.
//
// Writing back goes to "<FileName>.tmp" in the same folder, which then replaces
// the file, so a failed write leaves the old file whole. Every file failure
// raises EKavError naming the file and giving the system's reason.
#include <functional>
#include <string>
#include <vector>

#include "ini/IniValues.h"
#include "ini/SectionList.h"

// Days since 1899-12-30; the fractional part is the time of day.

class TIniFile {
 public:
  using TLines = std::vector<std::string>;
  using TDuplicateSectionEvent =
      std::function<bool(const std::string& name, std::vector<std::string>& keptLines,
                         std::vector<std::string>& droppedLines)>;

  // Where FindKey found a key: the section's lines (null when the section is
  // missing) and the key's line among them (-1 when the key is missing).
  struct TKeyPosition {
    TLines* lines = nullptr;
    int index = -1;
  };

  static constexpr int kDefaultTextBufferSize = 28672;

  // Loads the file when it exists; Modified() is false afterwards. Only a
  // regular file is read: anything else at the name (a FIFO, a device, a
  // folder) raises "Cannot open file "<name>". Not a regular file".
  explicit TIniFile(const std::string& fileName);
  // Writes pending changes back; a failure is swallowed here, so callers that
  // must know call Flush first.
  virtual ~TIniFile();

  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  virtual void LoadFile(const std::string& fileName);
  virtual void Clear();
  virtual void DeleteKey(const std::string& section, const std::string& key);
  virtual void EraseSection(const std::string& section);
  virtual void Flush();
  virtual bool SectionExists(const std::string& section);
  virtual std::string ReadLongString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue);
  virtual void ReadAll(std::vector<std::string>& list);
  virtual bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
  virtual TDateTime ReadDate(const std::string& section, const std::string& key,
                             TDateTime defaultValue);
  virtual TDateTime ReadDateTime(const std::string& section, const std::string& key,
                                 TDateTime defaultValue);
  virtual double ReadFloat(const std::string& section, const std::string& key, double defaultValue);
  virtual int ReadInteger(const std::string& section, const std::string& key, int defaultValue);
  virtual void ReadSectionKeys(const std::string& section, std::vector<std::string>& list);
  virtual void ReadSectionNames(std::vector<std::string>& list);
  virtual void ReadSectionLines(const std::string& section, std::vector<std::string>& list);
  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue);
  virtual TDateTime ReadTime(const std::string& section, const std::string& key,
                             TDateTime defaultValue);
  virtual bool HasSection(const std::string& section);
  virtual void Save();
  virtual bool KeyExists(const std::string& section, const std::string& key);
  virtual void WriteLongString(const std::string& section, const std::string& key,
                               const std::string& value);
  virtual void WriteBool(const std::string& section, const std::string& key, bool value);
  virtual void WriteDate(const std::string& section, const std::string& key, TDateTime value);
  virtual void WriteDateTime(const std::string& section, const std::string& key, TDateTime value);
  virtual void WriteFloat(const std::string& section, const std::string& key, double value);
  virtual void WriteInteger(const std::string& section, const std::string& key, int value);
  virtual void WriteString(const std::string& section, const std::string& key,
                           const std::string& value);
  virtual void WriteTime(const std::string& section, const std::string& key, TDateTime value);

  // Flushes the current file, forgets it and loads the new one (if named).
  void ChangeFile(const std::string& fileName);
  // Looks a key up, starting at the current section index and wrapping round.
  // With create set, a missing section is appended (empty) and returned.
  TKeyPosition FindKey(const std::string& section, const std::string& key, bool create);

  const std::string& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }
  int CurrentSection() const { return currentSection_; }
  const TSectionList& Sections() const { return sections_; }

  TDuplicateSectionEvent OnDuplicateSection;
  int TextBufferSize = kDefaultTextBufferSize;  // I/O buffer in bytes; 0 = the C library's own
  bool ClearTarget = false;        // ReadSectionLines empties the list before filling it
  bool SkipComments = false;       // lines (and keys) starting with ';' are left out
  bool RequireEquals = false;      // loading drops lines without '='
  bool TrimAroundEquals = false;   // loading drops blanks and tabs next to the first '='
  bool StripQuotes = false;        // loading drops matching quotes around a value
  bool TrimTrailing = false;       // loading drops trailing blanks and control characters
  bool SkipByteOrderMark = false;  // loading drops a UTF-8 byte-order mark before the first line

 protected:
  void SetModified(bool modified) { modified_ = modified; }

 private:
  void StoreLine(const std::string& section, const std::string& key, const std::string& value,
                 size_t lineLimit);
  std::string ReadValue(const std::string& section, const std::string& key,
                        const std::string& defaultValue, size_t valueLimit);
  void WriteWholeFile();

  std::string fileName_;
  int currentSection_ = 0;
  bool modified_ = false;
  TSectionList sections_;
};
