#include "cli/QuoteItem.h"

#include <charconv>

#include "platform/Locale.h"

namespace {

// The text the price sum gives when a price is missing or does not convert.
constexpr const char* kUnpriced = "0.00";

}  // namespace

std::string PriceNumber(const std::string& price) {
  double value = 0;
  if (price.empty() || !TryStrToPrice(price, value)) return {};
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

TQuoteItem CurrentQuoteItem(const TDataModule& data) {
  TQuoteItem item{data.CurrentLOMItem(), {}, {}};
  item.priceNumber = item.built.price == kUnpriced ? "" : PriceNumber(item.built.price);
  auto gap = [&](bool missing, const char* words) {
    if (missing) item.warnings.emplace_back(words);
  };
  gap(item.priceNumber.empty(), "no price");
  gap(FieldText(data.LOMData, "Desc").empty(), "no description");
  gap(FieldText(data.FlangeData, "Flange").empty(), "no flange");
  gap(FieldText(data.FlangeSuffixData, "Suffix").empty(), "no flange suffix");
  gap(FieldText(data.RadomeData, "Radome_Desc").empty(), "no radome option");
  gap(FieldText(data.PackData, "Pack_Desc").empty(), "no packing option");
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
  return {built.model,       built.partNumber, built.description,
          "$" + built.price, priceNumber,      JoinedWarnings(warnings)};
}
