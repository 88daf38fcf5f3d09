#pragma once
// "View RPE": starts the radiation-pattern-envelope viewer for the current
// antenna.
#include <string>

#include "launch/uExecuteApp.h"
#include "platform/Dialogs.h"

inline constexpr const char* kRpeViewerFailed = "Could not successfully launch the RPE Viewer.";

// The launcher as the main window holds it (ExecuteApp1): "KAV_RPE.exe",
// its folder read from [KAVRPE] Path= of the key Software\Ostrel, started
// through the shell.
void SetUpRpeViewerLauncher(TExecuteApp& launcher);

// Passes the model number (the current antenna's), unquoted, and starts the
// viewer. Any error on the way shows kRpeViewerFailed; a viewer that is
// simply not there shows nothing.
void LaunchRpeViewer(const std::string& model, TExecuteApp& launcher, TDialogs& dialogs);
