#pragma once
// The headless tool's commands, one file each, and the table the run finds
// them in by name.
#include "cli/CommandLine.h"

class TToolRun;

// Each returns the run's exit status.
using TCommandRun = int (*)(TToolRun& run, const TCommandLine& line);

struct TToolCommand {
  const char* name;
  TCommandRun run;
};

int RunQuery(TToolRun& run, const TCommandLine& line);    // QueryCommand.cpp
int RunSpec(TToolRun& run, const TCommandLine& line);     // SpecCommand.cpp
int RunOptions(TToolRun& run, const TCommandLine& line);  // OptionsCommand.cpp
int RunBuild(TToolRun& run, const TCommandLine& line);    // BuildCommand.cpp
int RunCheck(TToolRun& run, const TCommandLine& line);    // CheckCommand.cpp
int RunPaths(TToolRun& run, const TCommandLine& line);    // PathsCommand.cpp

inline constexpr TToolCommand kToolCommands[] = {
    {"query", RunQuery}, {"spec", RunSpec},   {"options", RunOptions},
    {"build", RunBuild}, {"check", RunCheck}, {"paths", RunPaths},
};
