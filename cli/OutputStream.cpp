#include "cli/OutputStream.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr size_t kBufferSize = 1 << 16;

long WriteSome(int descriptor, const char* bytes, size_t count) {
#ifdef _WIN32
  return ::_write(descriptor, bytes, static_cast<unsigned>(count > (1u << 30) ? 1u << 30 : count));
#else
  return static_cast<long>(::write(descriptor, bytes, count));
#endif
}

}  // namespace

TDescriptorOutput::TDescriptorOutput(int descriptor) : descriptor_(descriptor) {
  buffer_.resize(kBufferSize);
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

TDescriptorOutput::~TDescriptorOutput() {
  Drain();
}

TDescriptorOutput::int_type TDescriptorOutput::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize TDescriptorOutput::xsputn(const char* bytes, std::streamsize count) {
  const size_t size = static_cast<size_t>(count);
  if (size <= static_cast<size_t>(epptr() - pptr())) {
    std::memcpy(pptr(), bytes, size);
    pbump(static_cast<int>(size));
    return count;
  }
  // A block larger than the room left goes out at once, after what is buffered.
  if (!Drain() || !WriteAll(bytes, size)) return 0;
  return count;
}

int TDescriptorOutput::sync() {
  return Drain() ? 0 : -1;
}

bool TDescriptorOutput::Drain() {
  const size_t used = static_cast<size_t>(pptr() - pbase());
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return WriteAll(buffer_.data(), used);
}

bool TDescriptorOutput::WriteAll(const char* bytes, size_t count) {
  while (error_ == 0 && count > 0) {
    const long written = WriteSome(descriptor_, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error_ = written < 0 ? errno : EIO;
      break;
    }
    bytes += written;
    count -= static_cast<size_t>(written);
  }
  return error_ == 0;
}

TConvertedLines::~TConvertedLines() {
  PassOn();
}

TConvertedLines::int_type TConvertedLines::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  line_ += traits_type::to_char_type(c);
  if (line_.back() == '\n') PassOn();
  return c;
}

void TConvertedLines::PassOn() {
  if (line_.empty()) return;
  to_ << convert_(line_);
  to_.flush();
  line_.clear();
}

void KeepStandardDescriptors() {
#ifndef _WIN32
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // Opened read-only, a stand-in output fails every write (EBADF), which
    // the tool reports; input reads as empty.
    const int opened = ::open("/dev/null", descriptor == 2 ? O_WRONLY : O_RDONLY);
    if (opened >= 0 && opened != descriptor) {
      ::dup2(opened, descriptor);
      ::close(opened);
    }
  }
#endif
}
