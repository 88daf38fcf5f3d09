#include "platform/PathResolver.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/NativeFile.h"
#include "platform/Text1252.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitComponents(const std::string& name) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : name) {
    if (c == '/' || c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The entry of `folder` whose name equals `wanted` without regard to case,
// the first in byte order; empty when there is none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& wanted) {
  std::error_code ec;
  std::string best;
  fs::directory_iterator it(native::Path(folder.empty() ? "." : folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string entry = native::Text(it->path().filename());
    if (ansi::SameText(entry, wanted) && (best.empty() || entry < best)) best = entry;
  }
  return best;
}

bool Exists(const std::string& path) {
  return native::Kind(path) >= 0;
}

bool IsRegularFile(const std::string& path) {
  return native::Kind(path) == 1;
}

// The name with "/" for every separator. On Windows a run of separators is
// one (a registry folder ending in \ joined to a name with \), except the
// two that begin a network name (\\server\share).
std::string Slashed(const std::string& name) {
  std::string plain;
  plain.reserve(name.size());
  for (char c : name) {
    if (c == '\\') c = '/';
#ifdef _WIN32
    if (c == '/' && !plain.empty() && plain.back() == '/' && plain.size() > 1) continue;
#endif
    plain += c;
  }
  return plain;
}

// The part of a slashed name that is no folder entry: "/" for an absolute
// name; on Windows also "//" of a network name and a drive ("C:/", "C:").
std::string RootOf(const std::string& plain) {
#ifdef _WIN32
  if (plain.compare(0, 2, "//") == 0) return "//";
  if (plain.size() >= 2 && plain[1] == ':')
    return plain.substr(0, plain.size() > 2 && plain[2] == '/' ? 3 : 2);
#endif
  return plain.compare(0, 1, "/") == 0 ? "/" : "";
}

// A name as the system's users write it: with \ on Windows.
std::string Shown(std::string path) {
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

}  // namespace

std::string ResolvePath(const std::string& name) {
  const std::string plain = Slashed(name);
  if (plain.empty() || Exists(plain)) return Shown(plain);

  const std::string root = RootOf(plain);
  const bool folderName = plain.back() == '/';
  const std::vector<std::string> parts = SplitComponents(plain.substr(root.size()));
  // The longest leading part that exists as written needs no matching: find
  // it from the end, since usually only the last names differ in case.
  size_t exact = parts.size();
  std::string prefix;
  while (exact > 0) {
    prefix = root;
    for (size_t i = 0; i < exact; ++i) {
      if (i > 0) prefix += '/';
      prefix += parts[i];
    }
    if (Exists(prefix)) break;
    --exact;
  }
  std::string resolved = root;
  if (exact > 0) {
    resolved = prefix;
    if (exact < parts.size() || folderName) resolved += '/';
  }
  bool lost = false;  // once a component is missing, the rest is kept as written
  for (size_t i = exact; i < parts.size(); ++i) {
    std::string component = parts[i];
    if (!lost && !Exists(resolved + component)) {
      const std::string match = FindEntryIgnoringCase(resolved, component);
      if (match.empty())
        lost = true;
      else
        component = match;
    }
    resolved += component;
    if (i + 1 < parts.size() || folderName) resolved += '/';
  }
  return Shown(resolved);
}

bool FileExists(const std::string& name) {
  // The usual case, a name spelled as on disk, takes one look.
  if (name.find('\\') == std::string::npos && IsRegularFile(name)) return true;
  return IsRegularFile(ResolvePath(name));
}

std::string FileExtension(const std::string& name) {
  const size_t slash = name.find_last_of("/\\");
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return name.substr(dot + 1);
}

bool StaysInFolder(std::string_view name) {
  const auto separator = [](char c) { return c == '/' || c == '\\'; };
  if (!name.empty() && separator(name[0])) return false;
  if (name.size() >= 2 && name[1] == ':') return false;  // a drive letter
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !separator(name[end]))
      ++end;
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}
