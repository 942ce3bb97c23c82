#pragma once
// The abstract dataset: a cursor over records with fields, states, navigation, editing,
// bookmarks, search and notices to data sources. It owns no rows; a derived dataset
// supplies them by implementing the hooks below.
//
// How the base uses record buffers
//   The base keeps three buffers of GetRecordSize() bytes, allocated after InternalOpen:
//   the active buffer (the record that fields read and write in browse, edit and insert
//   state), a spare buffer that a move fetches into (so a failed move keeps the active
//   record) and a calculation buffer (CalcBuffer) for lookups. Opening asks for one record.
//   Before every relative move the base calls InternalSetToRecord(ActiveBuffer()), so the
//   derived cursor need not stay on the active record between calls.
//
// Hooks a derived dataset implements (all protected virtual)
//   GetRecordSize               bytes of one record buffer (known after InternalOpen)
//   AllocRecordBuffer,          zero-filled buffer / its release (default: new[]/delete[])
//   FreeRecordBuffer
//   InternalInitRecord(buf)     prepare a new (appended or inserted) record
//   GetRecord(buf, mode, check) fill buf with the current, next or prior record; answer
//                               grOK, grBOF, grEOF or grError (raise when check is true).
//                               Call GetCalcFields(buf) for an accepted record and
//                               FilterAccepts(buf) when Filtered() and OnFilterRecord set
//   InternalOpen / InternalClose / IsCursorOpen
//                               open: describe the fields (UpdateFieldDefs), CreateFields
//                               when no fields exist, BindFields(true), then build the
//                               layout; close: BindFields(false), DestroyFields when
//                               DefaultFields(); an open that leaves IsCursorOpen() false
//                               leaves the dataset closed without an error. InternalClose
//                               also runs after an open that failed part way.
//   OpenCursor / CloseCursor    wrap InternalOpen / InternalClose (an override may connect
//                               first, or swallow EAbort so that the dataset stays closed)
//   InternalInitFieldDefs       fill FieldDefs() from the cursor
//   InternalFirst / InternalLast
//                               put the cursor before the first / after the last record
//   GetFieldData(field, dest)   native bytes of the field in the buffer the state selects:
//                               browse/edit/insert ActiveBuffer(), dsCalcFields
//                               CalcBuffer(), dsFilter FilterBuffer(), dsOldValue the
//                               record before editing; false when null (dest may be null)
//   SetFieldData(field, src)    store native bytes (src null: null), then
//                               DataEvent(deFieldChange, field) outside dsCalcFields,
//                               dsFilter and dsNewValue. TField checks the state first
//   BookmarkSize, GetBookmarkData(buf, data), GetBookmarkFlag / SetBookmarkFlag,
//   InternalGotoBookmark(data), InternalSetToRecord(buf), CompareBookmarks,
//   BookmarkValid
//   RecordCount, RecNo, SetRecNo   (public virtual; defaults -1, -1, nothing)
//   InternalEdit, InternalInsert, InternalPost, InternalCancel, InternalDelete,
//   InternalRefresh, CanModify      editing and refreshing; InternalPost tells an
//                               appended record (flag bfEOF) from an inserted one
//   ClearCalcFields(buf)        null every calculated field of the buffer
//   CreateBlobStream(field, mode)  the stream of a blob field of the active record
//   Locate / LookupValues       (public virtual) the defaults walk from the first record
//                               with LocateRecord and compare with KeyMatches; Locate fires
//                               BeforeScroll, and AfterScroll when found; a miss restores
//                               the position; LookupValues searches on a copy of the active
//                               buffer, so neither the position nor the links change
//
// Native byte forms of field values (Field.h, FieldClasses.h)
//   ftString ftFixedChar ftWideString ftGuid   zero-terminated UTF-8, DataSize bytes
//   ftSmallint int16 | ftWord uint16 | ftInteger ftAutoInc int32 | ftLargeint int64
//   ftBoolean  uint8 0/1 | ftFloat ftCurrency double | ftBCD ftFMTBcd TBcdRecord (34)
//   ftDate int32 day number (1 January of year 1 = 1) | ftTime int32 milliseconds
//   ftDateTime ftTimeStamp double: day number x 86400000 + milliseconds
//   ftBytes Size bytes | ftVarBytes uint16 length + Size bytes | blobs: stream only
//   Calculated fields live in a calculated-fields area that the derived buffer layout
//   places; ReadCalcField/WriteCalcField read and write it (null byte, then the data,
//   at Field::Offset()).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/db/DBTypes.h"
#include "toolkit/db/DataSetTypes.h"
#include "toolkit/db/Field.h"
#include "toolkit/db/FieldDefs.h"
#include "toolkit/db/Stream.h"
#include "toolkit/db/Variant.h"

namespace db {

class TDataSource;

class TDataSet {
 public:
  using TNotifyEvent = std::function<void(TDataSet&)>;
  using TFilterRecordEvent = std::function<void(TDataSet&, bool& accept)>;

  TDataSet();
  // A derived dataset closes itself in its own destructor (the hooks are gone here).
  virtual ~TDataSet();
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  // ---- fields
  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TFieldDefs& FieldDefs() { return fieldDefs_; }
  // Describes the fields from the cursor when the definitions are not up to date.
  void UpdateFieldDefs();
  // Names compare without regard to case.
  TField* FindField(const std::string& name) const { return fields_.FindField(name); }
  TField& FieldByName(const std::string& name) const { return fields_.FieldByName(name); }
  // A persistent field of the class for the type (only while closed).
  TField& AddField(const std::string& name, TFieldType type, int size = 0,
                   TFieldKind kind = fkData);
  // Fields were created from the definitions at open (and go at close).
  bool DefaultFields() const { return defaultFields_; }

  // ---- open and close
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool value);
  TDataSetState State() const { return state_; }
  // A field of the active record changed since the edit began.
  bool Modified() const { return modified_; }
  bool IsEmpty() const { return !hasRecord_; }

  // ---- navigation
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to distance records (negative: backwards); answers the records moved.
  int MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // Re-reads the active record from the cursor position.
  void Resync();
  virtual void Refresh();
  virtual int RecordCount() const { return -1; }
  // 1-based number of the active record; -1 when unknown.
  virtual int RecNo() const { return -1; }
  virtual void SetRecNo(int value) { (void)value; }

  // ---- bookmarks
  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& bookmark);
  virtual bool BookmarkValid(const TBookmark& bookmark) const;
  // Absent bookmarks are equal and sort after present ones; -1, 0 or 1.
  virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;

  // ---- search: key fields separated by ";", one key value per key field
  virtual bool Locate(const std::string& keyFields, const std::vector<Variant>& keyValues,
                      TLocateOptions options = 0);
  bool Locate(const std::string& keyFields, const Variant& keyValue, TLocateOptions options = 0) {
    return Locate(keyFields, std::vector<Variant>{keyValue}, options);
  }
  // The values of the result fields of the first record whose keys match, without moving;
  // nulls when none matches.
  virtual std::vector<Variant> LookupValues(const std::string& keyFields,
                                            const std::vector<Variant>& keyValues,
                                            const std::string& resultFields);
  // One result field.
  Variant Lookup(const std::string& keyFields, const std::vector<Variant>& keyValues,
                 const std::string& resultField);
  Variant Lookup(const std::string& keyFields, const Variant& keyValue, const std::string& resultField) {
    return Lookup(keyFields, std::vector<Variant>{keyValue}, resultField);
  }
  // Whether a field value matches a key value under the search rules: nulls never match;
  // the field value is converted to the key's kind (a failed conversion does not match);
  // text types compare without trailing blanks, optionally without case or by prefix.
  static bool KeyMatches(TFieldType fieldType, const Variant& fieldValue, const Variant& key,
                         TLocateOptions options);

  // ---- editing
  void Append();
  void Insert();
  void Edit();
  void Post() { PostRecord(true); }
  void Cancel();
  void Delete();
  // Posts a modified record, cancels an unmodified one.
  void CheckBrowseMode();
  // Asks the links to write pending edits into the fields.
  void UpdateRecord();
  virtual bool CanModify() const { return true; }

  // ---- filter, controls, sources
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool value);
  // While disabled, links hear nothing; enabling sends one change notice.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }
  // The master source of a detail dataset (none here).
  virtual TDataSource* GetDataSource() const { return nullptr; }
  // Whether the source's dataset, or a master above it, is this dataset.
  bool IsLinkedTo(const TDataSource* source) const;

  // Temporary states used while fields read other buffers (old values, calculation).
  TDataSetState SetTempState(TDataSetState state);
  void RestoreState(TDataSetState state);

  // The stream of a blob field of the active record.
  virtual std::unique_ptr<TStream> CreateBlobStream(TField& field, TBlobStreamMode mode);

  // ---- events (each may be empty)
  TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit, BeforePost, AfterPost;
  TNotifyEvent BeforeCancel, AfterCancel, BeforeDelete, AfterDelete;
  TNotifyEvent BeforeScroll, AfterScroll, BeforeRefresh, AfterRefresh;
  TNotifyEvent OnNewRecord, OnCalcFields;
  TFilterRecordEvent OnFilterRecord;

 protected:
  // ---- hooks (see the header comment)
  virtual int GetRecordSize() const = 0;
  virtual TRecordBuffer AllocRecordBuffer();
  virtual void FreeRecordBuffer(TRecordBuffer& buffer);
  virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) = 0;
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  virtual int BookmarkSize() const { return 0; }
  virtual void GetBookmarkData(TRecordBuffer buffer, void* data) const = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) const = 0;
  virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) = 0;
  virtual void InternalGotoBookmark(const void* data) = 0;
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  virtual void InternalPost();
  virtual void InternalCancel() {}
  virtual void InternalDelete();
  virtual void InternalRefresh() {}
  virtual void ClearCalcFields(TRecordBuffer buffer) { (void)buffer; }
  // Opens the cursor (InternalOpen); an override may add its own steps around it.
  virtual void OpenCursor() { InternalOpen(); }
  virtual void CloseCursor() { InternalClose(); }

 public:
  // Field access through the state's buffer (called by TField).
  virtual bool GetFieldData(TField& field, void* dest) = 0;
  virtual void SetFieldData(TField& field, const void* src) = 0;

 protected:
  // ---- helpers for derived datasets
  TRecordBuffer ActiveBuffer() const { return activeBuffer_; }
  TRecordBuffer CalcBuffer() const { return calcBuffer_; }
  TRecordBuffer FilterBuffer() const { return filterBuffer_; }
  int CalcFieldsSize() const { return calcFieldsSize_; }
  // Creates a field per definition; they are destroyed at close.
  void CreateFields();
  void DestroyFields();
  // Binding: data fields take their definition's number (a missing or incompatible
  // definition raises), text fields their buffer size; calculated fields get their
  // offsets in the calculated-fields area. Unbinding clears the numbers.
  void BindFields(bool binding);
  // Runs OnCalcFields for the buffer in the calculated-fields state.
  void GetCalcFields(TRecordBuffer buffer);
  // Runs OnFilterRecord for the buffer in the filter state; true without an event.
  bool FilterAccepts(TRecordBuffer buffer);
  static bool ReadCalcField(const uint8_t* calcArea, const TField& field, void* dest);
  static void WriteCalcField(uint8_t* calcArea, const TField& field, const void* src);
  // Notifies the data sources (held back while controls are disabled).
  virtual void DataEvent(TDataEvent event, intptr_t info);
  void SetState(TDataSetState state);
  // Puts the cursor on the active record.
  void UpdateCursorPos();
  // Raise the layer's misuse errors.
  void CheckActive() const;
  void CheckInactive() const;
  // Post with or without the before-post event.
  void PostRecord(bool fireBeforePost);
  void Fire(const TNotifyEvent& event) {
    if (event) event(*this);
  }
  // Moves without scroll events or checks; used by searches and by derived datasets.
  void InternalFirstRecord();
  int InternalMoveBy(int distance);
  // Goes to a bookmark and re-reads, without events.
  void InternalGotoBookmarkAndResync(const TBookmark& bookmark);
  // The search: walks from the first record; with restoreOnFailure, a miss returns to
  // where the search started. Answers whether the record now active matched.
  bool LocateRecord(const std::string& keyFields, const std::vector<Variant>& keyValues,
                    TLocateOptions options, bool restoreOnFailure);
  std::vector<TField*> FieldList(const std::string& names) const;
  bool RecordMatches(const std::vector<TField*>& fields, const std::vector<Variant>& keyValues,
                     TLocateOptions options) const;

 private:
  friend class TDataSource;
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);
  void OpenDataSet();
  void CloseDataSet();
  void AllocateBuffers();
  void FreeBuffers();
  bool Fetch(TRecordBuffer buffer, TGetMode mode);
  void BeginInsertAppend();
  void EndInsertAppend();
  void CheckRequiredFields();

  std::string name_;
  TFields fields_;
  TFieldDefs fieldDefs_;
  bool defaultFields_ = false;
  int calcFieldsSize_ = 0;

  TDataSetState state_ = dsInactive;
  bool modified_ = false;
  bool hasRecord_ = false;
  bool bof_ = true;
  bool eof_ = true;
  bool filtered_ = false;
  TBookmark insertReturn_;  // where a cancelled insert goes back to

  int recordSize_ = 0;
  TRecordBuffer activeBuffer_ = nullptr;
  TRecordBuffer spareBuffer_ = nullptr;
  TRecordBuffer tempBuffer_ = nullptr;    // keeps the active record during a lookup
  TRecordBuffer calcBuffer_ = nullptr;    // the buffer whose calculated fields are computed
  TRecordBuffer filterBuffer_ = nullptr;  // the buffer being filtered

  std::vector<TDataSource*> dataSources_;
  int disableCount_ = 0;
  int silentCount_ = 0;  // temporary states: no notices at all
  TDataSetState disableState_ = dsInactive;
  TDataEvent enableEvent_ = deDataSetChange;
};

}  // namespace db
