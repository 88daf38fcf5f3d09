// Stands in for the viewer in the launcher's tests on Windows, as a small
// script does elsewhere. Beside each copy lies "<copy>.txt": the file to
// write and the exit code, a line each. It writes, a line each in UTF-8: the
// number of parameter texts (0 or 1); the text after its own name and one
// blank on its command line, in brackets; its working folder with "/"
// separators; and "show N", the show state it was started with.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3, '\0');
  bytes.resize(::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
  return bytes;
}

std::wstring Wide(const std::string& bytes) {
  std::wstring text(bytes.size(), L'\0');
  text.resize(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    text.data(), static_cast<int>(text.size())));
  return text;
}

// The command line after the program's name and one blank. The name is
// quoted, or it is the shortest leading part before a blank that names an
// existing file, as the system reads an unquoted name with blanks.
std::wstring Parameters() {
  const std::wstring line = ::GetCommandLineW();
  size_t end = 0;
  if (line[0] == L'"') {
    end = line.find(L'"', 1);
    end = end == std::wstring::npos ? line.size() : end + 1;
  } else {
    end = line.find(L' ');
    while (end != std::wstring::npos &&
           ::GetFileAttributesW(line.substr(0, end).c_str()) == INVALID_FILE_ATTRIBUTES)
      end = line.find(L' ', end + 1);
    if (end == std::wstring::npos) end = line.size();
  }
  if (end < line.size() && line[end] == L' ') ++end;
  return line.substr(end);
}

std::wstring Folder() {
  std::wstring folder(MAX_PATH, L'\0');
  folder.resize(::GetCurrentDirectoryW(MAX_PATH, folder.data()));
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  for (wchar_t& c : folder)
    if (c == L'\\') c = L'/';
  return folder;
}

}  // namespace

int main() {
  std::wstring self(MAX_PATH, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
  std::FILE* settings = ::_wfopen((self + L".txt").c_str(), L"rb");
  if (settings == nullptr) return 99;
  char record[1024] = "", code[32] = "";
  const bool read =
      std::fgets(record, sizeof record, settings) && std::fgets(code, sizeof code, settings);
  std::fclose(settings);
  if (!read) return 99;
  std::string target = record;
  target.erase(target.find_last_not_of("\r\n") + 1);

  const std::wstring parameters = Parameters();
  STARTUPINFOW startup{};
  ::GetStartupInfoW(&startup);
  std::string text = parameters.empty() ? "0\n" : "1\n[" + Utf8(parameters) + "]\n";
  text += Utf8(Folder()) + "\n";
  text += "show " +
          std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1) +
          "\n";

  // Written whole, then moved in place: the test reads it once it is there.
  const std::wstring final = Wide(target), temporary = final + L".tmp";
  std::FILE* out = ::_wfopen(temporary.c_str(), L"wb");
  if (out == nullptr) return 98;
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
  ::MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING);
  return std::atoi(code);
}
