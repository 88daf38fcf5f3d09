#pragma once
// Shared helpers for tests: a temporary folder that cleans up after itself,
// small file utilities and the message of a raised error.
#include <fcntl.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/Error.h"

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kav_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
             std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder with a trailing separator.
  std::string Path() const { return path_.generic_string() + "/"; }
  std::string operator/(const std::string& name) const { return Path() + name; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The message of the EKavError that `action` raises ("" when none).
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const EKavError& e) {
    return e.what();
  }
  return "";
}

// A path as the program shows it: with "\" on Windows.
inline std::string Native(std::string path) {
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

// The name a resolved path shows: on Windows, whose file names ignore letter
// case, a name that exists as written stays as written; elsewhere the
// resolver finds the spelling on disk.
inline std::string Shown([[maybe_unused]] const std::string& onDisk,
                         [[maybe_unused]] const std::string& written) {
#ifdef _WIN32
  return Native(written);
#else
  return onDisk;
#endif
}

// Whether file permissions fail to stop this process: root on Linux; on
// Windows the POSIX permission bits the tests set stop no one either.
inline bool RunningAsRoot() {
#ifdef _WIN32
  return true;
#else
  return ::geteuid() == 0;
#endif
}

// Runs `action` with standard input closed, as a caller may start the
// program: the next file opened gets descriptor 0. Answers whether the
// action closed it again: a descriptor 0 left open is a leak.
template <typename Action>
bool WithoutStandardInput(Action action) {
#ifdef _WIN32
  // The C library hands out its lowest free descriptor here too.
  const int input = ::_dup(0);
  if (input >= 0) ::_close(0);
  action();
  const int next = ::_open("NUL", _O_RDONLY);
  if (next >= 0) ::_close(next);
  if (input >= 0) ::_dup2(input, 0), ::_close(input);
  return next == 0;
#else
  struct Restore {
    int input = ::dup(0);
    ~Restore() { ::dup2(input, 0), ::close(input); }
  } restore;
  ::close(0);
  action();
  return ::fcntl(0, F_GETFD) == -1;
#endif
}
