#pragma once
// The window's command line. The model number comes first, as calling
// programs have always given it; after it a caller may name its own job file
// with "--job-file PATH" (or "--job-file=PATH"), so that two callers never
// share one and the exit status tells Finish (0) from Cancel or close (1).
#include <QString>
#include <QStringList>
#include <optional>

struct TWindowArguments {
  // The arguments after the program name; only the first one is the model.
  QStringList arguments;
  // The job file the caller named, as given.
  std::optional<QString> jobFile;
  // A slip in the command line, said to the user instead of starting.
  QString usageError;
};

TWindowArguments ReadWindowArguments(const QStringList& arguments);

// The command-line arguments after the program's name, as the caller wrote
// them (on Windows from the Unicode command line; elsewhere argv in the
// locale's encoding), with nothing taken out.
QStringList CallerArguments(int argc, char** argv);

// A calling program's exit statuses.
inline constexpr int kHandedBack = 0;
inline constexpr int kNothingHandedBack = 1;
inline constexpr int kUsageSlip = 2;
