// The findings: made, aggregated, sorted and formatted.
#include "checker/CatalogChecker_p.h"

namespace checker_detail {

size_t TChecker::Add(TSeverity severity, int order, const std::string& file, long line, int column,
                     std::string problem, std::string effect) {
  findings_.push_back(
      {order, {severity, file, line, column, std::move(problem), std::move(effect)}});
  return findings_.size() - 1;
}

size_t TChecker::Error(const TSource& s, long line, int column, std::string problem,
                       std::string effect) {
  return Add(TSeverity::Error, s.order, s.path, line, column, std::move(problem),
             std::move(effect));
}

size_t TChecker::Warning(const TSource& s, long line, int column, std::string problem,
                         std::string effect) {
  return Add(TSeverity::Warning, s.order, s.path, line, column, std::move(problem),
             std::move(effect));
}

TCheckResult TChecker::Finish() {
  for (TAggregate* aggregate : aggregates_)
    if (aggregate->finding != kNone && aggregate->more > 0)
      findings_[aggregate->finding].second.effect +=
          "; " + Count(aggregate->more, aggregate->noun, aggregate->nouns);
  std::stable_sort(findings_.begin(), findings_.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    if (a.second.line != b.second.line) return a.second.line < b.second.line;
    return a.second.column < b.second.column;
  });
  TCheckResult result;
  for (auto& [order, finding] : findings_) {
    (finding.severity == TSeverity::Error ? result.errors : result.warnings)++;
    result.findings.push_back(std::move(finding));
  }
  result.files = files_;
  result.antennas = antennas_;
  return result;
}

// Makes `aggregate` known to Finish.
TAggregate& TChecker::Track(TAggregate& aggregate) {
  aggregates_.push_back(&aggregate);
  return aggregate;
}

}  // namespace checker_detail

std::string FormatFinding(const TFinding& finding) {
  return finding.file + ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column) +
         ": " + (finding.severity == TSeverity::Error ? "error" : "warning") + ": " +
         finding.problem + " -- " + finding.effect;
}

std::string FormatSummary(const TCheckResult& result) {
  return checker_detail::Count(result.errors, "error", "errors") + ", " +
         checker_detail::Count(result.warnings, "warning", "warnings") + " in " +
         checker_detail::Count(result.files, "catalogue file", "catalogue files") + " (" +
         checker_detail::Count(result.antennas, "antenna", "antennas") + ")";
}

TCheckResult CheckCatalogue(const TPictureDecoder& decodePicture, const std::string& folderGiven) {
  return checker_detail::TChecker(decodePicture, folderGiven).Run();
}
