#include "platform/FileLock.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/NativeFile.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/Error.h"
#include "platform/PathResolver.h"

namespace {

enum class TTry { Locked, Busy, Unsupported };

#ifdef _WIN32
intptr_t OpenLockFile(const std::string& path) {
  // A reparse point (a link) at the name is opened as itself, never followed.
  const HANDLE file =
      ::CreateFileW(native::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}
TTry TryLock(intptr_t handle) {
  OVERLAPPED whole = {};
  if (::LockFileEx(reinterpret_cast<HANDLE>(handle),
                   LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole))
    return TTry::Locked;
  return ::GetLastError() == ERROR_LOCK_VIOLATION ? TTry::Busy : TTry::Unsupported;
}
void Unlock(intptr_t handle) {
  OVERLAPPED whole = {};
  ::UnlockFileEx(reinterpret_cast<HANDLE>(handle), 0, 1, 0, &whole);
}
void CloseLockFile(intptr_t handle) {
  ::CloseHandle(reinterpret_cast<HANDLE>(handle));  // closing drops the lock
}
#else
intptr_t OpenLockFile(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
}
TTry TryLock(intptr_t handle) {
  while (::flock(static_cast<int>(handle), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? TTry::Busy : TTry::Unsupported;
  }
  return TTry::Locked;
}
void Unlock(intptr_t handle) {
  ::flock(static_cast<int>(handle), LOCK_UN);
}
void CloseLockFile(intptr_t handle) {
  ::close(static_cast<int>(handle));  // closing drops the lock
}
#endif

}  // namespace

TFileLock::TFileLock(std::function<std::string()> name, std::chrono::milliseconds patience)
    : name_(std::move(name)), patience_(patience) {}

TFileLock::~TFileLock() {
  if (handle_ >= 0) CloseLockFile(handle_);
}

void TFileLock::Acquire(std::chrono::milliseconds patience) {
  if (depth_ > 0) {
    ++depth_;
    return;
  }
  // The lock file is opened once and kept: each hold is one lock call.
  if (handle_ < 0) {
    path_ = ResolvePath(name_());
    handle_ = OpenLockFile(path_);
  }
  depth_ = 1;
  if (handle_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  auto pause = std::chrono::milliseconds(1);
  for (TTry result; (result = TryLock(handle_)) != TTry::Locked;) {
    if (result == TTry::Unsupported) {  // a file system without locks: go on unlocked
      CloseLockFile(handle_);
      handle_ = -1;
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      depth_ = 0;
      const long long seconds = (patience.count() + 999) / 1000;
      throw EKavError("Another copy of the program has held \"" + path_ + "\" for " +
                      std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
                      "; try again.");
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

void TFileLock::Release() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (handle_ >= 0) Unlock(handle_);
}
