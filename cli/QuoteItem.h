#pragma once
// One built part as the headless tool hands it back: the window's custom
// part number, description and price, the price as a number, and the gaps a
// caller must know of (an unpriced item still shows "$0.00" in the window).
#include <string>
#include <vector>

#include "catalog/Quote.h"
#include "cli/RecordWriter.h"

struct TQuoteItem {
  TQuote quote;
  std::vector<std::string> warnings;

  // The cells of ItemColumns(), in their order.
  std::vector<std::string> Cells() const;
};

// A built quote with the gaps it has.
TQuoteItem QuoteItemOf(const TQuote& quote);

// Model, Custom Part Number, Custom Description, Custom Price, Price, Warnings.
std::vector<TColumn> ItemColumns();
// The warnings in one cell, as the tab-separated and CSV rows show them.
std::string JoinedWarnings(const std::vector<std::string>& warnings);
