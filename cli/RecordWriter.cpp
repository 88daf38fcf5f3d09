#include "cli/RecordWriter.h"

#include <cstring>

#include "platform/Cp1252.h"

namespace {

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

TRecordWriter::TRecordWriter(std::ostream& out, TFormat format, std::vector<std::string> titles)
    : out_(out), format_(format), titles_(std::move(titles)), buffer_(new char[kBufferSize]) {
  if (format_ == TFormat::Json) {
    Put('[');
    return;
  }
  for (size_t i = 0; i < titles_.size(); ++i) {
    if (i > 0) Put(format_ == TFormat::Csv ? ',' : '\t');
    Field(titles_[i]);
  }
  Put(format_ == TFormat::Csv ? "\r\n" : "\n");
}

TRecordWriter::~TRecordWriter() {
  if (!finished_) Finish();
}

void TRecordWriter::Row(const std::vector<std::string_view>& cells) {
  if (format_ == TFormat::Json) {
    Put(firstRow_ ? "\n  {" : ",\n  {");
    for (size_t i = 0; i < cells.size() && i < titles_.size(); ++i) {
      if (i > 0) Put(", ");
      JsonString(titles_[i]);
      Put(": ");
      JsonString(cells[i]);
    }
    Put('}');
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
      Field(cells[i]);
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

void TRecordWriter::Field(std::string_view text) {
  if (format_ == TFormat::Tsv || text.find_first_of(",\"\r\n") == std::string_view::npos) {
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

void TRecordWriter::JsonString(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  Put('"');
  for (const char c : Utf8FromAnsi(text)) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      Put('\\');
      Put(c);
    } else if (u < 0x20) {
      Put("\\u00");
      Put(kHex[u >> 4]);
      Put(kHex[u & 15]);
    } else {
      Put(c);
    }
  }
  Put('"');
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
