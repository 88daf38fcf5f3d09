#include <string>

#include "cli/CliCommands.h"

namespace {

// One command's part of the help: the lines that show how it is called,
// then what it does.
struct TCommandHelp {
  const char* name;
  const char* text;
};

const TCommandHelp kCommands[] = {
    {"query",
     "  query --all                     every antenna of the catalogue\n"
     "  query --freq F --type T         the antennas of frequency range F and type T\n"
     "  query --part TEXT [--exact]     model numbers beginning with TEXT (or equal to it);\n"
     "                                  * in TEXT matches any run of characters, ? any one;\n"
     "                                  letter case counts, as in the window's query\n"},
    {"spec",
     "  spec MODEL                      the antenna's specification sheet, name=value a line;\n"
     "                                  MODEL in any letter case when it names one antenna\n"},
    {"options",
     "  options MODEL                   the antenna's flanges, radome and packing options;\n"
     "                                  MODEL as for spec\n"},
    {"build",
     "  build MODEL [--flange F] [--radome TEXT] [--pack TEXT] [--lom [--job-file PATH]]\n"
     "                                  the custom part number, description and price;\n"
     "                                  MODEL in any letter case when it names one antenna;\n"
     "                                  radome and packing options are named by their text,\n"
     "                                  whole words of it that fit one option, or their\n"
     "                                  suffix; a warning on standard error when MODEL is\n"
     "                                  listed twice (the first row is built). Custom Price\n"
     "                                  is written with the decimal separator of the\n"
     "                                  locale, in the output and in the job file, as the\n"
     "                                  window writes it; csv and json add Price, a number\n"
     "                                  with a point (empty or null when unpriced), and\n"
     "                                  Warnings: no price (with the file, line and cell of\n"
     "                                  the price that cannot be read), no description, no\n"
     "                                  flange, no flange suffix, no radome option, no\n"
     "                                  packing option; the part is built as the window\n"
     "                                  builds it, but has that gap; tsv prints them on\n"
     "                                  standard error.\n"
     "                                  --lom also writes the job file kav_pnb.lom (at PATH\n"
     "                                  with --job-file): the job file at that path is\n"
     "                                  removed as soon as the command line is read, and the\n"
     "                                  new one is written only when the part is built whole\n"
     "                                  and the output written, so a run that fails, is\n"
     "                                  stopped or killed, or whose reader goes, leaves no\n"
     "                                  job file (one that fails says so).\n"
     "  build --batch FILE [--lom [--job-file PATH]]\n"
     "                                  a whole quote in one call: each line of FILE (- for\n"
     "                                  standard input) is one item in CSV, model,flange,\n"
     "                                  radome,pack, where an empty field takes the antenna's\n"
     "                                  first option. Fields are separated by commas,\n"
     "                                  semicolons or tabs, as the first line shows, or as a\n"
     "                                  first line sep=; says. FILE is UTF-8, or UTF-16\n"
     "                                  (\"Unicode\") with its byte-order mark, or\n"
     "                                  Windows-1252 with --encoding; lines end in CR LF, LF\n"
     "                                  or CR. Blank lines, a byte-order mark, empty fields\n"
     "                                  at a line's end and a first line\n"
     "                                  model,flange,radome,pack (any letter case) are\n"
     "                                  skipped; a fifth field, an open quote, a field\n"
     "                                  holding a line break or a NUL, a UTF-32 file and a\n"
     "                                  batch with no item are usage errors. One row an item,\n"
     "                                  in order: Line (its line in FILE), the build's\n"
     "                                  columns, Status (ok, or what went wrong, the first\n"
     "                                  line the single build says). --lom writes one job\n"
     "                                  file with a line item each, only when every item was\n"
     "                                  built and every row written. The tool writes none of\n"
     "                                  the window's working files, so runs side by side\n"
     "                                  never wait for each other.\n"},
    {"paths",
     "  paths                           where the program reads and writes, one name=value a\n"
     "                                  line: program (the program folder), working (the\n"
     "                                  program folder when the user may write it, else the\n"
#ifdef _WIN32
     "                                  user's own, %LOCALAPPDATA%\\kav-pnb\\), data (the\n"
#else
     "                                  user's own), data (the\n"
#endif
     "                                  working folder's data folder, where the window keeps\n"
     "                                  pnb.dat, AntFlanges.dat and the lock), job (the job\n"
     "                                  file the window leaves on Finish, where a calling\n"
     "                                  program that names none reads it: the working\n"
     "                                  folder, not always the program folder; a caller\n"
     "                                  names its own with kav_pnb MODEL --job-file PATH),\n"
     "                                  registry (each settings file or key read, in order)\n"
     "                                  and catalog (the shared catalogue folder)\n"},
    {"check",
     "  check                           checks the catalogue as the program reads it; prints\n"
     "                                  one finding a line, then a summary line:\n"
     "                                  FILE:LINE:COLUMN: SEVERITY: what is wrong -- what the\n"
     "                                  program does with it (LINE 0: the whole file; COLUMN:\n"
     "                                  the cell, counted from 1; 0: the whole line).\n"
     "                                  Errors, where the program fails or builds a wrong\n"
     "                                  part number or price:\n"
     "                                  - a file, registry value or column missing;\n"
     "                                  - columns repeated or out of order; rows too short;\n"
     "                                  - model numbers repeated (a build takes the first\n"
     "                                  row), empty, unpriced or beginning with a comment\n"
     "                                  mark;\n"
     "                                  - prices that do not convert;\n"
     "                                  - flanges without a suffix row;\n"
     "                                  - offered frequency and type pairs without an\n"
     "                                  antenna;\n"
     "                                  - pictures that do not decode.\n"
     "                                  Warnings, where the program copes but the user meets\n"
     "                                  a gap or the row is never reached:\n"
     "                                  - prices whose reading depends on the locale (1,720\n"
     "                                  is 1.72 with a decimal comma, no number with a\n"
     "                                  point);\n"
     "                                  - no radome or packing options;\n"
     "                                  - empty flanges, types, sizes, groups or sheet\n"
     "                                  entries;\n"
     "                                  - missing pictures or picture lines;\n"
     "                                  - rows and pairs no query reaches; extra cells;\n"
     "                                  - cells longer than the 50-character field\n"
     "                                  (descriptions aside).\n"}};

const char* const kOptions =
    "Options:\n"
    "  --catalog DIR                   the shared catalogue folder (MWAnts.dat, M_LOM.dat)\n"
    "                                  for this run, over the registry's value:\n"
#ifdef _WIN32
    "                                  HKEY_CURRENT_USER\\Software\\Ostrel\\Common Files, Path\n"
    "                                  (then the same under HKEY_LOCAL_MACHINE; set with:\n"
    "                                  reg add \"HKCU\\Software\\Ostrel\\Common Files\" /v Path\n"
    "                                  /d \"C:\\your\\catalog\" /f)\n"
#else
    "                                  Path= under [Common Files] in\n"
    "                                  ~/.config/Ostrel/registry.ini (then\n"
    "                                  /etc/xdg/Ostrel/registry.ini)\n"
#endif
    "  --program-folder DIR            the folder holding data/ and Images/ (default: the\n"
    "                                  folder of this program)\n"
    "  --format tsv|csv|json           the output of query, spec, options, build and check:\n"
    "                                  tsv (the default: tab-separated rows with a title\n"
    "                                  row, name=value lines for spec and build), csv (RFC\n"
    "                                  4180, a title row, CR LF line ends) or json (an array\n"
    "                                  of objects keyed by the titles; [] when nothing is\n"
    "                                  found). With json, errors go to standard error as\n"
    "                                  one object: {\"error\": \"...\", \"detail\": \"...\",\n"
    "                                  \"context\": \"...\"}, detail only when there is more\n"
    "                                  to say, context the command and its words\n"
    "  --encoding utf-8|windows-1252   the text of tsv and csv output and of messages, and\n"
    "                                  of the model, option values and batch lines given:\n"
    "                                  UTF-8 (the default), or the catalogue's own\n"
    "                                  Windows-1252 bytes; json is always UTF-8\n"
    "  -h, --help                      this text; COMMAND --help: that command's\n"
    "  -V, --version                   the program's version\n"
    "  --option=VALUE                  the same as --option VALUE\n"
    "  --                              what follows is MODEL, even when it begins with -\n";

const char* const kStatuses =
    "Exit status: 0 success; 1 nothing found, an option not offered, or a batch item\n"
    "not found; 2 bad usage; 3 a file or the catalogue could not be read or written,\n"
    "wherever it happens (the output too: a full disk is never success). check: 1\n"
    "when it found errors, 0 otherwise (warnings alone give 0). A run that ends with\n"
    "a status other than 0 prints no quote. The first line of every error on\n"
    "standard error begins \"kav_pnb_cli: \" and says what went wrong; the text the\n"
    "window would show may follow. Text output ends lines with LF, csv with CR LF.\n"
    "In tsv a cell never breaks its line: a tab, CR, LF and backslash in it are\n"
    "written \\t, \\r, \\n and \\\\.\n";

const char* const kExamples =
#ifdef _WIN32
    "Example, a quote of two items:\n"
    "  (echo OSD4-6,,, & echo OSD6-6,PDR70,,2) > quote.csv\n"
    "  kav_pnb_cli build --batch quote.csv --format csv\n";
#else
    "Example, a quote of two items:\n"
    "  printf 'OSD4-6,,,\\nOSD6-6,PDR70,,2\\n' | kav_pnb_cli build --batch - --format csv\n";
#endif

}  // namespace

std::string CliUsage(const std::string& command) {
  for (const TCommandHelp& help : kCommands)
    if (command == help.name)
      return "Usage: kav_pnb_cli " + command +
             " [OPTIONS] [--catalog DIR] [--program-folder DIR]\n\n" + help.text + "\n" + kOptions +
             "\n" + (command == "build" ? kExamples + std::string("\n") : "") + kStatuses;
  std::string usage =
      "Usage: kav_pnb_cli COMMAND [OPTIONS] [--catalog DIR] [--program-folder DIR]\n"
      "\n"
      "Commands:\n";
  for (const TCommandHelp& help : kCommands)
    usage += help.text;
  return usage + "\n" + kOptions + "\n" + kExamples + "\n" + kStatuses;
}
