#pragma once
#include <string>

// The folder of the running executable, with its trailing separator. The base
// of the local data folder, the picture folders and the job file.
const std::string& ProgramFolder();

// Points the program at another folder (the headless tool's --program-folder
// option and the tests). The separator is appended when missing; on Windows
// every separator is "\".
void SetProgramFolder(const std::string& folder);

// The real path of `name`, a name of the program's own layout under `base`
// (the program folder or the working folder): "data\MWFreq.dat",
// "Data\pnb.dat", "images\x.gif". The catalogue spells its folders several
// ways, and a file system that tells letter case apart may hold two of them
// (data/ and Data/ of a catalogue unpacked twice): then a file written
// through one spelling would be read back through another. So a folder of
// the layout ("data", "Images") is always found by its own name, by the path
// resolver's rule, whatever spelling `name` uses; the rest of `name` is
// resolved inside it. When there is no such folder, `name` is resolved as
// written.
std::string LayoutPath(const std::string& base, const std::string& name);
