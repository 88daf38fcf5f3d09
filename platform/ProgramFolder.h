#pragma once
#include <string>

// The folder of the running executable, with its trailing separator. The base
// of the local data folder, the picture folders and the job file.
const std::string& ProgramFolder();

// Points the program at another folder (the headless tool's --program-folder
// option and the tests). The separator is appended when missing; on Windows
// every separator is "\".
void SetProgramFolder(const std::string& folder);
