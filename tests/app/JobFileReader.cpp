// Reads a job file as a Windows calling program does, through
// GetPrivateProfileStringA, and prints every section and every key with its
// value: "[section]" then "key=value" lines. The window's hand-back check
// compares what it prints for the window's job file and the Linux build's.
//
// With --call it is the calling program itself: it starts the window with
// CreateProcess on a model number and a job file of its own, waits for it to
// end, prints "exit status N", then the job file as above or "no job file".
//
//   kav_job_file_reader <job file>
//   kav_job_file_reader --call <kav_pnb.exe> <model> <job file>
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

// Starts `program` as a caller does and waits for it; its exit status, or -1
// when it could not be started.
long Call(const std::string& program, const std::string& model, const std::string& jobFile) {
  std::string commandLine = "\"" + program + "\" " + model + " --job-file \"" + jobFile + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(status);
}

}  // namespace

int main(int argc, char** argv) {
  const bool call = argc == 5 && std::string(argv[1]) == "--call";
  if (argc != 2 && !call) {
    std::fprintf(stderr,
                 "usage: kav_job_file_reader <job file>\n"
                 "       kav_job_file_reader --call <kav_pnb.exe> <model> <job file>\n");
    return 2;
  }
  const char* jobFile = argv[argc - 1];
  char full[MAX_PATH];
  if (GetFullPathNameA(jobFile, MAX_PATH, full, nullptr) == 0) return 1;
  const std::string file = full;
  if (call) {
    std::printf("exit status %ld\n", Call(argv[2], argv[3], file));
    std::fflush(stdout);
  }
  if (GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
    if (call) {
      std::printf("no job file\n");
      return 0;
    }
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
