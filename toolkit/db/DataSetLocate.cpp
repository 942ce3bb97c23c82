// Searching: Locate and Lookup walk the records from the first one and compare keys.
#include <cstring>

#include "toolkit/db/DataSet.h"
#include "toolkit/db/TextUtils.h"
#include "toolkit/db/VariantConvert.h"

namespace db {
namespace {

bool isTextField(TFieldType type) {
  return type == ftString || type == ftFixedChar || type == ftWideString;
}

std::string trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return text.substr(begin, end - begin);
}

}  // namespace

bool TDataSet::KeyMatches(TFieldType fieldType, const Variant& fieldValue, const Variant& key,
                          TLocateOptions options) {
  if (fieldValue.IsNullOrEmpty() || key.IsNullOrEmpty()) return false;
  Variant converted;
  try {
    converted = VarAsType(fieldValue, key.VarType());
  } catch (const EConvertError&) {
    return false;
  }
  if (!isTextField(fieldType)) return converted == key;
  std::string value = TrimRightSpaces(VarToStr(converted));
  std::string wanted = TrimRightSpaces(VarToStr(key));
  if (options & loCaseInsensitive) {
    value = Utf8UpperCase(value);
    wanted = Utf8UpperCase(wanted);
  }
  if (options & loPartialKey) return value.compare(0, wanted.size(), wanted) == 0;
  return value == wanted;
}

std::vector<TField*> TDataSet::FieldList(const std::string& names) const {
  std::vector<TField*> list;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    const std::string name = trimmed(names.substr(start, end - start));
    if (!name.empty()) list.push_back(&FieldByName(name));
    start = end + 1;
  }
  return list;
}

bool TDataSet::RecordMatches(const std::vector<TField*>& fields, const std::vector<Variant>& keyValues,
                             TLocateOptions options) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    const Variant& key = fields.size() == 1 ? keyValues[0] : keyValues[i];
    if (!KeyMatches(fields[i]->DataType(), fields[i]->AsVariant(), key, options)) return false;
  }
  return true;
}

bool TDataSet::LocateRecord(const std::string& keyFields, const std::vector<Variant>& keyValues,
                            TLocateOptions options, bool restoreOnFailure) {
  CheckBrowseMode();
  UpdateCursorPos();
  const std::vector<TField*> fields = FieldList(keyFields);
  if (keyValues.size() < fields.size() && !(fields.size() == 1 && !keyValues.empty()))
    throw EDatabaseError("Key values do not match the key fields '" + keyFields + "'");
  const TBookmark start = GetBookmark();
  const bool startBof = bof_, startEof = eof_;
  bool found = false;
  DisableControls();
  try {
    InternalFirstRecord();
    while (hasRecord_) {
      if (RecordMatches(fields, keyValues, options)) {
        found = true;
        break;
      }
      if (InternalMoveBy(1) == 0) break;
    }
    if (!found && restoreOnFailure && !start.empty()) {
      InternalGotoBookmarkAndResync(start);
      bof_ = startBof;
      eof_ = startEof;
    }
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
  return found;
}

bool TDataSet::Locate(const std::string& keyFields, const std::vector<Variant>& keyValues,
                      TLocateOptions options) {
  CheckBrowseMode();
  Fire(BeforeScroll);
  const bool found = LocateRecord(keyFields, keyValues, options, true);
  if (found) Fire(AfterScroll);
  return found;
}

std::vector<Variant> TDataSet::LookupValues(const std::string& keyFields,
                                            const std::vector<Variant>& keyValues,
                                            const std::string& resultFields) {
  CheckBrowseMode();
  const std::vector<TField*> results = FieldList(resultFields);
  std::vector<Variant> values(results.size());
  // The search runs on a copy of the active record's buffer and leaves the original
  // untouched, so the position does not change and no link hears of the search.
  std::memcpy(tempBuffer_, activeBuffer_, static_cast<size_t>(recordSize_));
  std::swap(activeBuffer_, tempBuffer_);
  const bool savedHas = hasRecord_, savedBof = bof_, savedEof = eof_;
  ++silentCount_;
  auto restore = [&] {
    std::swap(activeBuffer_, tempBuffer_);
    hasRecord_ = savedHas;
    bof_ = savedBof;
    eof_ = savedEof;
    --silentCount_;
    UpdateCursorPos();
  };
  try {
    if (LocateRecord(keyFields, keyValues, 0, false))
      for (size_t i = 0; i < results.size(); ++i) values[i] = results[i]->AsVariant();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return values;
}

Variant TDataSet::Lookup(const std::string& keyFields, const std::vector<Variant>& keyValues,
                         const std::string& resultField) {
  std::vector<Variant> values = LookupValues(keyFields, keyValues, resultField);
  if (values.size() != 1) throw EDatabaseError("Lookup gives one field: '" + resultField + "'");
  return values[0];
}

}  // namespace db
