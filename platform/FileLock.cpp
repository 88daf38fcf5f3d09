#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/Error.h"
#include "platform/PathResolver.h"

TFileLock::TFileLock(std::function<std::string()> path, std::chrono::milliseconds patience)
    : path_(std::move(path)), patience_(patience) {}

TFileLock::~TFileLock() {
  if (fd_ >= 0) ::close(fd_);
}

void TFileLock::Acquire() {
  if (depth_ > 0) {
    ++depth_;
    return;
  }
  const std::string path = ResolvePath(path_());
  // Never follows a link.
  depth_ = 1;
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + patience_;
  auto pause = std::chrono::milliseconds(1);
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return;  // a file system without locks: go on unlocked
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(fd_);
      fd_ = -1;
      depth_ = 0;
      throw EKavError("Another copy of the program has held \"" + path + "\" for " +
                      std::to_string((patience_.count() + 999) / 1000) + " seconds; try again.");
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

void TFileLock::Release() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (fd_ >= 0) ::close(fd_);  // closing drops the lock
  fd_ = -1;
}
