#include "cli/RecordWriter.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Cp1252.h"

namespace {

constexpr size_t kBufferSize = 1 << 20;

bool IsAscii(std::string_view text) {
  unsigned char any = 0;
  for (const char c : text)
    any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

bool BreaksLine(char c) {
  return c == '\t' || c == '\r' || c == '\n';
}

bool BreaksTsv(char c) {
  return BreaksLine(c) || c == '\\';
}

std::string TsvEscaped(std::string text, bool (*breaks)(char) = BreaksTsv) {
  if (std::none_of(text.begin(), text.end(), breaks)) return text;
  std::string escaped;
  for (const char c : text) {
    if (!breaks(c)) {
      escaped += c;
      continue;
    }
    escaped += '\\';
    escaped += c == '\t' ? 't' : c == '\r' ? 'r' : c == '\n' ? 'n' : '\\';
  }
  return escaped;
}

}  // namespace

std::string JsonQuotedUtf8(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string json = "\"";
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (u < 0x20) {
      json += "\\u00";
      json += kHex[u >> 4];
      json += kHex[u & 15];
    } else {
      json += c;
    }
  }
  return json + '"';
}

std::string OutputText(std::string_view bytes, TEncoding encoding) {
  if (encoding == TEncoding::Windows1252 || IsAscii(bytes)) return std::string(bytes);
  return Utf8FromAnsi(bytes);
}

std::string MessageText(std::string_view text, TEncoding encoding) {
#ifdef _WIN32
  return OutputText(text, encoding);
#else
  if (IsAscii(text)) return std::string(text);
  std::string unicode = Utf8FromMixed(text);
  if (encoding == TEncoding::Utf8) return unicode;
  std::u16string wide;
  Utf16FromUtf8(unicode, wide);
  return AnsiFromUtf16(wide);
#endif
}

// A cell's text as the output carries it.
std::string CellText(std::string_view text, TTextOrigin origin, TEncoding encoding) {
  return origin == TTextOrigin::Program ? MessageText(text, encoding) : OutputText(text, encoding);
}

std::string TsvText(std::string_view bytes, TEncoding encoding) {
  return TsvEscaped(OutputText(bytes, encoding));
}

std::string LineText(std::string_view text, TEncoding encoding) {
  return TsvEscaped(MessageText(text, encoding), BreaksLine);
}

std::string InputText(std::string_view text, TEncoding encoding) {
  std::u16string unicode;
  if (encoding == TEncoding::Windows1252 || IsAscii(text) || !Utf16FromUtf8(text, unicode))
    return std::string(text);
  return AnsiFromUtf16(unicode);
}

TRecordWriter::TRecordWriter(std::ostream& out, TFormat format, std::vector<TColumn> columns,
                             TEncoding encoding)
    : out_(out),
      format_(format),
      columns_(std::move(columns)),
      encoding_(encoding),
      buffer_(new char[kBufferSize]) {
  for (const TColumn& column : columns_)
    programText_ = programText_ || column.origin == TTextOrigin::Program;
  if (format_ == TFormat::Json) {
    Put('[');
    return;
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (i > 0) Put(format_ == TFormat::Csv ? ',' : '\t');
    Field(columns_[i].title, TTextOrigin::Catalogue);
  }
  Put(format_ == TFormat::Csv ? "\r\n" : "\n");
}

TRecordWriter::~TRecordWriter() {
  if (!finished_) Finish();
}

void TRecordWriter::Row(const std::vector<std::string_view>& cells) {
  if (format_ == TFormat::Json) {
    Put(firstRow_ ? "\n  {" : ",\n  {");
    for (size_t i = 0; i < cells.size() && i < columns_.size(); ++i) {
      if (i > 0) Put(", ");
      JsonString(columns_[i].title, TTextOrigin::Catalogue);
      Put(": ");
      JsonValue(cells[i], columns_[i]);
    }
    Put('}');
  } else if (format_ == TFormat::Tsv && !PlainRow(cells)) {
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) Put('\t');
      Field(cells[i], Origin(i));
    }
    Put('\n');
  } else if (format_ == TFormat::Tsv) {
    // The common case, a row of plain cells, copied in one go.
    size_t size = cells.size() + 1;
    for (const std::string_view cell : cells)
      size += cell.size();
    if (kBufferSize - used_ < size) Flush();
    if (size > kBufferSize) {
      for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) Put('\t');
        Put(cells[i]);
      }
      Put('\n');
    } else {
      char* at = buffer_.get() + used_;
      for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) *at++ = '\t';
        std::memcpy(at, cells[i].data(), cells[i].size());
        at += cells[i].size();
      }
      *at++ = '\n';
      used_ = static_cast<size_t>(at - buffer_.get());
    }
  } else {
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) Put(',');
      Field(cells[i], Origin(i));
    }
    Put("\r\n");
  }
  firstRow_ = false;
}

void TRecordWriter::Finish() {
  if (format_ == TFormat::Json) Put(firstRow_ ? "]\n" : "\n]\n");
  finished_ = true;
  Flush();
  out_.flush();
}

// Cells that go out as they are: the common case, copied in one go.
bool TRecordWriter::PlainRow(const std::vector<std::string_view>& cells) const {
  // Per byte: 1 when it is not ASCII, 2 when it breaks a tab-separated line.
  static const std::array<unsigned char, 256> kClass = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0x80; c < 0x100; ++c)
      classes[static_cast<size_t>(c)] = 1;
    for (const char c : {'\t', '\r', '\n', '\\'})
      classes[static_cast<unsigned char>(c)] = 2;
    return classes;
  }();
  unsigned char found = 0;
  for (const std::string_view cell : cells)
    for (const char c : cell)
      found |= kClass[static_cast<unsigned char>(c)];
  // Windows-1252 output copies the catalogue's bytes, not the program's.
  return (found & (encoding_ == TEncoding::Windows1252 && !programText_ ? 2 : 3)) == 0;
}

void TRecordWriter::Field(std::string_view bytes, TTextOrigin origin) {
  const std::string text = CellText(bytes, origin, encoding_);
  if (format_ == TFormat::Tsv) {
    Put(TsvEscaped(text));
    return;
  }
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    Put(text);
    return;
  }
  Put('"');
  for (const char c : text) {
    if (c == '"') Put('"');
    Put(c);
  }
  Put('"');
}

void TRecordWriter::JsonValue(std::string_view text, const TColumn& column) {
  if (column.kind == TCellKind::Number) {
    Put(text.empty() ? std::string_view("null") : text);
  } else if (column.kind == TCellKind::List) {
    Put('[');
    for (size_t start = 0; start < text.size();) {
      const size_t end = std::min(text.find("; ", start), text.size());
      if (start > 0) Put(", ");
      JsonString(text.substr(start, end - start), column.origin);
      start = end + 2;
    }
    Put(']');
  } else {
    JsonString(text, column.origin);
  }
}

void TRecordWriter::JsonString(std::string_view text, TTextOrigin origin) {
  Put(JsonQuotedUtf8(CellText(text, origin, TEncoding::Utf8)));
}

void TRecordWriter::Put(std::string_view bytes) {
  if (kBufferSize - used_ < bytes.size()) {
    Flush();
    if (bytes.size() > kBufferSize) {  // a giant cell goes out as it is
      out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      return;
    }
  }
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void TRecordWriter::Flush() {
  out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
  used_ = 0;
}
