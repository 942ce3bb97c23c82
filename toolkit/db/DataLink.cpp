#include "toolkit/db/DataLink.h"

#include <algorithm>

#include "toolkit/db/DataSet.h"

namespace db {

TDataSource::TDataSource(TDataSet* dataSet) { SetDataSet(dataSet); }

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  while (!links_.empty()) links_.back()->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->RemoveDataSource(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddDataSource(this);
  NotifyLinksOfState();
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  NotifyLinksOfState();
}

TDataSetState TDataSource::State() const {
  return dataSet_ && enabled_ ? dataSet_->State() : dsInactive;
}

void TDataSource::NotifyLinksOfState() {
  const auto links = links_;  // a link may leave while it is told
  for (TDataLink* link : links) link->UpdateState();
  if (OnStateChange) OnStateChange(*this);
}

void TDataSource::DataEvent(TDataEvent event, intptr_t info) {
  if (!enabled_) return;
  if (event == deUpdateState) return NotifyLinksOfState();
  const auto links = links_;
  for (TDataLink* link : links) link->DataEvent(event, info);
  if (OnDataChange && (event == deFieldChange || event == deRecordChange ||
                       event == deDataSetChange || event == deDataSetScroll ||
                       event == deLayoutChange))
    OnDataChange(*this, event == deFieldChange ? reinterpret_cast<TField*>(info) : nullptr);
}

TDataLink::~TDataLink() {
  if (dataSource_) {
    auto& links = dataSource_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  if (dataSource_) {
    auto& links = dataSource_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  dataSource_ = source;
  if (dataSource_) dataSource_->links_.push_back(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }

void TDataLink::UpdateState() {
  const TDataSetState state = dataSource_ ? dataSource_->State() : dsInactive;
  const bool active = state != dsInactive;
  if (active != active_) {
    active_ = active;
    ActiveChanged();
  }
  const bool editing = state == dsEdit || state == dsInsert;
  if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

void TDataLink::DataEvent(TDataEvent event, intptr_t info) {
  if (!active_) return;
  switch (event) {
    case deFieldChange: RecordChanged(reinterpret_cast<TField*>(info)); break;
    case deRecordChange: RecordChanged(nullptr); break;
    case deDataSetChange: DataSetChanged(); break;
    case deDataSetScroll: DataSetScrolled(static_cast<int>(info)); break;
    case deLayoutChange: LayoutChanged(); break;
    case deUpdateRecord: UpdateData(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deUpdateState: UpdateState(); break;
  }
}

}  // namespace db
