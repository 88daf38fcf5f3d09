#pragma once
// A column of a table as the rest of the program reads it: by position or by
// name, as text or as a number.
#include <string>

class TTable;

enum class TFieldType { ftString, ftInteger, ftFloat };

const char* FieldTypeName(TFieldType type);

// What the file offers for a column: its name, type and size.
struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  int Size = 50;
};

class TField {
 public:
  TField(TTable* dataSet, std::string name, TFieldType type, int size, int index)
      : dataSet_(dataSet), name_(std::move(name)), type_(type), size_(size), index_(index) {}

  const std::string& FieldName() const { return name_; }
  TFieldType DataType() const { return type_; }
  int Size() const { return size_; }
  // The field's position among the table's fields: the cell it reads.
  int Index() const { return index_; }
  TTable* DataSet() const { return dataSet_; }

  // The whole cell text (not cut to the field size); empty when the table has
  // no records.
  std::string AsString() const;
  // The cell converted as a decimal number in the user's format; fails with
  // "'<text>' is not a valid floating point value".
  double AsFloat() const;
  // Cuts the text to the field size and stores it in the current record.
  void SetAsString(const std::string& text);

 private:
  TTable* dataSet_;
  std::string name_;
  TFieldType type_;
  int size_;
  int index_;
};
