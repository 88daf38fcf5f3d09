#pragma once
// An advisory lock on a lock file, shared by every copy of the program that
// works in one folder: a copy holds it while it writes a file and reads it
// back, so no other copy's write falls between the two. Within one process
// the lock is re-entrant: nested holds of the same object count, and only the
// outermost takes and releases the file's lock.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class TFileLock {
 public:
  // `name` gives the lock file's name when the lock is first taken (a name
  // the path resolver understands); the file stays open from then on.
  // `patience` is how long a copy waits for another before it gives up.
  explicit TFileLock(std::function<std::string()> name,
                     std::chrono::milliseconds patience = std::chrono::seconds(5));
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

  // Takes the lock, creating the lock file when missing. Raises EKavError
  // "Another copy of the program has held "<path>" for N seconds; try again."
  // when the wait runs out. A lock file that cannot be opened (a read-only
  // folder, a planted link) leaves the copy unlocked: the write that follows
  // reports the folder's real problem.
  void Acquire() { Acquire(patience_); }
  // The same, waiting at most `patience` for another copy.
  void Acquire(std::chrono::milliseconds patience);
  void Release();
  bool Held() const { return depth_ > 0; }
  // Whether this copy holds the file's lock: held, and not a folder where
  // locks cannot be taken.
  bool HeldOnFile() const { return depth_ > 0 && handle_ >= 0; }

  // Holds the lock for a scope.
  class TScope {
   public:
    explicit TScope(TFileLock& lock) : lock_(lock) { lock_.Acquire(); }
    ~TScope() { lock_.Release(); }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TFileLock& lock_;
  };

 private:
  std::function<std::string()> name_;
  std::string path_;
  std::chrono::milliseconds patience_;
  int depth_ = 0;
  intptr_t handle_ = -1;  // the open lock file (a descriptor or a handle), -1: none
};
