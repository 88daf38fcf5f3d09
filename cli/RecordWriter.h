#pragma once
// Writes the headless tool's tables as they are found, through one large
// buffer: tab-separated (a title line, then the rows), CSV (RFC 4180: a title
// row, fields quoted when they hold a comma, a quote or a line break, CR LF
// line ends) or JSON (one array of objects keyed by the titles, text turned
// from Windows-1252 into UTF-8).
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

enum class TFormat { Tsv, Csv, Json };

class TRecordWriter {
 public:
  TRecordWriter(std::ostream& out, TFormat format, std::vector<std::string> titles);
  ~TRecordWriter();
  TRecordWriter(const TRecordWriter&) = delete;
  TRecordWriter& operator=(const TRecordWriter&) = delete;

  // One row: a cell per title, in their order.
  void Row(const std::vector<std::string_view>& cells);
  // Ends the table (JSON's closing bracket) and writes out what is buffered.
  void Finish();

 private:
  void Field(std::string_view text);
  void JsonString(std::string_view text);
  // Appends bytes to the buffer, writing it out when full.
  void Put(std::string_view bytes);
  void Put(char c) { Put(std::string_view(&c, 1)); }
  void Flush();

  std::ostream& out_;
  TFormat format_;
  std::vector<std::string> titles_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  bool firstRow_ = true;
  bool finished_ = false;
};
