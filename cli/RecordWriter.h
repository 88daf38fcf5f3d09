#pragma once
// Writes the headless tool's tables as they are found, through one large
// buffer: tab-separated (a title line, then the rows; see TsvText), CSV (RFC 4180: a title
// row, fields quoted when they hold a comma, a quote or a line break, CR LF
// line ends) or JSON (one array of objects keyed by the titles). JSON is
// UTF-8; tab-separated and CSV text is UTF-8 too unless the catalogue's own
// Windows-1252 bytes are asked for.
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

enum class TFormat { Tsv, Csv, Json };
enum class TEncoding { Utf8, Windows1252 };

// How a column's cells go into JSON: as text; as a number (the cell's text,
// null when empty); or as a list of texts, which the cell holds separated by
// "; " (so tab-separated and CSV rows show the same words).
enum class TCellKind { Text, Number, List };

// What a column's cells hold: the catalogue's bytes (Windows-1252), or the
// program's own text, a path or a message (see MessageText).
enum class TTextOrigin { Catalogue, Program };

struct TColumn {
  TColumn(std::string title, TCellKind kind = TCellKind::Text,  // NOLINT: titles convert
          TTextOrigin origin = TTextOrigin::Catalogue)
      : title(std::move(title)), kind(kind), origin(origin) {}
  TColumn(const char* title) : title(title) {}  // NOLINT
  std::string title;
  TCellKind kind = TCellKind::Text;
  TTextOrigin origin = TTextOrigin::Catalogue;
};

// The catalogue's bytes as the output carries them.
std::string OutputText(std::string_view bytes, TEncoding encoding);
// The same in a tab-separated line, which a cell never breaks: a tab, CR, LF
// and backslash become \t, \r, \n and \\.
std::string TsvText(std::string_view bytes, TEncoding encoding);
// The program's own text (see MessageText) in a line meant to be read (a
// finding), where a backslash is a Windows path's own: only a tab, CR and
// LF are escaped.
std::string LineText(std::string_view text, TEncoding encoding);
// Text a caller typed or a batch holds, in the run's encoding, as the
// catalogue's Windows-1252 bytes. Bytes that are not UTF-8 are taken as they are.
std::string InputText(std::string_view text, TEncoding encoding);
// UTF-8 text as a quoted JSON string.
std::string JsonQuotedUtf8(std::string_view text);
// The program's own text (a message, a path) in `encoding`, converted once.
// On Windows all of it is Windows-1252; on Linux a path is UTF-8 and what a
// message quotes of the catalogue is Windows-1252, told apart sequence by
// sequence (see Utf8FromMixed).
std::string MessageText(std::string_view text, TEncoding encoding);

class TRecordWriter {
 public:
  TRecordWriter(std::ostream& out, TFormat format, std::vector<TColumn> columns,
                TEncoding encoding = TEncoding::Utf8);
  ~TRecordWriter();
  TRecordWriter(const TRecordWriter&) = delete;
  TRecordWriter& operator=(const TRecordWriter&) = delete;

  // One row: a cell per column, in their order.
  void Row(const std::vector<std::string_view>& cells);
  // Ends the table (JSON's closing bracket) and writes out what is buffered.
  void Finish();

 private:
  bool PlainRow(const std::vector<std::string_view>& cells) const;
  TTextOrigin Origin(size_t column) const {
    return column < columns_.size() ? columns_[column].origin : TTextOrigin::Catalogue;
  }
  void Field(std::string_view text, TTextOrigin origin);
  void JsonValue(std::string_view text, const TColumn& column);
  void JsonString(std::string_view text, TTextOrigin origin);
  // Appends bytes to the buffer, writing it out when full.
  void Put(std::string_view bytes);
  void Put(char c) { Put(std::string_view(&c, 1)); }
  void Flush();

  std::ostream& out_;
  TFormat format_;
  std::vector<TColumn> columns_;
  TEncoding encoding_;
  bool programText_ = false;  // a column holds the program's own text
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  bool firstRow_ = true;
  bool finished_ = false;
};
