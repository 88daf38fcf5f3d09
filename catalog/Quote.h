#pragma once
// The custom part number, description and price of one antenna with its
// chosen options: one value, built by one function from the rows chosen, and
// read by every consumer (the pages, Finish, the job file, the clipboard,
// the export, the printout, the headless tool).
#include <optional>
#include <string>
#include <vector>

#include "platform/NameValueList.h"

// A catalogue price, read once from its cell. Without a value it could not
// be read: `problem` says which file, line and cell, and why.
struct TPrice {
  std::optional<double> value;
  std::string problem;
  std::string text;  // the cell as the catalogue writes it
};

// Reads a price cell: with the user's decimal separator, else with a point.
// The problem of a price that cannot be read says why, not where.
TPrice ReadPrice(const std::string& text);
// A price in JSON's notation: a point, the shortest digits that read back
// as the same number.
std::string PriceNumber(double price);

// One row of an option table as the quote and its readers take it.
struct TOption {
  std::string code;           // the suffix it adds to the part number (a flange: its name)
  std::string description;    // the text of the list and of the description
  TPrice price{0.0, {}, {}};  // nothing to add unless the table prices its options
};

// What a quote is built from: the current antenna and the option rows
// chosen for it (empty texts where a table has no current row).
struct TQuoteSources {
  std::string model;
  std::string antennaDescription;
  TPrice listPrice;
  std::string flange;
  std::string flangeSuffix;
  TOption radome;
  TOption pack;
  // The failures met while choosing these rows, in the order they came.
  std::vector<std::string> errors;
};

struct TQuote {
  std::string model;
  std::string partNumber;
  std::string description;
  // The sum of the three prices; none when one of them could not be read.
  std::optional<double> price;
  // Why the price is missing, one text a price that could not be read.
  std::vector<std::string> priceProblems;
  // The failures that make this quote unfit to hand back, in order.
  std::vector<std::string> errors;
  // Whether the part number was built at all: a build that failed shows
  // and hands back nothing but the model.
  bool built = false;
  // The rows it was made of.
  TQuoteSources madeOf;

  bool Complete() const { return built && errors.empty(); }
  // The price as the window shows it and the job file holds it: the
  // general number format, "0.00" when it is missing.
  std::string PriceText() const;
  // The price in JSON's notation, a point and no exponent loss; empty when missing.
  std::string PriceNumber() const;
};

// The composition rules: the model, "-", the three suffixes; the antenna's
// description, the flange, the radome text and the packing text with their
// fixed separators; the sum of the three prices.
TQuote BuildQuote(const TQuoteSources& sources);
// The part number and the description as composed, before the quote takes
// them as the part-number file's cells (trimmed).
std::string ComposedPartNumber(const TQuoteSources& sources);
std::string ComposedDescription(const TQuoteSources& sources);

// The part-number rows of the printout, the clipboard and the export:
// "Base Part Number", "Custom Part Number", "Custom Description" and
// "Custom Price" ("$" and the price), empty entries left out.
void PartNumberValues(const TQuote& quote, TNameValueList& list);
