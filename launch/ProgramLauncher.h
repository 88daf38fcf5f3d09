#pragma once
// TProgramLauncher: finds a program (at its configured place, else through the
// registry or relative to the program's own folder) and starts it, through
// the shell or as a child process that is waited for.
#include <cstddef>
#include <string>

#include "platform/NameValueList.h"
#include "platform/Shell.h"

enum TExecuteMode { emFilePath, emRegistry };
enum TExecuteInstance { eiShell, eiWait };

class TProgramLauncherBase {
 public:
  // `shell` opens what is not a program of its own; it must outlive this object.
  explicit TProgramLauncherBase(TShell& shell) : shell_(shell) {}
  virtual ~TProgramLauncherBase() = default;

  // Longest command line and working folder StartAndWait accepts.
  static constexpr size_t kMaxStartText = 255;

  // Resolves the program and starts it: true when it was started (eiShell)
  // or ran (eiWait), false when it was not found or could not be started.
  // A missing or empty registry folder, or a registry value that is not
  // text, is raised.
  virtual bool Execute();

  // Starts `file` with Parameters and `folder` as working folder, through
  // the shell (TShell::Start), not waited for. True when it was started.
  virtual bool ShellStart(const std::string& file, const std::string& folder);

  // Runs the command line in `folder` (the current folder when empty) and
  // waits for it without time limit (RunAndWait). Returns its exit code, or
  // -1 when the process cannot be created, also when the command line or the
  // folder is longer than kMaxStartText.
  virtual int StartAndWait(const std::string& commandLine, const std::string& folder,
                           int showState);

  // The folder with a trailing backslash when its last character is not a
  // folder separator. An empty folder text is raised.
  static std::string AddTrailingBackslash(const std::string& folder);

  // FilePath followed by AppName, as last resolved.
  const std::string& FullAppName() const { return fullAppName_; }

 protected:
  TNameValueList RegistrySettings;  // lines Key, Section and Path
  std::string AppName;
  std::string FilePath;  // overwritten by each resolution
  TExecuteMode ExecuteMode = emFilePath;
  std::string Parameters;
  TExecuteInstance ExecuteInstance = eiShell;

 private:
  // The folder named in the registry: the value Path of the subkey Section of
  // Key under the current user's root, the key created when missing.
  std::string RegistryFolder();

  TShell& shell_;
  std::string fullAppName_;
};

class TProgramLauncher : public TProgramLauncherBase {
 public:
  using TProgramLauncherBase::AppName;
  using TProgramLauncherBase::ExecuteInstance;
  using TProgramLauncherBase::ExecuteMode;
  using TProgramLauncherBase::FilePath;
  using TProgramLauncherBase::Parameters;
  using TProgramLauncherBase::RegistrySettings;
  using TProgramLauncherBase::TProgramLauncherBase;
};
