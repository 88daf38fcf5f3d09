#pragma once
// Writing a file whole, safely: the bytes go to a temporary file created
// exclusively (a unique name, never an existing file or a link) in the
// target's folder, and that file is renamed over the target. A reader never
// sees half a file, a failed write leaves the old file whole, two copies of
// the program never share a temporary file, and a link planted at the
// target's name is replaced, never written through.
//
// Header-only, so the INI engine below this library writes the same way.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/Error.h"
#include "platform/NativeFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace file_util {

constexpr std::string_view kTemporaryPrefix = ".kav_pnb.";
constexpr size_t kTemporarySuffixSize = 6;

// The temporary file's name: hidden, beside the target, short enough for any
// target name the folder can hold.
inline std::string TemporaryTemplate(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  return folder + std::string(kTemporaryPrefix) + std::string(kTemporarySuffixSize, 'X');
}

// Whether `name` is a temporary file's name: the prefix and six letters or digits.
inline bool IsTemporaryName(std::string_view name) {
  if (name.size() != kTemporaryPrefix.size() + kTemporarySuffixSize ||
      name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix)
    return false;
  return std::all_of(name.begin() + kTemporaryPrefix.size(), name.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

// "Cannot <verb> file "<path>". <reason>"
[[noreturn]] inline void Fail(const char* verb, const std::string& path,
                              const std::string& reason) {
  throw EKavError(std::string("Cannot ") + verb + " file \"" + path + "\". " + reason);
}

// A file whose folder is not there: the folder is what to name, with the
// nearest part of its path that is no folder when there is one.
[[noreturn]] inline void FailForMissingFolder(const std::string& path) {
  const std::filesystem::path folder = native::Path(path).parent_path();
  std::string reason = "The folder \"" + native::Text(folder) + "\" does not exist.";
  for (std::filesystem::path part = folder; part.has_relative_path(); part = part.parent_path()) {
    std::error_code ignored;
    const std::filesystem::file_status status = std::filesystem::status(part, ignored);
    if (!std::filesystem::exists(status)) continue;
    if (!std::filesystem::is_directory(status))
      reason = "\"" + native::Text(part) + "\" is not a folder.";
    break;
  }
  Fail("create", path, reason);
}

#ifdef _WIN32
[[noreturn]] inline void Fail(const char* verb, const std::string& path, DWORD error) {
  Fail(verb, path, std::system_category().message(static_cast<int>(error)));
}

// Writes all of `bytes` at the file's position; the system's error, 0 when none.
inline DWORD WriteAll(HANDLE file, std::string_view bytes) {
  for (size_t written = 0; written < bytes.size();) {
    DWORD chunk = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
    if (!::WriteFile(file, bytes.data() + written, wanted, &chunk, nullptr))
      return ::GetLastError();
    written += chunk;
  }
  return 0;
}
#else
[[noreturn]] inline void Fail(const char* verb, const std::string& path, int error) {
  Fail(verb, path, std::strerror(error != 0 ? error : EIO));
}

// Writes all of `bytes` at the file's position; errno of the failure, 0 when none.
inline int WriteAll(int fd, std::string_view bytes) {
  for (size_t written = 0; written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    written += static_cast<size_t>(n);
  }
  return 0;
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

#endif

}  // namespace file_util

// Replaces the file at `path` (a real path) with `bytes`. Raises EKavError
// "Cannot create file ...", "Cannot write file ..." or "Cannot replace file
// ..." with the system's reason, by the step that failed.
#ifdef _WIN32
inline void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  using file_util::Fail;
  const std::string pattern = file_util::TemporaryTemplate(path);
  const std::string stem = pattern.substr(0, pattern.size() - file_util::kTemporarySuffixSize);
  // A fresh name, created only if nothing (no file, no link) has it yet.
  std::string temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%06x",
                  static_cast<unsigned>((::GetTickCount64() * 2654435761u) ^
                                        (::GetCurrentProcessId() << 8) ^ ++counter) &
                      0xFFFFFFu);
    temp = stem + suffix;
    file = ::CreateFileW(native::Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_PATH_NOT_FOUND)
    file_util::FailForMissingFolder(path);
  if (file == INVALID_HANDLE_VALUE) Fail("create", path, ::GetLastError());
  DWORD error = file_util::WriteAll(file, bytes);
  if (!::CloseHandle(file) && error == 0) error = ::GetLastError();
  if (error != 0) {
    ::DeleteFileW(native::Wide(temp).c_str());
    Fail("write", path, error);
  }
  // Replaces an existing file (the C library's rename would refuse it). A
  // file another program holds open (a virus scanner, a reader) cannot be
  // replaced until it lets go: try again for a second before giving up.
  for (int attempt = 0;; ++attempt) {
    if (::MoveFileExW(native::Wide(temp).c_str(), native::Wide(path).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return;
    error = ::GetLastError();
    if (attempt == 20 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) break;
    ::Sleep(50);
  }
  ::DeleteFileW(native::Wide(temp).c_str());
  Fail("replace", path, error);
}
#else
inline void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  using file_util::Fail;
  std::string temp = file_util::TemporaryTemplate(path);
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) file_util::FailForMissingFolder(path);
  if (fd < 0) Fail("create", path, errno);
  // Blocks reserved up front are not "delayed allocation": replacing a file
  // by rename then does not make the file system start writing it back at
  // once, which would cost more than the whole write.
  if (!bytes.empty()) (void)::fallocate(fd, 0, 0, static_cast<off_t>(bytes.size()));
  int error = file_util::WriteAll(fd, bytes);
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
#endif

// Removes from `folder` the temporary files a copy of the program killed in
// the middle of a write left behind: those last written at least a day ago.
// A younger one may be another copy's write in progress. Nothing else is
// touched, and a failure only leaves a file where it was.
inline void RemoveStaleTemporaryFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  constexpr auto kStale = std::chrono::hours(24);
  const fs::file_time_type now = fs::file_time_type::clock::now();
  std::error_code ec;
  fs::directory_iterator it(native::Path(folder.empty() ? "." : folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (!file_util::IsTemporaryName(native::Text(it->path().filename()))) continue;
    std::error_code fileError;
    if (!fs::is_regular_file(it->symlink_status(fileError))) continue;
    const fs::file_time_type written = fs::last_write_time(it->path(), fileError);
    if (!fileError && now - written >= kStale) fs::remove(it->path(), fileError);
  }
}
