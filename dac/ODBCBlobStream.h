#pragma once
// A byte stream over the text that a record's blob slot holds for one long field. Read, it
// serves that text; written, it starts empty and keeps the slot of the active record up to
// date, and when it is freed the dataset hears that the field changed.
#include <cstdint>
#include <string>

#include "toolkit/db/Stream.h"

namespace db {
class TField;
}

namespace dac {

class TODBCCustomDataSet;

class TODBCBlobStream : public db::TStream {
 public:
  TODBCBlobStream(TODBCCustomDataSet& dataSet, db::TField& field, db::TBlobStreamMode mode);
  ~TODBCBlobStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, db::TSeekOrigin origin) override;

 private:
  void WriteBack();

  TODBCCustomDataSet& dataSet_;
  db::TField& field_;
  std::string text_;
  int64_t position_ = 0;
  bool writing_ = false;
  bool modified_ = false;
  uint32_t textIndex_ = 0;
};

}  // namespace dac
