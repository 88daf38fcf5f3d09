#include "launch/RpeViewer.h"

void SetUpRpeViewerLauncher(TExecuteApp& launcher) {
  launcher.RegistrySettings = TNameValueList{"Key=Software\\Ostrel", "Section=KAVRPE", "Path=Path"};
  launcher.AppName = "KAV_RPE.exe";
  launcher.ExecuteMode = emRegistry;
  launcher.ExecuteInstance = eiShell;
  launcher.FilePath.clear();
  launcher.Parameters.clear();
}

void LaunchRpeViewer(const std::string& model, TExecuteApp& launcher, TDialogs& dialogs) {
  try {
    launcher.Parameters = model;
    launcher.Execute();
  } catch (...) {
    dialogs.ShowMessage(kRpeViewerFailed);
  }
}
