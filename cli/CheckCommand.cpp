// check: the catalogue judged by the rules the program reads it by.
#include "checker/CatalogChecker.h"
#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"
#include "platform/Error.h"

#ifdef KAV_CLI_DECODES_PICTURES
#include "pictures/PictureDecoder.h"
#endif

namespace {

#ifdef KAV_CLI_DECODES_PICTURES
// The catalogue check's picture decoder: the window's own, so the check
// gives the window's error texts, and nothing for a good picture.
std::string PictureError(const std::string& path) {
  try {
    DecodePicture(path);
    return {};
  } catch (const EKavError& error) {
    return error.what();
  }
}
#endif

}  // namespace

int RunCheck(TToolRun& run, const TCommandLine&) {
  const std::string folder = run.GivenFolder().value_or("");
#ifdef KAV_CLI_DECODES_PICTURES
  const TCheckResult result = CheckCatalogue(PictureError, folder);
#else
  const TCheckResult result = CheckCatalogue({}, folder);
  // A build without the window's decoder (the Windows one) says so, once;
  // with JSON the error stream carries errors only.
  if (run.Format() != TFormat::Json)
    run.Err() << "kav_pnb_cli: note: pictures are checked for presence only; this build does not "
                 "decode them\n";
#endif
  if (run.Format() == TFormat::Tsv) {
    for (const TFinding& finding : result.findings)
      run.Out() << LineText(FormatFinding(finding), run.Encoding()) << '\n';
    run.Out() << FormatSummary(result) << '\n';
  } else {
    // A finding names a path and quotes the catalogue: the program's text.
    const auto text = [](const char* title) {
      return TColumn(title, TCellKind::Text, TTextOrigin::Program);
    };
    TRecordWriter writer(run.Out(), run.Format(),
                         {text("File"),
                          {"Line", TCellKind::Number},
                          {"Column", TCellKind::Number},
                          "Severity",
                          text("Problem"),
                          text("Effect")},
                         run.Encoding());
    for (const TFinding& finding : result.findings)
      writer.Row({finding.file, std::to_string(finding.line), std::to_string(finding.column),
                  finding.severity == TSeverity::Error ? "error" : "warning", finding.problem,
                  finding.effect});
  }
  return result.errors > 0 ? 1 : 0;
}
