// The headless tool on the test's own catalogue.
#include <filesystem>
#include <sstream>

#include "CatalogFixture.h"
#include "cli/CliCommands.h"
#include "cli/OutputStream.h"
#include "platform/FileLock.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

class CliTest : public CatalogFixture {
 protected:
  int Run(std::vector<std::string> args) {
    args.push_back("--program-folder");
    args.push_back(program.Path());
    out.str("");
    err.str("");
    return RunCli(args, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(CliTest, QueryPrintsTheGridColumns) {
  // A query lists antennas without choosing one: no job files are written.
  std::filesystem::remove(program / "data/pnb.dat");
  std::filesystem::remove(program / "data/AntFlanges.dat");
  ASSERT_EQ(Run({"query", "--part", "HP4"}), 0) << err.str();
  EXPECT_FALSE(std::filesystem::exists(program / "data/pnb.dat"));
  EXPECT_FALSE(std::filesystem::exists(program / "data/AntFlanges.dat"));
  std::istringstream lines(out.str());
  std::string title, row, rest;
  std::getline(std::getline(lines, title), row);
  EXPECT_EQ(title.substr(0, 36), "Model Number\tFrequency\tAntenna Input");
  EXPECT_EQ(row.substr(0, 22), "HP4-23\t23 GHz\tPDR220\tS");
  EXPECT_FALSE(std::getline(lines, rest));

  EXPECT_EQ(Run({"query", "--freq", "23 GHz", "--type", "STD"}), 0);
  EXPECT_NE(out.str().find("STD2-23"), std::string::npos);
  EXPECT_EQ(Run({"query", "--freq", "23 GHz", "--type", "XX"}), 1);
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: The antenna type \"XX\" is not offered; the choices are: "
            "\"HP\", \"STD\"\n");
  // What went wrong first, after the tool's name; then the window's box.
  EXPECT_EQ(Run({"query", "--part", "hp"}), 1);
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: The model number: hp was not found\nThe following error was "
            "encountered:\n'The model number: hp was not found'\n\n");
}

TEST_F(CliTest, BuildWithChosenOptions) {
  ASSERT_EQ(Run({"build", "HP2-23", "--flange", "UDR220", "--radome", "Hydrophobic radome",
                 "--pack", "E", "--lom"}),
            0)
      << err.str();
  EXPECT_EQ(out.str(),
            "Base Part Number=HP2-23\nCustom Part Number=HP2-23-BHE\nCustom Description=2 ft "
            "High Performance Antenna, UDR220 flange, Hydrophobic radome, Export crate\n"
            "Custom Price=$1275\n");
  EXPECT_NE(ReadFile(program / "kav_pnb.lom").find("1=1|each|HP2-23|HP2-23-BHE|"),
            std::string::npos);

  // Names as people type them: any letter case, a unique whole word of an
  // option's text; a part of a word picks nothing ("rey" is in "Grey"). The
  // job file goes where the caller says; a build that fails removes it.
  const std::string exact = out.str();
  ASSERT_EQ(Run({"build", "hp2-23", "--flange", "udr220", "--radome", "hydrophobic", "--pack",
                 "EXPORT", "--lom", "--job-file", program / "mine.lom"}),
            0)
      << err.str();
  EXPECT_EQ(out.str(), exact);
  EXPECT_EQ(ReadFile(program / "mine.lom"), ReadFile(program / "kav_pnb.lom"));
  EXPECT_EQ(Run({"build", "HP2-23", "--pack", "Z", "--lom", "--job-file", program / "mine.lom"}),
            1);
  EXPECT_FALSE(std::filesystem::exists(program / "mine.lom"));
  EXPECT_NE(err.str().find("No job file was written; the earlier job file was removed."),
            std::string::npos)
      << err.str();
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", "rey"}), 1);
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: The radome option \"rey\" is not offered; the choices are: \"Grey "
            "radome\", \"Hydrophobic radome\"\n");
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", "radome"}), 1);
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: The radome option \"radome\" is ambiguous; it matches: \"Grey radome\", "
            "\"Hydrophobic radome\"\n");
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", "Pink"}), 1);
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: The radome option \"Pink\" is not offered; the choices are: \"Grey "
            "radome\", \"Hydrophobic radome\"\n");
  // An accented letter is a letter, not a break between words; punctuation
  // alone names nothing.
  Data("radome_List.dat",
       "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n"
       "HP|2|G|150.5|Gr\xE8s radome, white (fitted)\r\nHP|2|H|200|Hydrophobic radome\r\n");
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", "Gr"}), 1);
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", ")"}), 1);
  ASSERT_EQ(Run({"build", "HP2-23", "--radome", "GR\xC3\x88S"}), 0) << err.str();
  EXPECT_NE(out.str().find("Custom Part Number=HP2-23-AGP\n"), std::string::npos) << out.str();
}

#ifndef _WIN32
TEST_F(CliTest, AFolderNamedInAnyAlphabetIsWrittenAsNamedInEveryFormat) {
  // A path is UTF-8 text, the catalogue Windows-1252: each goes out as what it is.
  const std::string folder = program / "\xD0\xB8\xD0\xB2\xD0\xB0\xD0\xBD/f\xC3\xBCr";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(shared / "MWAnts.dat", folder + "/MWAnts.dat");
  WriteFile(program / "quote.csv", "HP2-23\n");
  for (const char* format : {"tsv", "csv", "json"}) {
    SCOPED_TRACE(format);
    ASSERT_EQ(Run({"paths", "--catalog", folder, "--format", format}), 0) << err.str();
    EXPECT_NE(out.str().find(folder), std::string::npos) << out.str();
    EXPECT_EQ(Run({"check", "--catalog", folder, "--format", format}), 1);
    EXPECT_NE(out.str().find(folder + "/M_LOM.dat"), std::string::npos) << out.str();
    EXPECT_EQ(
        Run({"build", "--batch", program / "quote.csv", "--catalog", folder, "--format", format}),
        3);
    EXPECT_NE(out.str().find(folder + "/M_LOM.dat does not exist"), std::string::npos) << out.str();
  }
  ASSERT_EQ(Run({"paths", "--catalog", folder, "--encoding", "windows-1252", "--format", "csv"}),
            0);
  EXPECT_NE(out.str().find(std::string(4, '?') + "/f\xFCr"), std::string::npos) << out.str();
}
#endif

TEST_F(CliTest, SpecAndOptions) {
  ASSERT_EQ(Run({"spec", "HP2-23"}), 0);
  EXPECT_EQ(out.str().substr(0, 43), "Type Number=HP2-23\nAntenna Inputs=PDR220, U");
  EXPECT_EQ(out.str().find(" ="), std::string::npos) << out.str();  // names without padding
  ASSERT_EQ(Run({"options", "HP2-23"}), 0);
  EXPECT_EQ(out.str(),
            "Option\tCode\tDescription\tPrice\nflange\tPDR220\t\t\nflange\tUDR220\t\t\n"
            "radome\tX\tGrey radome\t150.5\nradome\tH\tHydrophobic radome\t200\n"
            "pack\tP\tStandard crate\t0\npack\tE\tExport crate\t75\n");
  ASSERT_EQ(Run({"options", "HP2-23", "--format", "json"}), 0);
  EXPECT_NE(out.str().find("{\"Option\": \"radome\", \"Code\": \"X\", \"Description\": \"Grey "
                           "radome\", \"Price\": 150.5}"),
            std::string::npos)
      << out.str();
}

TEST_F(CliTest, UsageErrorsAndReportedErrors) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({"build"}), 2);
  EXPECT_EQ(Run({"query", "--bogus"}), 2);
  // Nothing a command does not take is ignored: one line and the way to help.
  EXPECT_EQ(Run({"query", "--all", "--part", "HP"}), 2);
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: query needs one of --all, --freq F --type T, or --part TEXT\n"
            "Try 'kav_pnb_cli --help'.\n");
  EXPECT_EQ(Run({"spec", "HP2-23", "--flange", "PDR220"}), 2);
  EXPECT_EQ(Run({"query", "--part", "HP", "--part", "STD"}), 2);
  EXPECT_EQ(Run({"query", "--part", "HP", "--lom"}), 2);
  EXPECT_EQ(Run({"query", "-x"}), 2);
  EXPECT_EQ(err.str(), "kav_pnb_cli: unknown option -x\nTry 'kav_pnb_cli --help'.\n");
  EXPECT_EQ(Run({"build", "HP2-23", "--flange", "--lom"}), 2);  // the flange was lost
  EXPECT_EQ(err.str().substr(0, err.str().find('\n')), "kav_pnb_cli: --flange needs a value");
#ifdef _WIN32
  EXPECT_EQ(Run({"query", "--all", "--catalog", "C:\\My Tools\\common\""}), 2);  // cmd's rule
  EXPECT_NE(err.str().find("drop the path's last backslash"), std::string::npos) << err.str();
#endif
  // An empty path is a slip in the command line, not a file that failed.
  EXPECT_EQ(Run({"build", "HP2-23", "--lom", "--job-file", ""}), 2);
  EXPECT_EQ(err.str().substr(0, err.str().find('\n')), "kav_pnb_cli: --job-file needs a path");
  EXPECT_EQ(Run({"/?"}), 0);
  EXPECT_EQ(Run({"build", "--help"}), 0);  // build's own help
  EXPECT_NE(out.str().find("--batch FILE"), std::string::npos);
  EXPECT_EQ(out.str().find("  check "), std::string::npos);
  EXPECT_EQ(Run({"-V"}), 0);
  EXPECT_EQ(out.str(), "kav_pnb_cli 1.0.0\n");
  // A program that asked for JSON gets its error as one JSON object, its
  // options in any place, as --opt=value too; "--" ends the options.
  out.str("");
  err.str("");
  EXPECT_EQ(RunCli({"--format=json", "--program-folder", program.Path(), "build", "--", "NOPE"},
                   out, err),
            1);
  EXPECT_EQ(out.str(), "[]\n");  // still a list to read
  EXPECT_EQ(err.str(),
            "{\"error\": \"The model number: NOPE was not found\", \"detail\": \"The following "
            "error was encountered: 'The model number: NOPE was not found'\", \"context\": "
            "\"build NOPE\"}\n");
  EXPECT_EQ(Run({"build", "HP2-23", "--lom=yes"}), 2);
  // Nothing found is the title row alone, as a script's CSV reader wants it.
  EXPECT_EQ(Run({"query", "--part", "NOPE", "--format", "csv"}), 1);
  EXPECT_EQ(std::pair(out.str().rfind("Model Number,", 0), out.str().find("\r\n")),
            std::pair(size_t{0}, out.str().size() - 2));
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out.str().find("Usage: kav_pnb_cli"), std::string::npos);
  // A file or catalogue that cannot be read has a status of its own, 3.
  EXPECT_EQ(RunCli({"query", "--all", "--program-folder", program / "nope"}, out, err), 3);
  EXPECT_NE(err.str().find("Cannot use the program folder " + (program / "nope") + ": "),
            std::string::npos)
      << err.str();
  // The hint names where this run's folder came from.
  EXPECT_EQ(Run({"query", "--all", "--catalog", program / "nowhere"}), 3);
  EXPECT_NE(err.str().find("The catalogue folder is the one given with --catalog."),
            std::string::npos)
      << err.str();
  EXPECT_EQ(err.str().find("registry.ini"), std::string::npos) << err.str();
  // A build whose option table does not open is no quote: status 3, and no
  // job file, not even an earlier one.
  std::filesystem::remove(program / "data/flng_list.dat");
  WriteFile(program / "kav_pnb.lom", "[OLD]\r\n");
  EXPECT_EQ(Run({"build", "HP2-23", "--lom"}), 3);
  EXPECT_NE(err.str().find("loading Flange Suffix data"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(program / "kav_pnb.lom"));
  // Built without a table that failed is no quote: no row, and an option
  // of that table is no choice "not offered".
  std::filesystem::remove(program / "data/pack_list.dat");
  EXPECT_EQ(Run({"build", "HP2-23", "--format", "csv"}), 3);
  EXPECT_EQ(out.str(),
            "Model,Custom Part Number,Custom Description,Custom Price,Price,Warnings\r\n");
  EXPECT_NE(err.str().find("loading Packing data"), std::string::npos);
  EXPECT_EQ(Run({"build", "HP2-23", "--pack", "2"}), 3);
  EXPECT_NE(err.str().find("kav_pnb_cli: The packing option \"2\" cannot be chosen: "
                           "pack_list.dat could not be read."),
            std::string::npos)
      << err.str();
  std::filesystem::remove(shared / "MWAnts.dat");
  EXPECT_EQ(Run({"query", "--all", "--format", "json"}), 3);
  EXPECT_EQ(out.str(), "[]\n");
  WriteFile(program / "quote.csv", "HP2-23\nHP4-23\n");  // a file error wherever it happens
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv"}), 3);

  // Output that cannot be written is never success.
  std::ostream lost(nullptr);
  err.str("");
  EXPECT_EQ(RunCli({"--version"}, lost, err), 3);
  EXPECT_EQ(err.str(), "kav_pnb_cli: Cannot write the output: the stream failed.\n");
#ifndef _WIN32
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  TDescriptorOutput disk(full);
  std::ostream toDisk(&disk);
  EXPECT_FALSE(toDisk << "x" << std::flush);
  EXPECT_EQ(disk.Error(), ENOSPC);
  ::close(full);
#endif
}

TEST_F(CliTest, CsvAndJsonQuoteAndConvertAsTheirRulesSay) {
  // HP2-23 is listed twice: a warning says which row is built.
  Shared("M_LOM.dat", LomHeader() + "21|23|HP2-23|hp2|2 ft \"HP\" caf\xE9 \x80|1000\r\n");
  const std::string twice = "listed 2 times in MWAnts.dat: the first row is built";
  ASSERT_EQ(Run({"build", "HP2-23", "--format", "csv"}), 0) << err.str();
  const std::string title =
      "Model,Custom Part Number,Custom Description,Custom Price,Price,Warnings\r\n";
  EXPECT_EQ(out.str(), title +
                           "HP2-23,HP2-23-AXP,\"2 ft \"\"HP\"\" caf\xC3\xA9 \xE2\x82\xAC, PDR220 "
                           "flange, Grey radome, Standard crate\",$1150.5,1150.5," +
                           twice + "\r\n");
  ASSERT_EQ(Run({"build", "HP2-23", "--format", "csv", "--encoding", "windows-1252"}), 0);
  EXPECT_EQ(out.str(), title +
                           "HP2-23,HP2-23-AXP,\"2 ft \"\"HP\"\" caf\xE9 \x80, PDR220 flange, Grey "
                           "radome, Standard crate\",$1150.5,1150.5," +
                           twice + "\r\n");
  ASSERT_EQ(Run({"build", "HP2-23", "--format", "json"}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "[\n  {\"Model\": \"HP2-23\", \"Custom Part Number\": \"HP2-23-AXP\", "
            "\"Custom Description\": \"2 ft \\\"HP\\\" caf\xC3\xA9 \xE2\x82\xAC, PDR220 flange, "
            "Grey radome, Standard crate\", \"Custom Price\": \"$1150.5\", \"Price\": 1150.5, "
            "\"Warnings\": [\"" +
                twice + "\"]}\n]\n");
  // An unpriced item is built as the window builds it, and says where.
  Shared("M_LOM.dat", LomHeader() + "21|23|HP2-23|hp2||12.5x\r\n");
  ASSERT_EQ(Run({"build", "HP2-23", "--format", "json"}), 0) << err.str();
  EXPECT_NE(out.str().find("\"Custom Price\": \"$0.00\", \"Price\": null, \"Warnings\": [\"no "
                           "price: M_LOM.dat line 3, USPrice: the price \\\"12.5x\\\" is not a "
                           "plain number\", \"no description\", \"" +
                           twice + "\"]"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(Run({"query", "--part", "NOTHING", "--format", "json"}), 1);
  EXPECT_EQ(out.str(), "[]\n");
  EXPECT_EQ(Run({"spec", "HP2-23", "--format", "xml"}), 2);

  // A cell's tab or backslash never breaks a tab-separated line.
  Shared("M_LOM.dat", LomHeader() + "21|23|HP2-23|hp2|2 ft\tHP\\|1000\r\n");
  ASSERT_EQ(Run({"build", "HP2-23"}), 0) << err.str();
  EXPECT_NE(out.str().find("\nCustom Description=2 ft\\tHP\\\\, PDR220 flange"), std::string::npos)
      << out.str();
}

TEST_F(CliTest, ABatchGivesWhatSingleBuildsGiveLineForLine) {
  WriteFile(program / "quote.csv",
            "model,flange,radome,pack\r\nHP2-23,UDR220,\"Hydrophobic radome\",E\r\n"
            "HP4-23,,,\r\nNOPE,,,\r\nHP2-23,,,2\r\n");
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv", "--format", "csv"}), 1);
  const std::string batch = out.str();
  std::string expected =
      "Line,Model,Custom Part Number,Custom Description,Custom Price,Price,Warnings,Status\r\n";
  int line = 2;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"build", "HP2-23", "--flange", "UDR220", "--radome", "Hydrophobic radome", "--pack",
            "E", "--format", "csv"},
           {"build", "HP4-23", "--format", "csv"}}) {
    ASSERT_EQ(Run(args), 0) << err.str();
    const std::string row = out.str().substr(out.str().find("\r\n") + 2);
    expected += std::to_string(line++) + "," + row.substr(0, row.size() - 2) + ",ok\r\n";
  }
  expected +=
      "4,NOPE,,,,,,The model number: NOPE was not found\r\n"
      "5,HP2-23,,,,,,\"The packing option \"\"2\"\" is not offered; the choices are: \"\"Standard "
      "crate\"\", \"\"Export crate\"\"\"\r\n";
  EXPECT_EQ(batch, expected);
}

TEST_F(CliTest, ABatchBuildsWhatItWasAskedAndHandsBackOneQuote) {
  // A spreadsheet's byte-order mark and header, blank lines and an empty
  // model: nothing is quoted that was not asked for, each row names its line.
  WriteFile(
      program / "quote.csv",
      "\xEF\xBB\xBFmodel,flange,radome,pack\r\n\r\nHP2-23,UDR220,,\r\n  \r\n,,,\r\nHP4-23\r\n");
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv", "--lom"}), 1);
  std::istringstream rows(out.str());
  std::string row, lines;
  std::getline(rows, row);
  while (std::getline(rows, row))
    lines += row.substr(0, row.find('\t')) + row.substr(row.rfind('\t')) + "|";
  EXPECT_EQ(lines, "3\tok|5\tThe model number is empty.|6\tok|");
  EXPECT_EQ(err.str(), "kav_pnb_cli: No job file was written: 1 of 3 items failed.\n");
  EXPECT_FALSE(std::filesystem::exists(program / "kav_pnb.lom"));

  WriteFile(program / "quote.csv", "HP2-23,UDR220,,\nHP4-23\n");
  ASSERT_EQ(Run({"build", "--batch", program / "quote.csv", "--lom"}), 0) << err.str();
  const std::string job = ReadFile(program / "kav_pnb.lom");
  EXPECT_NE(job.find("1=1|each|HP2-23|HP2-23-BXP|"), std::string::npos) << job;
  EXPECT_NE(job.find("2=1|each|HP4-23|HP4-23-AXP|"), std::string::npos) << job;

  // A failed batch leaves no earlier quote behind for its caller to read.
  WriteFile(program / "quote.csv", "NOPE\n");
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv", "--lom"}), 1);
  EXPECT_FALSE(std::filesystem::exists(program / "kav_pnb.lom"));

  // A spreadsheet's semicolons, its title row in capitals with quotes and
  // blanks, its empty last cells; text in UTF-8 ("Grey radome", with an
  // en dash for the blank, is not; the catalogue's Windows-1252 is matched).
  Data("radome_List.dat",
       "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n"
       "HP|2|X|150.5|Grey\x96radome\r\n");
  WriteFile(program / "quote.csv",
            "\"MODEL\" ; Flange;RADOME;pack;;\r\nhp2-23;;\"Grey\xE2\x80\x93radome\";;;\r\n");
  ASSERT_EQ(Run({"build", "--batch", program / "quote.csv"}), 0) << err.str() << out.str();
  EXPECT_NE(out.str().find("\n2\tHP2-23\tHP2-23-AXP\t"), std::string::npos) << out.str();
  // Messages come in the run's encoding too.
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", "Pink", "--encoding", "windows-1252"}), 1);
  EXPECT_NE(err.str().find("\"Grey\x96radome\""), std::string::npos) << err.str();
  EXPECT_EQ(Run({"build", "HP2-23", "--radome", "Pink"}), 1);
  EXPECT_NE(err.str().find("\"Grey\xE2\x80\x93radome\""), std::string::npos) << err.str();
  // PowerShell's and Notepad's "Unicode": UTF-16 with its byte-order mark.
  const char unicode[] =
      "\xFF\xFEh\0p\0"
      "2\0-\0"
      "2\0"
      "3\0\r\0\n\0";
  WriteFile(program / "quote.csv", std::string(unicode, sizeof unicode - 1));
  ASSERT_EQ(Run({"build", "--batch", program / "quote.csv"}), 0) << err.str();
  EXPECT_NE(out.str().find("\n1\tHP2-23\tHP2-23-AXP\t"), std::string::npos) << out.str();
  WriteFile(program / "quote.csv", std::string("h\0p\0", 4));
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv"}), 2);
  EXPECT_NE(err.str().find("NUL bytes and no byte-order mark"), std::string::npos) << err.str();
  WriteFile(program / "quote.csv", "HP2-23;;;;X\n");
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv"}), 2);
  EXPECT_EQ(err.str().substr(0, err.str().find('\n')),
            "kav_pnb_cli: batch line 1: more than four fields (model,flange,radome,pack) "
            "separated by semicolons");
  WriteFile(program / "quote.csv", "\r\nmodel,flange\r\n");
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv"}), 2);
  EXPECT_EQ(err.str().substr(0, err.str().find('\n')), "kav_pnb_cli: the batch holds no item");
  // Excel's "sep=" hint, then its title row; an old Mac's CR-only line ends.
  WriteFile(program / "quote.csv", "sep=|\rmodel|flange\rHP2-23||\rSTD6-6\r");
  ASSERT_EQ(Run({"build", "--batch", program / "quote.csv"}), 0) << err.str() << out.str();
  EXPECT_NE(out.str().find("\n3\tHP2-23\t"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\n4\tSTD6-6\t"), std::string::npos) << out.str();
  // UTF-32, and a NUL inside a UTF-16 field, are refused, not guessed.
  WriteFile(program / "quote.csv", std::string("\xFF\xFE\0\0h\0\0\0", 8));
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv"}), 2);
  EXPECT_NE(err.str().find("UTF-32"), std::string::npos) << err.str();
  WriteFile(program / "quote.csv", std::string("\xFF\xFEh\0\0\0p\0", 8));
  EXPECT_EQ(Run({"build", "--batch", program / "quote.csv"}), 2);
  EXPECT_EQ(err.str().substr(0, err.str().find('\n')),
            "kav_pnb_cli: batch line 1: holds a NUL character");
}

#ifndef _WIN32
TEST_F(CliTest, AToolRunNeverWaitsForTheWindowsFilesAndAStoppedRunLeavesNoJobFile) {
  // Another copy (a window, a batch) holding the working folder's lock is no
  // reason to wait: the tool writes none of the window's files.
  TFileLock other([&] { return program / "data/kav_pnb.lock"; });
  other.Acquire();
  ASSERT_EQ(Run({"build", "HP2-23", "--radome", "Hydrophobic"}), 0) << err.str();
  EXPECT_NE(out.str().find("\nCustom Part Number=HP2-23-AHP\n"), std::string::npos) << out.str();
  other.Release();

  // A batch whose reader goes after the first line: the earlier job file is
  // gone and no new one comes.
  std::string items;
  for (int i = 0; i < 3000; ++i)
    items += "HP2-23\n";
  WriteFile(program / "quote.csv", items);
  WriteFile(program / "kav_pnb.lom", "[OLD]\r\n");
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeEnds[0]);
    TDescriptorOutput toPipe(pipeEnds[1]);
    std::ostream piped(&toPipe);
    std::ostringstream said;
    ::_exit(RunCli(
        {"build", "--batch", program / "quote.csv", "--lom", "--program-folder", program.Path()},
        piped, said));
  }
  ::close(pipeEnds[1]);
  char first[64];
  ASSERT_GT(::read(pipeEnds[0], first, sizeof first), 0);
  ::close(pipeEnds[0]);  // as `head -1` does
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) || WEXITSTATUS(status) == 3) << status;
  EXPECT_FALSE(std::filesystem::exists(program / "kav_pnb.lom"));
}
#endif

}  // namespace
