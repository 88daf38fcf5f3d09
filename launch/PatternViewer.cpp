#include "launch/PatternViewer.h"

void SetUpPatternViewerLauncher(TProgramLauncher& launcher) {
  launcher.RegistrySettings = TNameValueList{"Key=Software\\Ostrel", "Section=KAVRPE", "Path=Path"};
  launcher.AppName = "KAV_RPE.exe";
  launcher.ExecuteMode = emRegistry;
  launcher.ExecuteInstance = eiShell;
  launcher.FilePath.clear();
  launcher.Parameters.clear();
}

void LaunchPatternViewer(const std::string& model, TProgramLauncher& launcher, TDialogs& dialogs) {
  try {
    launcher.Parameters = model;
    launcher.Execute();
  } catch (...) {
    dialogs.ShowMessage(kPatternViewerFailed);
  }
}
