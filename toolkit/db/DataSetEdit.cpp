// Editing: append, insert, edit, post, cancel and delete with their events.
#include "toolkit/db/DataSet.h"

namespace db {
namespace {

bool editing(TDataSetState state) { return state == dsEdit || state == dsInsert; }

}  // namespace

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
  Fire(BeforeInsert);
  Fire(BeforeScroll);
  insertReturn_ = GetBookmark();
  UpdateCursorPos();
  InternalInsert();
}

void TDataSet::EndInsertAppend() {
  hasRecord_ = true;
  bof_ = eof_ = false;
  SetState(dsInsert);
  try {
    Fire(OnNewRecord);
  } catch (...) {
    InternalCancel();
    SetState(dsBrowse);
    if (!insertReturn_.empty()) InternalGotoBookmark(insertReturn_.data()); else InternalFirst();
    Resync();
    throw;
  }
  modified_ = false;
  DataEvent(deDataSetChange, 0);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TDataSet::Append() {
  BeginInsertAppend();
  InternalInitRecord(activeBuffer_);
  ClearCalcFields(activeBuffer_);
  SetBookmarkFlag(activeBuffer_, bfEOF);
  EndInsertAppend();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  InternalInitRecord(activeBuffer_);
  ClearCalcFields(activeBuffer_);
  SetBookmarkFlag(activeBuffer_, bfInserted);
  EndInsertAppend();
}

void TDataSet::Edit() {
  if (editing(state_)) return;
  CheckActive();
  if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
  if (!hasRecord_) return Append();
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeEdit);
  UpdateCursorPos();
  InternalEdit();
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  Fire(AfterEdit);
}

void TDataSet::UpdateRecord() {
  if (!editing(state_)) throw EDatabaseError("Dataset not in edit or insert mode");
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckRequiredFields() {
  for (int i = 0; i < fields_.Count(); ++i) {
    const TField& field = fields_[i];
    if (field.Required() && !field.ReadOnly() && field.FieldKind() == fkData &&
        field.DataType() != ftAutoInc && field.IsNull())
      throw EDatabaseError("Field '" + field.DisplayName() + "' must have a value");
  }
}

void TDataSet::PostRecord(bool fireBeforePost) {
  CheckActive();
  UpdateRecord();
  DataEvent(deCheckBrowseMode, 0);
  if (fireBeforePost) Fire(BeforePost);
  CheckRequiredFields();
  InternalPost();
  SetState(dsBrowse);
  Resync();
  Fire(AfterPost);
}

void TDataSet::Cancel() {
  if (!editing(state_)) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeCancel);
  const bool wasInsert = state_ == dsInsert;
  InternalCancel();
  SetState(dsBrowse);
  if (!wasInsert)
    UpdateCursorPos();
  else if (!insertReturn_.empty())
    InternalGotoBookmark(insertReturn_.data());
  else
    InternalFirst();
  Resync();
  Fire(AfterCancel);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) return Cancel();
  if (!hasRecord_) throw EDatabaseError("Cannot perform this operation on an empty dataset");
  if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  UpdateCursorPos();
  InternalDelete();
  SetState(dsBrowse);
  Resync();
  Fire(AfterDelete);
  Fire(AfterScroll);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  if (!editing(state_)) return;
  UpdateRecord();
  if (modified_)
    Post();
  else
    Cancel();
}

void TDataSet::InternalPost() { throw EDatabaseError("Cannot modify a read-only dataset"); }

void TDataSet::InternalDelete() { throw EDatabaseError("Cannot modify a read-only dataset"); }

}  // namespace db
