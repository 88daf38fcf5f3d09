#pragma once
// One built part as the headless tool hands it back: the window's custom
// part number, description and price, the price as a number, and the gaps a
// caller must know of (an unpriced item still shows "$0.00" in the window).
#include <string>
#include <vector>

#include "catalog/DataModule.h"
#include "cli/RecordWriter.h"

struct TQuoteItem {
  TDataModule::TLOMItem built;  // price: the part-number file's text, without "$"
  std::string priceNumber;      // the price in JSON's notation; empty when unpriced
  std::vector<std::string> warnings;

  // The cells of ItemColumns(), in their order.
  std::vector<std::string> Cells() const;
};

// The current part number of `data`, which has just been built.
TQuoteItem CurrentQuoteItem(const TDataModule& data);

// Model, Custom Part Number, Custom Description, Custom Price, Price, Warnings.
std::vector<TColumn> ItemColumns();
// A catalogue price in JSON's notation; empty when it does not convert.
std::string PriceNumber(const std::string& price);
// The warnings in one cell, as the tab-separated and CSV rows show them.
std::string JoinedWarnings(const std::vector<std::string>& warnings);
