#pragma once
// The folder the program writes its files in (data/pnb.dat,
// data/AntFlanges.dat, the data folder's lock, the job file kav_pnb.lom),
// laid out as the program folder is. A program folder the user may write
// keeps them, as a portable copy of the program always has; an installed
// program's folder is not the user's to write, so its files go to the
// user's own working folder: $XDG_STATE_HOME/kav-pnb/ (default
// ~/.local/state/kav-pnb/), on Windows %LOCALAPPDATA%\kav-pnb\.
#include <string>

// The working folder with its trailing separator; its data/ folder is made
// when missing.
std::string WorkingFolder();

// The choice itself: `programFolder` when `writable`, else the user's folder
// named by `stateHome` ($XDG_STATE_HOME; on Windows %LOCALAPPDATA%) or,
// when that is missing or not absolute, by `home` ($HOME; on Windows
// %USERPROFILE%, whose local application data is AppData\Local).
std::string ChooseWorkingFolder(const std::string& programFolder, bool writable,
                                const char* stateHome, const char* home);
