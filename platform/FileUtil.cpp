#include "platform/FileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Error.h"

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
  throw EKavError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) Fail(path, errno);
  size_t written = 0;
  int error = 0;
  // Blocks reserved up front are not "delayed allocation": replacing a file
  // by rename then does not make the file system start writing it back at
  // once, which would cost more than the whole write.
  if (!bytes.empty()) (void)::fallocate(fd, 0, 0, static_cast<off_t>(bytes.size()));
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    written += static_cast<size_t>(n);
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  // mkstemp makes the file private: give it the old file's permissions, or
  // those of any new file.
  if (error == 0) {
    struct stat old;
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
      mode = old.st_mode & 07777;
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    ::chmod(temp.c_str(), mode);
  }
  if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    Fail(path, error);
  }
}
