// Child processes on Windows: CreateProcessW with the command line as one
// text, and the shell's "open" verb through ShellExecuteW. Every text is
// Windows-1252, turned into UTF-16 as all text is.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/Process.h"
#include "platform/Shell.h"

namespace {

// The Win32 headers' show states are left out with their window functions.
constexpr int kShowNormal = 1;

// Null for an empty text, so that the system takes its default.
const wchar_t* OrNull(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

bool TShell::Start(const std::string& file, const std::string& parameters,
                   const std::string& folder) {
  const std::wstring wideFile = native::Wide(ResolvePath(file));
  const std::wstring wideParameters = native::Wide(parameters);
  const std::wstring wideFolder = native::Wide(folder.empty() ? folder : ResolvePath(folder));
  const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", wideFile.c_str(),
                                           OrNull(wideParameters), OrNull(wideFolder), kShowNormal);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

int RunAndWait(const std::string& commandLine, const std::string& folder, int showState) {
  // CreateProcessW may write into the command line's buffer.
  std::wstring line = native::Wide(commandLine);
  const std::wstring directory = native::Wide(folder.empty() ? folder : ResolvePath(folder));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, OrNull(directory),
                        &startup, &process))
    return -1;
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  const bool read = ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return read ? static_cast<int>(code) : -1;
}
