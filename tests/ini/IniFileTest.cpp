#include "ini/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <iterator>

#include "TestSupport.h"
#include "platform/Error.h"

namespace {

using TLines = std::vector<std::string>;
namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return (folder_ / name).string(); }

  // Loads the bytes, with the given options set, into an engine with no file name.
  std::unique_ptr<TIniFile> Load(const std::string& bytes,
                                 const std::function<void(TIniFile&)>& options = {}) {
    WriteFile(path_, bytes);
    auto ini = std::make_unique<TIniFile>("");
    if (options) options(*ini);
    ini->LoadFile(path_);
    return ini;
  }
  static TLines Lines(TIniFile& ini, const std::string& section) {
    TLines lines;
    ini.ReadSectionLines(section, lines);
    return lines;
  }
  static TLines Names(TIniFile& ini) {
    TLines names;
    ini.ReadSectionNames(names);
    return names;
  }

  TempDir dir_;
  const fs::path folder_{dir_.Path()};
  const std::string path_ = File("test.ini");
};

TEST_F(IniFileTest, LoadingKeepsSectionLinesAndDropsTheRest) {
  auto ini = Load("lost=1\r\n[a]\r\nk=v\r\n\r\n\x1A\r\n [b] \r\n;c\rx=1\n[]\n[A]\nlast=2");
  EXPECT_EQ(Names(*ini), (TLines{"a", ""}));  // [A] merged into [a]
  EXPECT_TRUE(ini->SectionExists("A"));
  EXPECT_EQ(Lines(*ini, "A"), (TLines{"k=v", " [b] ", ";c", "x=1"}));
  EXPECT_TRUE(ini->Modified());  // the merge counts as a change
  EXPECT_NO_THROW(ini->LoadFile(File("missing.ini")));
}

TEST_F(IniFileTest, LoadingOptionsAreAppliedInOrder) {
  const std::string bytes =
      "[s]\n;note\nbare\n]\nkey \t=\t value\nq=\"quoted\"\na='x'\nm=\"mixed'\n"
      "e=\"\"\n=\"lead\"\ntail=1! \t\x01\n";
  auto plain = Load(bytes);
  EXPECT_EQ(Lines(*plain, "s"),
            (TLines{";note", "bare", "]", "key \t=\t value", "q=\"quoted\"", "a='x'", "m=\"mixed'",
                    "e=\"\"", "=\"lead\"", "tail=1! \t\x01"}));
  EXPECT_EQ(plain->ReadString("s", "key", "none"), "none");  // blanks are significant

  auto all = Load(bytes, [](TIniFile& ini) {
    ini.SkipComments = ini.RequireEquals = ini.TrimAroundEquals = true;
    ini.StripQuotes = ini.TrimTrailing = true;
  });
  EXPECT_EQ(Lines(*all, "s"),
            (TLines{"key=value", "q=quoted", "a=x", "m=\"mixed'", "e=", "=\"lead\"", "tail=1!"}));
  EXPECT_EQ(all->ReadString("s", "KEY", ""), "value");

  // A line that starts with its '=' keeps its blanks.
  auto trimOnly =
      Load("[s]\n  = x\nk= \n= y\n", [](TIniFile& ini) { ini.TrimAroundEquals = true; });
  EXPECT_EQ(Lines(*trimOnly, "s"), (TLines{"=x", "k=", "= y"}));
  EXPECT_FALSE(trimOnly->Modified());  // one section: nothing merged
}

TEST_F(IniFileTest, SectionKeysAndLinesFollowTheOptions) {
  auto ini = Load("[s]\nk=1\n;c=2\nnoequals\n=empty\nK2=3\n");
  TLines keys{"old"};
  ini->ReadSectionKeys("S", keys);
  EXPECT_EQ(keys, (TLines{"old", "k", ";c", "K2"}));
  ini->SkipComments = true;
  keys.clear();
  ini->ReadSectionKeys("s", keys);
  EXPECT_EQ(keys, (TLines{"k", "K2"}));
  EXPECT_TRUE(ini->KeyExists("s", "k2"));
  EXPECT_FALSE(ini->KeyExists("s", "noequals"));

  TLines lines{"old"};
  ini->ReadSectionLines("missing", lines);
  ini->ReadSectionLines("s", lines);
  EXPECT_EQ(lines.size(), 6u);
  ini->ClearTarget = true;
  ini->ReadSectionLines("s", lines);
  EXPECT_EQ(lines.size(), 5u);
  TLines all;
  ini->ReadAll(all);
  EXPECT_EQ(all, (TLines{"[s]", "k=1", ";c=2", "noequals", "=empty", "K2=3", ""}));
}

TEST_F(IniFileTest, DuplicateSectionsOnLoad) {
  const std::string bytes = "[d]\r\na=1\r\n\r\n[x]\r\nx=1\r\n\r\n[D]\r\nb=2\r\n\r\n";
  WriteFile(path_, bytes);
  {
    TIniFile ini(path_);
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(ini.ReadString("d", "a", ""), "1");
    EXPECT_EQ(ini.ReadString("d", "b", "gone"), "gone");
  }
  EXPECT_EQ(ReadFile(path_), bytes);  // not rewritten on destruction

  auto merged = Load(bytes, [](TIniFile& ini) {
    ini.OnDuplicateSection = [](const std::string&, TLines& kept, TLines& dropped) {
      kept.insert(kept.end(), dropped.begin(), dropped.end());
      return true;
    };
  });
  EXPECT_EQ(Lines(*merged, "d"), (TLines{"a=1", "b=2"}));
  auto later = Load(bytes, [](TIniFile& ini) {
    ini.OnDuplicateSection = [](const std::string&, TLines&, TLines&) { return false; };
  });
  EXPECT_EQ(Names(*later), (TLines{"x", "D"}));
}

TEST_F(IniFileTest, FindKeyStartsAtCurrentSectionAndWrapsRound) {
  auto ini = Load("[a]\nk=a\n[b]\nk=b\n[c]\nk=c\n");
  EXPECT_EQ(ini->CurrentSection(), 0);
  EXPECT_EQ(ini->ReadString("C", "k", ""), "c");
  EXPECT_EQ(ini->CurrentSection(), 2);
  EXPECT_EQ(ini->ReadString("a", "k", ""), "a");
  EXPECT_EQ(ini->CurrentSection(), 0);
  EXPECT_EQ(ini->FindKey("none", "k", false).lines, nullptr);
  EXPECT_EQ(ini->CurrentSection(), 2);  // a miss from 0 stops at the last section
  ini->ReadString("b", "k", "");
  ini->ReadString("none", "k", "");
  EXPECT_EQ(ini->CurrentSection(), 0);  // a miss from 1 stops at 0

  EXPECT_EQ(ini->FindKey("new", "k", true).index, -1);
  EXPECT_EQ(ini->CurrentSection(), 3);
  EXPECT_FALSE(ini->Modified());
  ini->EraseSection("new");
  EXPECT_EQ(ini->CurrentSection(), 0);
  EXPECT_TRUE(ini->Modified());
}

TEST_F(IniFileTest, WrittenFileHasExactBytes) {
  {
    TIniFile ini(path_);
    ini.WriteString("One", "k", "v");
    ini.WriteInteger("two", "n", -5);
    ini.DeleteKey("empty", "k");  // creates the section, empty
    ini.WriteString("one", "K2", "w");
    ini.WriteBool("Two", "b", true);
    ini.WriteString("ONE", "k", "changed");  // replaced in place
    EXPECT_TRUE(ini.SectionExists("EMPTY"));
    EXPECT_EQ(Names(ini), (TLines{"One", "two", "empty"}));
  }
  EXPECT_EQ(ReadFile(path_), "[One]\r\nk=changed\r\nK2=w\r\n\r\n[two]\r\nn=-5\r\nb=1\r\n\r\n");
  TIniFile ini(path_);
  ini.DeleteKey("two", "N");
  ini.Flush();
  EXPECT_EQ(ReadFile(path_), "[One]\r\nk=changed\r\nK2=w\r\n\r\n[two]\r\nb=1\r\n\r\n");
}

TEST_F(IniFileTest, RewritingChangesOnlyWhatDiffers) {
  TIniFile ini(path_);
  ini.WriteString("s", "Key", "value");
  ini.Flush();
  ini.WriteString("s", "Key", "value");
  EXPECT_FALSE(ini.Modified());
  ini.WriteString("s", "Key", "Value");
  EXPECT_TRUE(ini.Modified());
  ini.WriteString("S", "KEY", "Value");  // the caller's spelling of the key wins
  ini.Flush();
  EXPECT_EQ(ReadFile(path_), "[s]\r\nKEY=Value\r\n\r\n");
}

TEST_F(IniFileTest, WriteStringWithEmptyKey) {
  TIniFile ini(path_);
  for (const char* section : {"a", "b", ""})
    ini.WriteString(section, "k", "1");
  ini.WriteString("A", "", "");
  ini.WriteString("b", "", "x");
  EXPECT_EQ(Names(ini), TLines{""});
  ini.WriteString("", "", "x");  // erases the section named ""
  EXPECT_TRUE(Names(ini).empty());
  ini.WriteString("c", "k", "1");
  ini.WriteString("", "", "");  // flushes
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(ReadFile(path_), "[c]\r\nk=1\r\n\r\n");
}

TEST_F(IniFileTest, LengthLimits) {
  const std::string longText(300, 'x');
  {
    TIniFile ini(path_);
    ini.WriteString("s", "short", longText);
    ini.WriteLongString("s", "long", longText);
    EXPECT_EQ(ini.ReadLongString("s", "short", "").size(), 249u);
    EXPECT_EQ(ini.ReadLongString("s", "long", ""), longText);
    EXPECT_EQ(ini.ReadString("s", "long", "").size(), 255u);
    ini.WriteLongString("s", longText, "v");  // the key is cut to 255
    EXPECT_EQ(ini.ReadString("s", longText + "y", ""), "v");
    ini.WriteString(longText, "k", "v");
    EXPECT_EQ(Names(ini).back(), longText.substr(0, 255));
  }
  TIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("s", "long", "").size(), 250u);  // the line was cut at 255 on loading
}

TEST_F(IniFileTest, ReadIntegerAndBool) {
  auto ini = Load(
      "[n]\na=0x1A\nb=0X1A\nc=$1a\nd=12abc\ne=\nf=-$1A\ng=$FFFFFFFF\nh=2147483648\n"
      "i=-2147483648\nj= 42\nk=0x\nl=x0\nm=+1990\nn=$ff\no=1x10\np=1B\nq=1:\n");
  const std::pair<const char*, int> cases[] = {
      {"a", 26},   {"b", 26},  {"c", 26},      {"d", 7},  {"e", 7}, {"f", -26},
      {"g", -1},   {"h", 7},   {"i", INT_MIN}, {"j", 42}, {"k", 7}, {"l", 7},
      {"m", 1990}, {"n", 255}, {"o", 7},       {"p", 7},  {"q", 7}};
  for (const auto& [key, expected] : cases)
    EXPECT_EQ(ini->ReadInteger("n", key, 7), expected) << key;
  EXPECT_TRUE(ini->ReadBool("n", "a", false));
  EXPECT_TRUE(ini->ReadBool("n", "missing", true));
  EXPECT_FALSE(ini->ReadBool("n", "d", false));
}

TEST_F(IniFileTest, FloatsDatesAndTimesUseFixedFormats) {
  TIniFile ini("");
  const TDateTime noon = 45306.5;  // 2024-01-15 12:00
  ini.WriteFloat("v", "f", 0.1);
  ini.WriteFloat("v", "third", -(9 + 1.0 / 3));
  ini.WriteDate("v", "d", noon);
  ini.WriteTime("v", "t", 0.75 + 1.0 / 86400);
  ini.WriteDateTime("v", "dt", noon);
  ini.WriteDateTime("v", "old", -1.25);
  ini.WriteDate("v", "max", 2958464.999999999);  // its time rounds up to the last day
  ini.WriteDate("v", "min", -693593.5);
  EXPECT_EQ(Lines(ini, "v"),
            (TLines{"f=0.1", "third=-9.33333333333333", "d=2024-01-15", "t=18:00:01",
                    "dt=2024-01-15 12:00:00", "old=1899-12-29 06:00:00", "max=9999-12-31",
                    "min=0001-01-01"}));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("v", "third", 0), -9.33333333333333);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("v", "f", 0), 0.1);
  EXPECT_EQ(ini.ReadDate("v", "d", 0), 45306);
  EXPECT_DOUBLE_EQ(ini.ReadTime("v", "t", 0), 0.75 + 1.0 / 86400);
  EXPECT_DOUBLE_EQ(ini.ReadDateTime("v", "dt", 0), noon);
  EXPECT_DOUBLE_EQ(ini.ReadDateTime("v", "old", 0), -1.25);
  EXPECT_EQ(ini.ReadDateTime("v", "d", 0), 45306);
  const std::pair<const char*, const char*> texts[] = {
      {"bad", "2024-02-30"},   {"late", "24:00"},       {"min60", "12:60"},
      {"open", "12:"},         {"first", "0001-01-01"}, {"word", "-inf"},
      {"cut", "2024-01-"},     {"tail", "2024-01-15x"}, {"zero", "0000-12-31"},
      {"slash", "2024/01/15"}, {"wide", "2024-011-05"}, {"colon", "12:00:"},
      {"last", "23:59:59"}};
  for (const auto& [key, text] : texts)
    ini.WriteString("v", key, text);
  ini.WriteString("v", "day0", "1899-12-30 12:00");
  ini.WriteString("v", "late day", "2024-01-15 24:00");
  EXPECT_EQ(ini.ReadTime("v", "last", -9), 86399 / 86400.0);
  for (const char* key : {"bad", "late", "min60", "open", "colon", "d", "missing"})
    EXPECT_EQ(ini.ReadTime("v", key, -9), -9) << key;
  EXPECT_EQ(ini.ReadDate("v", "first", -9), -693593);
  EXPECT_EQ(ini.ReadDateTime("v", "day0", -9), 0.5);  // day 0 counts its time forward
  EXPECT_EQ(ini.ReadDateTime("v", "late day", -9), -9);
  for (const char* key : {"bad", "cut", "tail", "zero", "slash", "wide"})
    EXPECT_EQ(ini.ReadDate("v", key, -9), -9) << key;
  for (const char* key : {"d", "word", "missing"})
    EXPECT_EQ(ini.ReadFloat("v", key, -9), -9) << key;
  EXPECT_THROW(ini.WriteDate("v", "d", 1e300), EKavError);
  // A time that rounds up to a whole day, taking the date before the first day.
  EXPECT_THROW(ini.WriteDateTime("v", "d", -693593.9999999999), EKavError);
}

class TReversingIni : public TIniFile {
 public:
  using TIniFile::TIniFile;
  std::string ReadString(const std::string& s, const std::string& k,
                         const std::string& d) override {
    std::string v = TIniFile::ReadString(s, k, d);
    return {v.rbegin(), v.rend()};
  }
  void WriteString(const std::string& s, const std::string& k, const std::string& v) override {
    TIniFile::WriteString(s, k, {v.rbegin(), v.rend()});
  }
};

TEST_F(IniFileTest, TypedOperationsGoThroughStringOperations) {
  TReversingIni ini("");
  ini.WriteInteger("s", "i", 120);
  ini.WriteFloat("s", "f", 1.5);
  EXPECT_EQ(ini.ReadLongString("s", "i", ""), "021");
  EXPECT_EQ(ini.ReadInteger("s", "i", 0), 120);
  EXPECT_EQ(ini.ReadFloat("s", "f", 0), 1.5);
}

TEST_F(IniFileTest, FileNameFlushAndChangeFile) {
  TIniFile ini("");
  ini.WriteString("s", "k", "v");
  ini.Flush();  // no file name: nothing is written
  EXPECT_FALSE(ini.Modified());
  EXPECT_TRUE(fs::is_empty(folder_));

  ini.ChangeFile(path_);
  ini.WriteString("s", "k", "v");
  WriteFile(File("other.ini"), "[o]\nk=1\n[o]\nk=2\n");
  ini.ChangeFile(File("other.ini"));  // writes the pending change first
  EXPECT_EQ(ReadFile(path_), "[s]\r\nk=v\r\n\r\n");
  EXPECT_EQ(Names(ini), TLines{"o"});
  EXPECT_FALSE(ini.Modified());  // even though duplicates were merged
  EXPECT_EQ(TIniFile(std::string(300, 'f')).FileName().size(), 300u);
}

TEST_F(IniFileTest, FailedWriteKeepsOldFileAndModified) {
  const std::string old = "[s]\r\nk=old\r\n\r\n";
  WriteFile(path_, old);
  TIniFile ini(path_);
  ini.WriteString("s", "k", "new");
  // A folder where the file belongs: the new file cannot be put in place.
  fs::rename(path_, path_ + ".old");
  fs::create_directories(path_ + "/inside");
  // The system's reason follows: "Is a directory" here, "Access is denied" on Windows.
  EXPECT_EQ(ErrorOf([&] { ini.Flush(); }).rfind("Cannot replace file \"" + path_ + "\". ", 0), 0u);
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 2);  // no temporary file left
  fs::remove_all(path_);
  fs::rename(path_ + ".old", path_);
  EXPECT_EQ(ReadFile(path_), old);
  ini.Flush();
  EXPECT_EQ(ReadFile(path_), "[s]\r\nk=new\r\n\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);

  if (!RunningAsRoot()) {  // permissions do not stop root
    ini.WriteString("s", "k", "newer");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(ini.Flush(), EKavError);
    EXPECT_EQ(ReadFile(path_), "[s]\r\nk=new\r\n\r\n");
  }
}

TEST_F(IniFileTest, FailedReplaceRemovesTemporaryFile) {
  const std::string target = File("target");
  auto ini = std::make_unique<TIniFile>(target);
  fs::create_directory(target);
  WriteFile(target + "/inside", "x");
  ini->WriteString("s", "k", "v");
  EXPECT_EQ(ErrorOf([&] { ini->Flush(); }).rfind("Cannot replace file \"" + target, 0), 0u);
  EXPECT_TRUE(ini->Modified());
  EXPECT_FALSE(fs::exists(target + ".tmp"));
  EXPECT_EQ(ReadFile(target + "/inside"), "x");
  EXPECT_NO_THROW(ini.reset());  // the destructor swallows the same failure

  TIniFile gone(File("sub/gone.ini"));
  gone.WriteString("s", "k", "v");
  EXPECT_THROW(gone.Flush(), EKavError);
}

#ifndef _WIN32
// Anything but a regular file at the name is refused at once: a FIFO would
// wait for a writer for ever, /dev/zero is one endless line.
TEST_F(IniFileTest, OnlyARegularFileIsRead) {
  ::alarm(10);  // a load that waits ends the test program
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  for (const std::string& name : {path_, std::string("/dev/zero"), folder_.string()})
    EXPECT_EQ(ErrorOf([&] { TIniFile ini(name); }),
              "Cannot open file \"" + name + "\". Not a regular file");
  ::alarm(0);
  // A file opened as descriptor 0 is read as any other.
  fs::remove(path_);
  WriteFile(path_, "[s]\nk=v\n");
  std::string read;
  EXPECT_TRUE(WithoutStandardInput([&] { read = TIniFile(path_).ReadString("s", "k", ""); }));
  EXPECT_EQ(read, "v");
}
#endif

TEST_F(IniFileTest, BinaryGarbageAndHugeLinesLoad) {
  std::string bytes = "[bin]\nnul=a";
  bytes += std::string("\0b\xFF\x80", 4) + "\n" + std::string(100000, 'z') + "\r\r\n";
  for (int i = 0; i < 4096; ++i)
    bytes += static_cast<char>((i * 37) % 256);
  auto ini = Load(bytes);
  EXPECT_EQ(ini->ReadString("bin", "nul", ""), std::string("a\0b\xFF\x80", 5));
  EXPECT_EQ(Lines(*ini, "bin")[1], std::string(255, 'z'));
  ini->TextBufferSize = 0;
  EXPECT_NO_THROW(ini->LoadFile(path_));
}

}  // namespace
