#include "launch/PatternViewer.h"

#include "platform/PathResolver.h"
#include "settings/Registry.h"

void SetUpPatternViewerLauncher(TProgramLauncher& launcher) {
  launcher.RegistrySettings = TNameValueList{"Key=Software\\Ostrel", "Section=KAVRPE", "Path=Path"};
  launcher.AppName = "KAV_RPE.exe";
  launcher.ExecuteMode = emRegistry;
  launcher.ExecuteInstance = eiShell;
  launcher.FilePath.clear();
  launcher.Parameters.clear();
}

void LaunchPatternViewer(const std::string& model, TProgramLauncher& launcher, TDialogs& dialogs) {
  // Any launch that does not start the viewer says so, and what to mend.
  std::string why;
  try {
    launcher.Parameters = model;
    if (launcher.Execute()) return;
    const std::string& program = launcher.FullAppName();
    why = FileExists(program)
              ? "The system did not start " + ResolvePath(program) + "."
              : launcher.AppName + " is not in " + ResolvePath(launcher.FilePath) + ".";
  } catch (...) {
    why = "The viewer's folder is not set.";
  }
  dialogs.ShowMessage(std::string(kPatternViewerFailed) + "\r\n\r\n" + why + " " +
                      SettingPlace("The folder of " + launcher.AppName, "KAVRPE"));
}
