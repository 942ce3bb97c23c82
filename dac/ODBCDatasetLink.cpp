#include "dac/ODBCDatasetLink.h"

#include "dac/ODBCCustomDataset.h"

namespace dac {

void TODBCDataLink::ActiveChanged() { RefreshDetail(); }

void TODBCDataLink::RecordChanged(db::TField* field) {
  if (field == nullptr) RefreshDetail();
}

void TODBCDataLink::CheckBrowseMode() {
  if (detail_.Active()) detail_.CheckBrowseMode();
}

void TODBCDataLink::RefreshDetail() {
  if (!detail_.Active()) return;
  detail_.DisableControls();
  try {
    detail_.Close();
    db::TDataSet* master = DataSet();
    if (master && master->Active() && master->State() != db::dsSetKey) detail_.Open();
  } catch (...) {
    detail_.EnableControls();
    throw;
  }
  detail_.EnableControls();
}

}  // namespace dac
