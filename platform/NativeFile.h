#pragma once
// The few file calls the core makes, on the operating system's own API:
// POSIX on Linux, the C runtime's wide-character calls on Windows (file
// names are Windows-1252 text, turned into UTF-16 as all text is, and every
// file is opened in binary mode). Header-only, so the INI engine uses it too.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdint>

#include "platform/Cp1252.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace native {

// OpenForReading(path) gives a descriptor of the regular file at `path`,
// opened for reading, or -1 with errno set when it cannot be opened, or
// kNotRegularFile for anything else at the name (a FIFO, a device, a
// folder): such a file is refused, never read or waited on.
constexpr int kNotRegularFile = -2;

// The reason OpenForReading gave `result` (a negative result).
inline std::string OpenFailure(int result) {
  return result == kNotRegularFile ? "Not a regular file" : std::strerror(errno != 0 ? errno : EIO);
}

#ifdef _WIN32
inline std::wstring Wide(const std::string& path) {
  const std::u16string text = Utf16FromAnsi(path);
  return std::wstring(text.begin(), text.end());
}
inline std::filesystem::path Path(const std::string& path) {
  return std::filesystem::path(Wide(path));
}
// A path as the program's 8-bit text.
inline std::string Text(const std::filesystem::path& path) {
  return AnsiFromUtf16(path.u16string());
}
// Shared for deleting too, so that another copy of the program may replace
// the file while this one reads it, as it may on Linux.
inline int OpenForReading(const std::string& path) {
  const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // Only a name with nothing behind it is ENOENT: a file another program
    // holds is there all the same.
    const DWORD error = ::GetLastError();
    errno = error == ERROR_ACCESS_DENIED                                        ? EACCES
            : error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? EBUSY
                                                                                : ENOENT;
    return -1;
  }
  // A pipe or a device ("CON", "NUL") opens too: only a disk file is read.
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    return kNotRegularFile;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (fd < 0) ::CloseHandle(file);
  return fd;
}
inline long long Read(int fd, char* buffer, size_t size) {
  return ::_read(fd, buffer, static_cast<unsigned>(size));
}
inline int Close(int fd) {
  return ::_close(fd);
}
// The size of an open regular file, or -1.
inline long long RegularFileSize(int fd) {
  struct _stat64 info;
  return ::_fstat64(fd, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG ? info.st_size : -1;
}
// 1: a regular file, 0: something else, -1: nothing there.
inline int Kind(const std::string& path) {
  struct _stat64 info;
  if (::_wstat64(Wide(path.empty() ? "." : path).c_str(), &info) != 0) return -1;
  return (info.st_mode & _S_IFMT) == _S_IFREG ? 1 : 0;
}
// A buffered stream reading the descriptor OpenForReading gave; it owns the
// descriptor, which is closed when no stream can be made.
inline std::FILE* ReadStream(int fd) {
  std::FILE* stream = ::_fdopen(fd, "rb");
  if (stream == nullptr) ::_close(fd);
  return stream;
}
#else
inline std::filesystem::path Path(const std::string& path) {
  return std::filesystem::path(path);
}
inline std::string Text(const std::filesystem::path& path) {
  return path.string();
}
inline int OpenForReading(const std::string& path) {
  // A FIFO opened for reading waits for a writer, and opening a device may
  // act on it: look first, and open only what looks like a regular file.
  struct stat info;
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return kNotRegularFile;
  // Something else may take the name after the look: the open never waits,
  // and what it opened is looked at again.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return kNotRegularFile;
  }
  ::fcntl(fd, F_SETFL, 0);  // reads block as usual
  return fd;
}
inline long long Read(int fd, char* buffer, size_t size) {
  return ::read(fd, buffer, size);
}
inline int Close(int fd) {
  return ::close(fd);
}
inline long long RegularFileSize(int fd) {
  struct stat info;
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
}
inline int Kind(const std::string& path) {
  struct stat info;
  if (::stat(path.empty() ? "." : path.c_str(), &info) != 0) return -1;
  return S_ISREG(info.st_mode) ? 1 : 0;
}
inline std::FILE* ReadStream(int fd) {
  std::FILE* stream = ::fdopen(fd, "rb");
  if (stream == nullptr) ::close(fd);
  return stream;
}
#endif

// Why a path that is not there cannot be reached, when the reason is other
// than its absence (a folder the user may not search, say); "" otherwise.
inline std::string UnreachableReason(const std::string& path) {
  errno = 0;
  if (Kind(path) >= 0) return {};
  const int error = errno;
  return error == 0 || error == ENOENT || error == ENOTDIR ? std::string() : std::strerror(error);
}

}  // namespace native
