#pragma once
// Standard output written straight to its file descriptor through a large
// buffer, remembering why a write failed: a full disk or a closed output is
// reported by the tool, never lost behind a stream's fail bit.
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

class TDescriptorOutput : public std::streambuf {
 public:
  explicit TDescriptorOutput(int descriptor);
  ~TDescriptorOutput() override;
  TDescriptorOutput(const TDescriptorOutput&) = delete;
  TDescriptorOutput& operator=(const TDescriptorOutput&) = delete;

  // The system's error number of the first write that failed; 0: none.
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int sync() override;

 private:
  // Writes out what is buffered; false once a write has failed.
  bool Drain();
  bool WriteAll(const char* bytes, size_t count);

  int descriptor_;
  std::vector<char> buffer_;
  int error_ = 0;
};

// Lines written to it go on to another stream, each turned by `convert`
// first: the error stream in the run's text encoding. A last line without
// its end goes on when the object goes.
class TConvertedLines : public std::streambuf {
 public:
  TConvertedLines(std::ostream& to, std::function<std::string(std::string_view)> convert)
      : to_(to), convert_(std::move(convert)) {}
  ~TConvertedLines() override;
  TConvertedLines(const TConvertedLines&) = delete;
  TConvertedLines& operator=(const TConvertedLines&) = delete;

 protected:
  int_type overflow(int_type c) override;

 private:
  void PassOn();

  std::ostream& to_;
  std::function<std::string(std::string_view)> convert_;
  std::string line_;
};

// Makes sure the standard descriptors 0, 1 and 2 are open, so no file the
// tool opens later takes one of their numbers and receives its output. A
// closed output is replaced by one every write to fails.
void KeepStandardDescriptors();
