// The chunked line reader against a plain splitter, at chunk sizes small
// enough that every break and NUL lands on a chunk boundary somewhere, read
// line by line and in blocks of lines.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

#include "TestSupport.h"
#include "flatfile/LineReader.h"

namespace {

std::vector<std::string> PlainLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line, text = bytes.substr(0, bytes.find('\0'));
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(line);
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

TEST(LineReaderTest, AgreesWithAPlainSplitterAtEveryChunkSize) {
  TempDir dir;
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n', '|', '\0'};
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int length = static_cast<int>(random() % 60);
    for (int i = 0; i < length; ++i) {
      // NUL rarely, so most texts run to the end.
      const int pick = static_cast<int>(random() % 100);
      bytes += pick == 0 ? '\0' : alphabet[pick % 5];
    }
    WriteFile(dir / "f", bytes);
    for (size_t chunk : {16u, 17u, 19u, 64u}) {
      // Line by line; or, as a filtered open reads, blocks of whole lines
      // first and the rest line by line.
      for (bool blocks : {false, true}) {
        errno = EINTR;  // as an interrupted call before may leave it: no reason to read again
        TLineReader reader(dir / "f", chunk);
        std::vector<std::string> lines;
        std::string_view text;
        while (blocks && reader.NextLines(text))
          for (const std::string& line : PlainLines(std::string(text)))
            lines.push_back(line);
        while (reader.Next(text))
          lines.emplace_back(text);
        ASSERT_EQ(lines, PlainLines(bytes))
            << "round " << round << " chunk " << chunk << " blocks " << blocks;
      }
    }
  }
}

TEST(LineReaderTest, CrOnlyFileIsReadInLinearTime) {
  // Half a million CR-terminated lines: a reader that rescans for LF from
  // every line start would take hours here.
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 500000; ++i)
    bytes += "row\r";
  WriteFile(dir / "f", bytes);
  TLineReader reader(dir / "f");
  std::string_view line;
  int count = 0;
  while (reader.Next(line))
    ++count;
  EXPECT_EQ(count, 500000);
}

}  // namespace
