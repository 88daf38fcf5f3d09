#include "flatfile/LineReader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Error.h"
#include "platform/NativeFile.h"

TLineReader::TLineReader(const std::string& path, size_t chunkSize)
    : path_(path), chunkSize_(chunkSize < 16 ? 16 : chunkSize) {
  fd_ = native::OpenForReading(path);
  if (fd_ < 0) throw EKavError("Cannot open file \"" + path + "\". " + native::OpenFailure(fd_));
  // A buffer no bigger than the file (plus room to see its end), up to a chunk.
  size_t size = chunkSize_;
  const long long fileSize = native::RegularFileSize(fd_);
  if (fileSize >= 0 && static_cast<size_t>(fileSize) + 16 < chunkSize_)
    size = static_cast<size_t>(fileSize) + 16;
  capacity_ = size;
  buffer_.reset(new char[capacity_]);
}

TLineReader::TLineReader(TBytes content) : path_(), chunkSize_(content.bytes.size() + 16) {
  capacity_ = chunkSize_;
  buffer_.reset(new char[capacity_]);
  // As in a file, a NUL byte ends the text.
  const size_t nul = content.bytes.find('\0');
  end_ = nul == std::string_view::npos ? content.bytes.size() : nul;
  if (end_ > 0) std::memcpy(buffer_.get(), content.bytes.data(), end_);
  atEnd_ = true;
}

TLineReader::~TLineReader() {
  if (fd_ >= 0) native::Close(fd_);
}

bool TLineReader::Refill() {
  if (atEnd_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
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

size_t TLineReader::FindBreak() const {
  const char* base = buffer_.get();
  size_t at = pos_;
#if defined(__SSE2__)
  // Both kinds of break in one pass, sixteen bytes at a time: lines are short.
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  for (; at + 16 <= end_; at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at));
    const unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
    if (mask != 0) return at + static_cast<size_t>(__builtin_ctz(mask));
  }
#endif
  for (; at < end_; ++at)
    if (base[at] == '\r' || base[at] == '\n') return at;
  return kNone;
}

bool TLineReader::SkipSplitLf() {
  if (!skipLeadingLf_) return true;
  if (pos_ == end_ && !Refill()) {
    skipLeadingLf_ = false;
    return false;
  }
  if (buffer_[pos_] == '\n') ++pos_;
  skipLeadingLf_ = false;
  return true;
}

bool TLineReader::NextLines(std::string_view& block) {
  if (!SkipSplitLf()) return false;
  while (true) {
    size_t last = end_;
    while (last > pos_ && buffer_[last - 1] != '\n' && buffer_[last - 1] != '\r')
      --last;
    if (last > pos_) {
      // A CR at the end of the data may have its LF in the next read.
      if (buffer_[last - 1] == '\r' && last == end_) skipLeadingLf_ = true;
      block = std::string_view(buffer_.get() + pos_, last - pos_);
      pos_ = last;
      return true;
    }
    if (!Refill()) return false;
  }
}

bool TLineReader::Next(std::string_view& line) {
  while (true) {
    if (!SkipSplitLf()) return false;
    const size_t brk = FindBreak();
    if (brk != kNone) {
      line = std::string_view(buffer_.get() + pos_, brk - pos_);
      pos_ = brk + 1;
      if (buffer_[brk] == '\r') {
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
