#pragma once
// Data sources and data links: how grids, lookup lists and detail datasets hear what a
// dataset does. A dataset tells its data sources; each source tells its links.
#include <cstdint>
#include <functional>
#include <vector>

#include "toolkit/db/DataSetTypes.h"

namespace db {

class TDataSet;
class TField;
class TDataLink;

class TDataSource {
 public:
  explicit TDataSource(TDataSet* dataSet = nullptr);
  virtual ~TDataSource();
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  // A disabled source passes nothing on and its links read as inactive.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TDataSetState State() const;

  // Called with the changed field, or nullptr when the record or the whole data changed.
  std::function<void(TDataSource&, TField*)> OnDataChange;
  std::function<void(TDataSource&)> OnStateChange;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent event, intptr_t info);
  void NotifyLinksOfState();

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  std::vector<TDataLink*> links_;
};

class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  // The linked dataset is open (and the source enabled).
  bool Active() const { return active_; }
  // The linked dataset is in edit or insert state.
  bool Editing() const { return editing_; }

 protected:
  // The dataset opened or closed (or the link was bound to another one).
  virtual void ActiveChanged() {}
  // Edit or insert state began or ended.
  virtual void EditingChanged() {}
  // The whole data may have changed. Default: RecordChanged(nullptr).
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  // The active record moved by distance records (0 when unknown). Default: DataSetChanged.
  virtual void DataSetScrolled(int distance) {
    (void)distance;
    DataSetChanged();
  }
  // A field of the active record changed, or (nullptr) the active record as a whole.
  virtual void RecordChanged(TField* field) { (void)field; }
  // The fields changed. Default: DataSetChanged.
  virtual void LayoutChanged() { DataSetChanged(); }
  // Write pending edits of the control into the fields before a post.
  virtual void UpdateData() {}
  // The dataset leaves edit mode (post or cancel) or moves: details leave theirs too.
  virtual void CheckBrowseMode() {}

 private:
  friend class TDataSource;
  void UpdateState();
  void DataEvent(TDataEvent event, intptr_t info);

  TDataSource* dataSource_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
};

}  // namespace db
