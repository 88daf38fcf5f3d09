#pragma once
// Reads a text file line by line through one reused buffer: a line ends at CR,
// LF or CR LF, a final line break starts no further line, and a NUL byte ends
// the text. Lines are bytes; nothing else is interpreted.
#include <memory>
#include <string>
#include <string_view>

class TLineReader {
 public:
  static constexpr size_t kChunkSize = 1 << 20;

  // Fails with "Cannot open file "<path>". <reason>" when the file cannot be read.
  explicit TLineReader(const std::string& path, size_t chunkSize = kChunkSize);
  // Reads `bytes` as the file's whole content.
  struct TBytes {
    std::string_view bytes;
  };
  explicit TLineReader(TBytes content);
  ~TLineReader();
  TLineReader(const TLineReader&) = delete;
  TLineReader& operator=(const TLineReader&) = delete;

  // The next line without its break; false at the end of the text. The view
  // stays valid until the next call.
  bool Next(std::string_view& line);

  // The complete lines of the unread data as one block, each line with its
  // break (a CR LF pair whole); reads on while no line is complete. False
  // when no complete line is left: the rest, if any, is the last line,
  // without a break, for Next. The view stays valid until the next call.
  bool NextLines(std::string_view& block);

 private:
  // Reads more of the file behind the unread part; false when nothing came.
  bool Refill();

  std::string path_;
  int fd_ = -1;
  size_t chunkSize_;
  // Uninitialised storage: a small file never pays for zeroing a big buffer.
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  size_t pos_ = 0;              // start of the unread part
  size_t end_ = 0;              // end of the data in the buffer
  bool atEnd_ = false;          // no more data will come (end of file or NUL)
  bool skipLeadingLf_ = false;  // the last line ended with a CR at the end of the data
  static constexpr size_t kNone = static_cast<size_t>(-1);
  // The first CR or LF of the unread part, or kNone.
  size_t FindBreak() const;
  // Drops the LF of a CR LF pair split by the last read; false when the
  // text ended first.
  bool SkipSplitLf();
};
