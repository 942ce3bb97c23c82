#pragma once
// Field definitions: what a dataset's cursor offers, before fields are created over it.
#include <memory>
#include <string>
#include <vector>

#include "toolkit/db/DBTypes.h"

namespace db {

class TFieldDef {
 public:
  TFieldDef(std::string name, TFieldType dataType, int size, bool required, int fieldNo)
      : name_(std::move(name)), dataType_(dataType), size_(size), required_(required),
        fieldNo_(fieldNo) {}

  const std::string& Name() const { return name_; }
  TFieldType DataType() const { return dataType_; }
  // Text: bytes of the text (the native buffer holds one more); packed decimal: places.
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  int Precision() const { return precision_; }
  void SetPrecision(int precision) { precision_ = precision; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  // 1-based number of the definition: the data field with this number reads this column.
  int FieldNo() const { return fieldNo_; }

 private:
  std::string name_;
  TFieldType dataType_;
  int size_;
  int precision_ = 0;
  bool required_;
  int fieldNo_;
};

class TFieldDefs {
 public:
  TFieldDef& Add(const std::string& name, TFieldType dataType, int size = 0, bool required = false);
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  TFieldDef& operator[](int index) { return *items_.at(index); }
  const TFieldDef& operator[](int index) const { return *items_.at(index); }
  // Names compare without regard to case; -1 / nullptr when absent.
  int IndexOf(const std::string& name) const;
  const TFieldDef* Find(const std::string& name) const;
  // False once the definitions no longer describe the cursor (set by the dataset).
  bool Updated() const { return updated_; }
  void SetUpdated(bool updated) { updated_ = updated; }

 private:
  std::vector<std::unique_ptr<TFieldDef>> items_;
  bool updated_ = false;
};

}  // namespace db
