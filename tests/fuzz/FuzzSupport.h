#pragma once
// Helpers shared by the fuzz targets: a scratch folder for the process, and
// plain, slow models of the text rules (lines, cells, trimming) that the
// targets hold the fast library code against.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"

namespace fuzz {

// A folder of this process's own under $TMPDIR (else /tmp), removed at exit.
// Its name is kept in plain storage, which outlives every exit handler.
inline const std::string& ScratchFolder() {
  static char name[4096];
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::snprintf(name, sizeof name, "%s/kav_fuzz_XXXXXX",
                  tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp");
    if (::mkdtemp(name) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(name, ec);
    });
    return std::string(name) + "/";
  }();
  return folder;
}

// Replaces the file with exactly these bytes.
inline void PutFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
  ::close(fd);
}

// The lines of a text file: CR, LF or CR LF end a line, a final break starts
// no further line, and a NUL byte ends the text.
inline std::vector<std::string> TextLines(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i++];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Drops characters up to and including the space (codes 0 to 32) at both ends.
inline std::string Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
    s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
    s.remove_suffix(1);
  return std::string(s);
}

// Cuts a text into trimmed items: while the delimiter occurs in the rest, the
// part before it is an item and that part goes together with the delimiter's
// first character; the trimmed remainder is the last item.
inline std::vector<std::string> Cells(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> items;
  std::string rest(text);
  while (!delimiter.empty()) {
    const size_t at = rest.find(delimiter);
    if (at == std::string::npos) break;
    items.push_back(Trimmed(std::string_view(rest).substr(0, at)));
    rest.erase(0, at + 1);
  }
  items.push_back(Trimmed(rest));
  return items;
}

// Case-blind equality in the 8-bit catalogue alphabet, byte by byte.
inline unsigned char LowerByte(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  switch (c) {
    case 0x8A:
      return 0x9A;
    case 0x8C:
      return 0x9C;
    case 0x8E:
      return 0x9E;
    case 0x9F:
      return 0xFF;
    default:
      return c;
  }
}
inline bool SameTextModel(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerByte(static_cast<unsigned char>(a[i])) != LowerByte(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A "name=value" list as filters are kept: the name is the text before the
// first "=" (empty without one), the value the text after it; a look-up by
// name takes the first line whose name matches without regard to case.
inline std::string NameOf(const std::string& line) {
  const size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}
inline std::string ValueIn(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos && SameTextModel(std::string_view(line).substr(0, eq), name))
      return line.substr(eq + 1);
  }
  return {};
}

inline std::string IndexError(long long index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

// The message of the error `action` raises, if it raises one.
template <typename Action>
std::optional<std::string> Failure(Action action) {
  try {
    action();
  } catch (const EKavError& error) {
    return error.what();
  }
  return std::nullopt;
}

}  // namespace fuzz

// Stops the run with the failing input saved, naming what disagreed.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)
