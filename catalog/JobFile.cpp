#include "catalog/JobFile.h"

// The name is taken whole: a job file in a deep folder must land where the
// caller looks for it.
TJobFile::TJobFile(const std::string& fileName) : TIniFile(fileName), Header(*this), Site(*this) {}

void THeaderSection::Write(const std::string& key, const std::string& value) {
  OwnerFile.WriteString("HEADER", key, value);
}
void THeaderSection::SetAuthor(const std::string& value) {
  Write("Author", value);
}
void THeaderSection::SetCompanyName(const std::string& value) {
  Write("Company Name", value);
}
void THeaderSection::SetDate(const std::string& value) {
  Write("Date", value);
}
void THeaderSection::SetFileName(const std::string& value) {
  Write("File Name", value);
}
void THeaderSection::SetFilePath(const std::string& value) {
  Write("File Path", value);
}
void THeaderSection::SetJobNumber(const std::string& value) {
  Write("Job Number", value);
}
void THeaderSection::SetProposalNumber(const std::string& value) {
  Write("Proposal Number", value);
}

void TSiteSection::NewSite() {
  LineCount = 0;
  ++SiteCount;
  SectionName = "SITE 00" + std::to_string(SiteCount) + " LOM";
}

void TSiteSection::Write(const std::string& key, const std::string& value) {
  OwnerFile.WriteString(SectionName, key, value);
}
void TSiteSection::SetSiteName(const std::string& value) {
  Write("Site Name", value);
}
void TSiteSection::SetSiteNumber(const std::string& value) {
  Write("Site Number", value);
}
void TSiteSection::SetShipToCity(const std::string& value) {
  Write("Ship to City", value);
}
void TSiteSection::SetShipToStateProvince(const std::string& value) {
  Write("Ship to State/Province", value);
}
void TSiteSection::SetShipToCountry(const std::string& value) {
  Write("Ship to Country", value);
}

void TSiteSection::AddLine(const std::string& quantity, const std::string& unit,
                           const std::string& model, const std::string& partNumber,
                           const std::string& description, const std::string& price) {
  ++LineCount;
  Write(std::to_string(LineCount), quantity + "|" + unit + "|" + model + "|" + partNumber + "|" +
                                       description + "|" + price + "|");
}

void WriteQuoteJobFile(const std::string& path, const std::vector<TQuote>& parts) {
  TJobFile file(path);
  file.Header.SetCompanyName("");
  file.Header.SetAuthor("");
  file.Header.SetDate("");
  file.Header.SetJobNumber("");
  file.Header.SetProposalNumber("");
  file.Header.SetFileName("");
  file.Header.SetFilePath("");
  file.Site.NewSite();
  file.Site.SetSiteName("");
  file.Site.SetSiteNumber("1");
  file.Site.SetShipToCity("");
  file.Site.SetShipToStateProvince("");
  file.Site.SetShipToCountry("");
  for (const TQuote& part : parts)
    file.Site.AddLine("1", "each", part.model, part.partNumber, part.description, part.PriceText());
  file.Flush();
}
