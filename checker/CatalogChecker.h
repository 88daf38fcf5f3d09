#pragma once
// The catalogue checker: reads every catalogue file the way the program does
// and reports what a user would run into: files and columns the program cannot
// open, rows too short for the columns it reads, prices it cannot convert,
// antennas without pricing, suffix or option rows, offered choices without an
// antenna, pictures that are missing or do not decode, and values that do not
// survive the program's own files. Each file is read once, line by line; the
// cross-file checks use hash maps, so a catalogue of a million antennas takes
// seconds.
//
// Severity: an error is something the program fails on (an open that fails,
// an error box) or a part number or price it builds wrongly; a warning is
// something it copes with but that the user sees as a gap (an empty list or
// picture, a missing sheet entry) or that no query ever reaches.
#include <functional>
#include <string>
#include <vector>

enum class TSeverity { Error, Warning };

struct TFinding {
  TSeverity severity = TSeverity::Error;
  std::string file;     // the full name the program opens
  long line = 0;        // 1-based; 0: the file as a whole
  int column = 0;       // 1-based cell of the line; 0: the whole line
  std::string problem;  // what is wrong
  std::string effect;   // what the program does with it
};

// "FILE:LINE:COLUMN: error: PROBLEM -- EFFECT" (or "warning").
std::string FormatFinding(const TFinding& finding);

// Decodes the picture file at `path` (a GIF, bitmap or icon, told by its
// extension); answers the decoder's error text, or the empty text when the
// picture is good.
using TPictureDecoder = std::function<std::string(const std::string& path)>;

struct TCheckResult {
  std::vector<TFinding> findings;  // by file, then by line and column
  int errors = 0;
  int warnings = 0;
  int files = 0;      // catalogue files found and read
  long antennas = 0;  // antenna rows read
};

// "N errors, M warnings in F catalogue files (A antennas)".
std::string FormatSummary(const TCheckResult& result);

// Checks the catalogue that a program in ProgramFolder() reads, finding the
// shared folder through CurrentUserRegistry(). Reads, never writes. Without a
// decoder, pictures are checked for existence only. `folderGiven` is the
// shared folder given for the run (--catalog) in place of the registry's;
// empty: the registry's.
TCheckResult CheckCatalogue(const TPictureDecoder& decodePicture = {},
                            const std::string& folderGiven = {});
