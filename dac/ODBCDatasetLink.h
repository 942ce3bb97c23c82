#pragma once
// The detail link of a dataset: when its master opens, closes or moves to another record,
// the detail is closed and opened again, so that it executes with the master's values.
#include "toolkit/db/DataLink.h"

namespace dac {

class TODBCCustomDataSet;

class TODBCDataLink : public db::TDataLink {
 public:
  explicit TODBCDataLink(TODBCCustomDataSet& detail) : detail_(detail) {}

 protected:
  void ActiveChanged() override;
  void RecordChanged(db::TField* field) override;
  void CheckBrowseMode() override;

 private:
  void RefreshDetail();

  TODBCCustomDataSet& detail_;
};

}  // namespace dac
