#include "platform/WorkingFileWrite.h"

#include "platform/SafeFileWrite.h"

#ifdef _WIN32
bool RewriteInPlace(const std::string& path, std::string_view bytes) {
  // A reparse point at the name is opened as itself and then refused.
  const HANDLE file = ::CreateFileW(native::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file, &info) || info.nNumberOfLinks != 1 ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    ::CloseHandle(file);
    return false;
  }
  // Room for a longer text is taken first: on a full disk the write fails
  // with the old text whole, as a replacement would.
  DWORD error = 0;
  const ULONGLONG size = (ULONGLONG{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (size < bytes.size()) {
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(bytes.size());
    if (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file))
      error = ::GetLastError();
    LARGE_INTEGER start{};
    if (error == 0 && !::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
      error = ::GetLastError();
    if (error != 0) {
      ::CloseHandle(file);
      file_util::Fail("write", path, error);
    }
  }
  if (error == 0) error = file_util::WriteAll(file, bytes);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(bytes.size());
  if (error == 0 && (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file)))
    error = ::GetLastError();
  if (!::CloseHandle(file) && error == 0) error = ::GetLastError();
  if (error != 0) file_util::Fail("write", path, error);
  return true;
}
#else
bool RewriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
      info.st_uid != ::geteuid()) {
    ::close(fd);
    return false;
  }
  // Room for a longer text is taken first: on a full disk the write fails
  // with the old text whole, as a replacement would.
  int error = 0;
  if (static_cast<size_t>(info.st_size) < bytes.size()) {
    error = ::fallocate(fd, 0, 0, static_cast<off_t>(bytes.size())) == 0 ? 0 : errno;
    if (error == EOPNOTSUPP) {  // a file system that cannot: replace the file whole
      ::close(fd);
      return false;
    }
    if (error != 0) {
      ::close(fd);
      file_util::Fail("write", path, error);
    }
  }
  error = file_util::WriteAll(fd, bytes);  // from the start: the file was just opened
  if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) file_util::Fail("write", path, error);
  return true;
}
#endif
