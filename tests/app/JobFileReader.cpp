// Reads a job file as a Windows calling program does, through
// GetPrivateProfileStringA, and prints every section and every key with its
// value: "[section]" then "key=value" lines. The window's hand-back check
// compares what it prints for the window's job file and the Linux build's.
//
//   kav_job_file_reader <job file>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The NUL-separated list (sections, or a section's keys) Windows gives.
std::vector<std::string> List(const char* section, const std::string& file) {
  std::vector<char> buffer(1 << 16);
  const DWORD size =
      section == nullptr
          ? GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()),
                                           file.c_str())
          : GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                     static_cast<DWORD>(buffer.size()), file.c_str());
  std::vector<std::string> items;
  for (DWORD at = 0; at < size && buffer[at] != '\0';) {
    items.emplace_back(&buffer[at]);
    at += static_cast<DWORD>(items.back().size()) + 1;
  }
  return items;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kav_job_file_reader <job file>\n");
    return 2;
  }
  char full[MAX_PATH];
  if (GetFullPathNameA(argv[1], MAX_PATH, full, nullptr) == 0) return 1;
  const std::string file = full;
  if (GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "no job file at %s\n", full);
    return 1;
  }
  for (const std::string& section : List(nullptr, file)) {
    std::printf("[%s]\n", section.c_str());
    for (const std::string& key : List(section.c_str(), file)) {
      char value[4096];
      GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, full);
      std::printf("%s=%s\n", key.c_str(), value);
    }
  }
  return 0;
}
