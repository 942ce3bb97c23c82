#pragma once
// The dataset over an ODBC statement: it presents the rows of the statement's cursor through
// the abstract dataset, keeps every fetched row in its record cache and fetches further rows
// only when navigation passes the last one fetched.
//
// Records have the layout of TODBCRecordLayout. Rows are fetched one at a time, stored into
// a row buffer by SQL type and copied once, packed (TODBCRecordPacker), into the cache; the
// abstract dataset's buffers get cached records unpacked into the full layout. Only Refresh
// executes the statement again.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dac/ODBCClient.h"
#include "dac/ODBCDatasetLink.h"
#include "dac/ODBCDatasetUpdate.h"
#include "dac/ODBCRecordCache.h"
#include "dac/ODBCRecordLayout.h"
#include "dac/ODBCRecordPacker.h"
#include "dac/ODBCRecordStore.h"
#include "dac/ODBCStmt.h"
#include "toolkit/db/DataSet.h"

namespace dac {

class EODBCError;
class TODBCColumn;
class TODBCConnection;
class TODBCBlobStream;

class TODBCCustomDataSet : public db::TDataSet, public TODBCClient {
 public:
  using TUpdateRecordEvent =
      std::function<void(db::TDataSet&, TUpdateKind, TUpdateAction&)>;
  using TUpdateErrorEvent =
      std::function<void(db::TDataSet&, EODBCError&, TUpdateKind, TUpdateAction&)>;

  TODBCCustomDataSet();
  ~TODBCCustomDataSet() override;

  // The owned statement, made on first use by StatementClass.
  TODBCStatement& Statement();

  int BufferChunks() const { return bufferChunks_; }
  // Only while closed; 0 or less means 32.
  void SetBufferChunks(int value);
  bool UniDirectional() const { return uniDirectional_; }
  void SetUniDirectional(bool value);
  bool CachedUpdates() const { return cachedUpdates_; }
  // Switching off while changes are pending cancels them.
  void SetCachedUpdates(bool value);
  bool CacheBlobs() const { return true; }
  TODBCDataSetUpdateObject* UpdateObject() const { return updateObject_; }
  void SetUpdateObject(TODBCDataSetUpdateObject* value) { updateObject_ = value; }
  TUpdateRecordTypes UpdateRecordTypes() const { return updateRecordTypes_; }
  void SetUpdateRecordTypes(TUpdateRecordTypes value);
  bool UpdatesPending() const { return updatesPending_; }
  // Gives every changed record its old values back (cached updates only).
  void CancelUpdates();
  // Writes the active record's cached change through OnUpdateRecord or the update object.
  void ApplyRecordUpdate();
  // With cached updates, the status of the active record; otherwise unchanged.
  TUpdateStatus UpdateStatus() const;

  // ---- record cache, for inspection
  int CurrentRecord() const { return currentRecord_; }
  int32_t RecordCounter() const { return recordCounter_; }
  int RecordSize() const { return layout_.RecordSize(); }
  const TODBCRecordLayout& Layout() const { return layout_; }
  const TODBCRecordCache& Cache() const { return cache_; }

  TUpdateErrorEvent OnUpdateError;
  TUpdateRecordEvent OnUpdateRecord;

  // ---- abstract dataset
  int RecordCount() const override;
  int RecNo() const override;
  void SetRecNo(int value) override;
  bool BookmarkValid(const db::TBookmark& bookmark) const override;
  int CompareBookmarks(const db::TBookmark& a, const db::TBookmark& b) const override;
  bool CanModify() const override;
  bool GetFieldData(db::TField& field, void* dest) override;
  void SetFieldData(db::TField& field, const void* src) override;
  std::unique_ptr<db::TStream> CreateBlobStream(db::TField& field,
                                                db::TBlobStreamMode mode) override;
  db::TDataSource* GetDataSource() const override { return dataLink_.DataSource(); }
  bool IsSequenced() const { return false; }
  // Record searches other than Locate are not offered: "Unsupported feature".
  bool FindFirst();
  bool FindNext();
  bool FindPrior();
  bool FindLast();

  // ---- provider support
  // The first table named after FROM in the statement's text.
  std::string PSGetTableName() const;
  std::string PSGetQuoteChar();
  bool PSInTransaction();
  void PSStartTransaction();
  void PSEndTransaction(bool commit);
  // Runs a command on the same connection; answers the rows it affected.
  int PSExecuteStatement(const std::string& sql);

  // ---- TODBCClient
  bool IsDataSet() const override { return true; }
  void DropConnection() override;
  bool ClientActive() const override { return Active(); }
  void CloseClient() override { Close(); }

 protected:
  friend class TODBCBlobStream;
  friend class TODBCDataLink;

  // ---- operations of this dataset, in the order derived classes know them
  virtual void CheckCanDelete();
  virtual void CheckCanInsert();
  virtual void CheckCanUpdate();
  virtual std::unique_ptr<TODBCStatement> StatementClass();
  virtual void ApplyDelete();
  virtual void ApplyInsert();
  virtual void ApplyModify();
  virtual void InternalPrepare();
  virtual void InternalUnprepare();
  virtual void InternalExecQuery();

  // ---- abstract dataset hooks
  int GetRecordSize() const override { return layout_.RecordSize(); }
  db::TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(db::TRecordBuffer& buffer) override;
  void InternalInitRecord(db::TRecordBuffer buffer) override;
  db::TGetResult GetRecord(db::TRecordBuffer buffer, db::TGetMode mode, bool doCheck) override;
  void OpenCursor() override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return cursorOpen_; }
  void InternalInitFieldDefs() override;
  void InternalFirst() override { currentRecord_ = -1; }
  void InternalLast() override;
  int BookmarkSize() const override { return sizeof(int32_t); }
  void GetBookmarkData(db::TRecordBuffer buffer, void* data) const override;
  db::TBookmarkFlag GetBookmarkFlag(db::TRecordBuffer buffer) const override;
  void SetBookmarkFlag(db::TRecordBuffer buffer, db::TBookmarkFlag flag) override;
  void InternalGotoBookmark(const void* data) override;
  void InternalSetToRecord(db::TRecordBuffer buffer) override;
  void InternalEdit() override;
  void InternalInsert() override {}
  void InternalPost() override;
  void InternalCancel() override {}
  void InternalDelete() override;
  void InternalRefresh() override;
  void ClearCalcFields(db::TRecordBuffer buffer) override;

  TODBCDataLink& DataLink() { return dataLink_; }
  // The abstract dataset's inactive check, for derived classes' setters.
  void CheckClosed() const { CheckInactive(); }

 private:
  struct TStorePlan {
    const TODBCColumn* Column;
    TStoreKind Kind;
    db::TFieldType FieldType;
    TFieldDescriptor Descriptor;
    int BlobIndex;  // -1 unless the field has a blob slot
  };
  struct TOldValues {
    int32_t RecordNumber;
    std::unique_ptr<uint8_t[]> Record;
  };

  // Open steps
  void ResetCounters();
  void BuildLayout();
  void BuildStorePlan();
  void AddFieldDef(const TODBCColumn& column);
  // Navigation (ODBCDatasetNavigate.cpp)
  db::TGetResult MoveToRecord(db::TGetMode mode);
  db::TGetResult MoveToVisibleRecord(db::TGetMode mode);
  bool IsVisible(const uint8_t* record) const;
  // Fetches one row into the cache; false at the end of the rows.
  bool FetchRow();
  void StoreRow(uint8_t* record, int32_t number);
  // Packs a record into a new place of the cache.
  uint8_t* CacheRecord(const uint8_t* record);
  void CopyRecord(db::TRecordBuffer buffer, int position) const;
  // Field access (ODBCDatasetFields.cpp)
  uint8_t* RecordForState() const;
  const uint8_t* OldRecordOf(int32_t number) const;
  // Editing (ODBCDatasetEdit.cpp)
  // The first change of a cached record keeps its values before the change.
  void SaveOldValues(const uint8_t* cachedRecord);
  void PostCached();
  void PostThroughUpdateObject();
  void RevertCachedChanges();
  void StoreIntoCache(const uint8_t* buffer, int position);
  int InsertPosition();
  void BlobWritten(db::TField& field) noexcept;
  int BlobIndexOf(const db::TField& field) const;
  bool HasUpdateSQL(TUpdateKind kind) const;

  std::unique_ptr<TODBCStatement> statement_;
  TODBCDataLink dataLink_{*this};
  bool cursorOpen_ = false;
  bool cachedUpdates_ = false;
  bool uniDirectional_ = false;
  TODBCDataSetUpdateObject* updateObject_ = nullptr;
  bool updatesPending_ = false;
  TUpdateRecordTypes updateRecordTypes_ = rtUnmodified | rtModified | rtInserted;
  int currentRecord_ = -1;
  int32_t recordCounter_ = 0;
  int32_t deletedCount_ = 0;
  int bufferChunks_ = 32;
  TODBCRecordLayout layout_;
  TODBCRecordCache cache_;
  TODBCRecordPacker packer_;
  std::unique_ptr<uint8_t[]> rowBuffer_;  // the fetched row being stored
  std::vector<TStorePlan> storePlan_;
  std::vector<int> blobIndexOfFieldNo_;  // -1 for fields without a blob slot
  std::vector<TOldValues> oldValues_;
  std::vector<int32_t> updatedRecords_;
  std::unique_ptr<uint8_t[]> modelBuffer_;
};

}  // namespace dac
