#include "platform/PathResolver.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/NativeFile.h"

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

}  // namespace

std::string ResolvePath(const std::string& name) {
  std::string plain = name;
  std::replace(plain.begin(), plain.end(), '\\', '/');
  if (plain.empty() || Exists(plain)) return plain;

  const bool absolute = plain.front() == '/';
  const bool folderName = plain.back() == '/';
  const std::vector<std::string> parts = SplitComponents(plain);
  // The longest leading part that exists as written needs no matching: find
  // it from the end, since usually only the last names differ in case.
  size_t exact = parts.size();
  std::string prefix;
  while (exact > 0) {
    prefix.clear();
    if (absolute) prefix += '/';
    for (size_t i = 0; i < exact; ++i) {
      if (i > 0) prefix += '/';
      prefix += parts[i];
    }
    if (Exists(prefix)) break;
    --exact;
  }
  std::string resolved = exact > 0 ? prefix : std::string();
  if (exact > 0 || absolute) resolved.push_back('/');
  if (exact == parts.size() && !folderName) resolved.pop_back();
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
  return resolved;
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
