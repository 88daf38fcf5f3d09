#include "catalog/Quote.h"

#include <charconv>
#include <cmath>

#include "platform/Locale.h"
#include "platform/Text1252.h"

namespace {

// The text the window shows and the job file holds for a missing price.
constexpr const char* kUnpriced = "0.00";

// A quote's texts are those of the part-number file's cells, which are
// trimmed when they are read: a description whose last piece is empty ends
// in "," there, not in ", ".
std::string AsCell(const std::string& text) {
  return std::string(ansi::Trim(text));
}

}  // namespace

TPrice ReadPrice(const std::string& text) {
  double value = 0;
  if (TryStrToPrice(text, value)) return {value, {}, text};
  return {std::nullopt,
          text.empty() ? std::string("the price is empty")
                       : "the price \"" + text + "\" is not a plain number",
          text};
}

std::string PriceNumber(double price) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, price).ptr);
}

std::string ComposedPartNumber(const TQuoteSources& sources) {
  return sources.model + "-" + sources.flangeSuffix + sources.radome.code + sources.pack.code;
}

std::string ComposedDescription(const TQuoteSources& sources) {
  return sources.antennaDescription + ", " + sources.flange + " flange, " +
         sources.radome.description + ", " + sources.pack.description;
}

TQuote BuildQuote(const TQuoteSources& sources) {
  TQuote quote;
  quote.model = sources.model;
  quote.partNumber = AsCell(ComposedPartNumber(sources));
  quote.description = AsCell(ComposedDescription(sources));
  double sum = 0;
  for (const TPrice* price : {&sources.listPrice, &sources.radome.price, &sources.pack.price}) {
    if (price->value)
      sum += *price->value;
    else
      quote.priceProblems.push_back(price->problem);
  }
  if (quote.priceProblems.empty()) {
    if (std::isfinite(sum))
      quote.price = sum;
    else
      quote.priceProblems.emplace_back("the prices add up to more than a number holds");
  }
  quote.errors = sources.errors;
  quote.built = true;
  quote.madeOf = sources;
  return quote;
}

std::string TQuote::PriceText() const {
  return price ? FloatToStr(*price) : kUnpriced;
}

std::string TQuote::PriceNumber() const {
  return price ? ::PriceNumber(*price) : std::string();
}

void PartNumberValues(const TQuote& quote, TNameValueList& list) {
  // A build that failed leaves the part number's own rows empty.
  const bool built = quote.built;
  list.SetValue("Base Part Number", quote.model);
  list.SetValue("Custom Part Number", built ? quote.partNumber : "");
  list.SetValue("Custom Description", built ? quote.description : "");
  list.SetValue("Custom Price", "$" + (built ? quote.PriceText() : ""));
}
