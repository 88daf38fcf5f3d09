#pragma once
// Writing a file whole, safely: the bytes go to a temporary file created
// exclusively (a unique name, never an existing file or a link) in the
// target's folder, and that file is renamed over the target. A reader never
// sees half a file, a failed write leaves the old file whole, two copies of
// the program never share a temporary file, and a link planted at the
// target's name is replaced, never written through.
//
// Header-only, so the INI engine below this library writes the same way.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Error.h"

namespace file_util {

// The temporary file's name: hidden, beside the target, short enough for any
// target name the folder can hold.
inline std::string TemporaryTemplate(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  return folder + ".kav_pnb.XXXXXX";
}

// "Cannot <verb> file "<path>". <reason>"
[[noreturn]] inline void Fail(const char* verb, const std::string& path, int error) {
  throw EKavError(std::string("Cannot ") + verb + " file \"" + path + "\". " +
                  std::strerror(error != 0 ? error : EIO));
}

// The permissions the new file gets: those of the regular file it replaces,
// else those of any new file.
inline mode_t ModeFor(const std::string& path) {
  struct stat old;
  if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace file_util

// Replaces the file at `path` (a real path) with `bytes`. Raises EKavError
// "Cannot create file ...", "Cannot write file ..." or "Cannot replace file
// ..." with the system's reason, by the step that failed.
inline void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  using file_util::Fail;
  std::string temp = file_util::TemporaryTemplate(path);
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) Fail("create", path, errno);
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
  // mkostemp makes the file private: give it the old file's permissions.
  if (error == 0) ::fchmod(fd, file_util::ModeFor(path));
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    Fail("write", path, error);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ::unlink(temp.c_str());
    Fail("replace", path, error);
  }
}
