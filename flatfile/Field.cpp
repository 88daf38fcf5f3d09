#include "flatfile/Field.h"

#include "flatfile/Table.h"
#include "platform/Error.h"
#include "platform/Locale.h"

const char* FieldTypeName(TFieldType type) {
  switch (type) {
    case TFieldType::ftString:
      return "String";
    case TFieldType::ftInteger:
      return "Integer";
    case TFieldType::ftFloat:
      return "Float";
  }
  return "Unknown";
}

std::string TField::AsString() const {
  std::string text;
  dataSet_->ReadFieldForField(*this, text);
  return text;
}

double TField::AsFloat() const {
  const std::string text = AsString();
  double value = 0;
  if (!TryStrToFloat(text, value))
    throw EKavError("'" + text + "' is not a valid floating point value");
  return value;
}

void TField::SetAsString(const std::string& text) {
  dataSet_->WriteFieldForField(*this, text.substr(0, static_cast<size_t>(size_)));
}
