#pragma once
// The job file that hands a finished part number to a calling program: an
// INI file with a "HEADER" section and numbered site sections of line items.
#include <memory>
#include <string>
#include <vector>

#include "catalog/Quote.h"
#include "ini/IniFile.h"

class TJobFile;

// Writes the job details under "HEADER".
class THeaderSection {
 public:
  explicit THeaderSection(TJobFile& owner) : OwnerFile(owner) {}
  void SetAuthor(const std::string& value);
  void SetCompanyName(const std::string& value);
  void SetDate(const std::string& value);
  void SetFileName(const std::string& value);
  void SetFilePath(const std::string& value);
  void SetJobNumber(const std::string& value);
  void SetProposalNumber(const std::string& value);

  TJobFile& OwnerFile;

 private:
  void Write(const std::string& key, const std::string& value);
};

// Writes one site's details and its numbered line items.
class TSiteSection {
 public:
  explicit TSiteSection(TJobFile& owner) : OwnerFile(owner) {}
  // Starts the next site: "SITE 001 LOM", "SITE 002 LOM", ... ("SITE 0010 LOM").
  void NewSite();
  void SetSiteName(const std::string& value);
  void SetSiteNumber(const std::string& value);
  void SetShipToCity(const std::string& value);
  void SetShipToStateProvince(const std::string& value);
  void SetShipToCountry(const std::string& value);
  // Writes "a|b|c|d|e|f|" under the next line number of the site.
  void AddLine(const std::string& quantity, const std::string& unit, const std::string& model,
               const std::string& partNumber, const std::string& description,
               const std::string& price);

  TJobFile& OwnerFile;
  std::string SectionName;
  int LineCount = 0;  // line items written in the current site
  int SiteCount = 0;

 private:
  void Write(const std::string& key, const std::string& value);
};

class TJobFile : public TIniFile {
 public:
  explicit TJobFile(const std::string& fileName);
  THeaderSection Header;
  TSiteSection Site;
};

// Writes a whole quote to a new job file at `path` (a real path): the
// header's keys empty, one site, a line item for each part, in order.
void WriteQuoteJobFile(const std::string& path, const std::vector<TQuote>& parts);
