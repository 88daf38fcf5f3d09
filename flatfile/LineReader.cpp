#include "flatfile/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Error.h"
#include "platform/NativeFile.h"

TLineReader::TLineReader(const std::string& path, size_t chunkSize)
    : path_(path), chunkSize_(chunkSize < 16 ? 16 : chunkSize) {
  fd_ = native::OpenForReading(path);
  if (fd_ < 0) throw EKavError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  // A buffer no bigger than the file (plus room to see its end), up to a chunk.
  size_t size = chunkSize_;
  const long long fileSize = native::RegularFileSize(fd_);
  if (fileSize >= 0 && static_cast<size_t>(fileSize) + 16 < chunkSize_)
    size = static_cast<size_t>(fileSize) + 16;
  capacity_ = size;
  buffer_.reset(new char[capacity_]);
}

TLineReader::~TLineReader() {
  if (fd_ >= 0) native::Close(fd_);
}

bool TLineReader::Refill() {
  if (atEnd_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
    Shift(cr_, pos_);
    Shift(lf_, pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == capacity_) {  // a line longer than the buffer, or a file that grew
    std::unique_ptr<char[]> bigger(new char[capacity_ * 2]);
    std::memcpy(bigger.get(), buffer_.get(), end_);
    buffer_ = std::move(bigger);
    capacity_ *= 2;
  }
  long long n;
  do {
    n = native::Read(fd_, buffer_.get() + end_, capacity_ - end_);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw EKavError("Cannot read file \"" + path_ + "\". " + std::strerror(errno));
  if (n == 0) {
    atEnd_ = true;
  } else {
    const char* start = buffer_.get() + end_;
    const void* nul = std::memchr(start, 0, static_cast<size_t>(n));
    if (nul != nullptr) {  // the text ends at the first NUL
      n = static_cast<const char*>(nul) - start;
      atEnd_ = true;
    }
    end_ += static_cast<size_t>(n);
  }
  if (atEnd_ && fd_ >= 0) {
    native::Close(fd_);
    fd_ = -1;
  }
  return n > 0;
}

void TLineReader::Shift(BreakScan& scan, size_t by) {
  if (scan.next != kNone && scan.next < by) {
    scan = {kNone, 0};
    return;
  }
  if (scan.next != kNone) scan.next -= by;
  scan.scannedTo = scan.scannedTo > by ? scan.scannedTo - by : 0;
}

size_t TLineReader::NextOf(BreakScan& scan, char c) {
  if (scan.next != kNone && scan.next >= pos_) return scan.next;
  const size_t from = scan.next == kNone ? std::max(scan.scannedTo, pos_) : pos_;
  const void* found = from < end_ ? std::memchr(buffer_.get() + from, c, end_ - from) : nullptr;
  scan.next = found != nullptr
                  ? static_cast<size_t>(static_cast<const char*>(found) - buffer_.get())
                  : kNone;
  scan.scannedTo = end_;
  return scan.next;
}

bool TLineReader::Next(std::string_view& line) {
  while (true) {
    if (skipLeadingLf_) {
      if (pos_ == end_ && !Refill()) {
        skipLeadingLf_ = false;
        return false;
      }
      if (pos_ < end_) {
        if (buffer_[pos_] == '\n') ++pos_;
        skipLeadingLf_ = false;
      }
      continue;
    }
    const size_t cr = NextOf(cr_, '\r');
    const size_t lf = NextOf(lf_, '\n');
    const size_t brk = std::min(cr, lf);
    if (brk != kNone) {
      line = std::string_view(buffer_.get() + pos_, brk - pos_);
      pos_ = brk + 1;
      if (brk == cr) {
        if (pos_ < end_) {
          if (buffer_[pos_] == '\n') ++pos_;
        } else {
          skipLeadingLf_ = true;  // the LF of a CR LF may come with the next read
        }
      }
      return true;
    }
    if (Refill()) continue;
    if (pos_ < end_) {  // the last line, without a break
      line = std::string_view(buffer_.get() + pos_, end_ - pos_);
      pos_ = end_;
      return true;
    }
    return false;
  }
}
