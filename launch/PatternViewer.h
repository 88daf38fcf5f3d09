#pragma once
// "View RPE": starts the radiation-pattern-envelope viewer for the current
// antenna.
#include <string>

#include "launch/ProgramLauncher.h"
#include "platform/Dialogs.h"

inline constexpr const char* kPatternViewerFailed = "Could not successfully launch the RPE Viewer.";

// The launcher as the main window holds it (ExecuteApp1): "KAV_RPE.exe",
// its folder read from [KAVRPE] Path= of the key Software\Ostrel, started
// through the shell.
void SetUpPatternViewerLauncher(TProgramLauncher& launcher);

// Passes the model number (the current antenna's), unquoted, and starts the
// viewer. A launch that does not start it shows kPatternViewerFailed, then
// what is missing and where the viewer's folder is set.
void LaunchPatternViewer(const std::string& model, TProgramLauncher& launcher, TDialogs& dialogs);
