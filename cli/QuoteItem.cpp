#include "cli/QuoteItem.h"

TQuoteItem QuoteItemOf(const TQuote& quote) {
  TQuoteItem item{quote, {}};
  for (const std::string& problem : quote.priceProblems)
    item.warnings.push_back("no price: " + problem);
  const TQuoteSources& from = quote.madeOf;
  auto gap = [&](bool missing, const char* words) {
    if (missing) item.warnings.emplace_back(words);
  };
  gap(from.antennaDescription.empty(), "no description");
  gap(from.flange.empty(), "no flange");
  gap(from.flangeSuffix.empty(), "no flange suffix");
  gap(from.radome.description.empty(), "no radome option");
  gap(from.pack.description.empty(), "no packing option");
  return item;
}

std::vector<TColumn> ItemColumns() {
  return {"Model",        "Custom Part Number",         "Custom Description",
          "Custom Price", {"Price", TCellKind::Number}, {"Warnings", TCellKind::List}};
}

std::string JoinedWarnings(const std::vector<std::string>& warnings) {
  std::string text;
  for (const std::string& warning : warnings)
    text += (text.empty() ? "" : "; ") + warning;
  return text;
}

std::vector<std::string> TQuoteItem::Cells() const {
  return {quote.model,         quote.partNumber,        quote.description, "$" + quote.PriceText(),
          quote.PriceNumber(), JoinedWarnings(warnings)};
}
