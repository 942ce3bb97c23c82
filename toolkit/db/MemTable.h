#pragma once
// The in-memory table: a dataset whose rows live in memory, in the order they were
// appended. Fields are defined with AddField while the table is closed; opening gives an
// empty table, closing discards every row.
//
// Field types: ftString/ftFixedChar/ftWideString (Size = width in characters; longer text
// is cut, never inside a character), ftSmallint, ftWord, ftInteger, ftAutoInc (numbered
// 1, 2, ... from each open when posted empty), ftLargeint, ftBoolean, ftFloat, ftCurrency,
// ftDate, ftTime, ftDateTime, ftTimeStamp; calculated fields through OnCalcFields.
//
// Besides the dataset interface it gives a grid model random access by row index (which
// does not move the current record) and row notices, and a view-suspension counter
// (BeginUpdate/EndUpdate) so that many changes reach the views as one.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "toolkit/db/DataSet.h"
#include "toolkit/db/MemTableStore.h"

namespace db {

// Row notices for a model over the table. While the view is suspended nothing is sent;
// resuming sends one TableReset when anything changed.
class TMemTableObserver {
 public:
  virtual ~TMemTableObserver() = default;
  virtual void RowsInserted(int first, int count) { (void)first, (void)count; }
  virtual void RowsRemoved(int first, int count) { (void)first, (void)count; }
  virtual void RowChanged(int row) { (void)row; }
  // Every row may have changed (open, close, end of a suspension).
  virtual void TableReset() {}
};

class TMemTable : public TDataSet {
 public:
  using TFieldMapping = std::vector<std::pair<std::string, std::string>>;  // source, target

  TMemTable() = default;
  ~TMemTable() override;

  bool IsOpen() const { return Active(); }
  // Posts the record being edited or inserted without the before-post event.
  void PostWithoutBeforePost() { PostRecord(false); }

  // Appends every row of the source (opened when closed), from its first row to its end:
  // each source field goes into the target field of the same name (names compared without
  // regard to case; source fields without a target are dropped), or as the mapping pairs
  // say. Each row is posted with the before-post event unless fireBeforePost is false.
  // The view is suspended meanwhile. On an error the rows posted so far stay.
  void LoadFromDataSet(TDataSet& source, const TFieldMapping& mapping = {},
                       bool fireBeforePost = true);

  // View suspension: counted; links and observers hear one notice at the outermost end.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

  // ---- random access for a grid model; rows are 0-based, fields by Fields() index
  int RowCount() const { return store_.RowCount(); }
  // Row of the active record; -1 when there is none (empty, closed or inserting).
  int ActiveRow() const;
  // Null for calculated fields and for empty cells.
  Variant CellValue(int row, int fieldIndex) const;
  // Writes a stored cell directly: no state change and no post events; the row must not
  // be the one being edited. Text is cut to the field's width.
  void SetCellValue(int row, int fieldIndex, const Variant& value);
  void AddObserver(TMemTableObserver* observer);
  void RemoveObserver(TMemTableObserver* observer);

  // ---- dataset interface
  int RecordCount() const override;
  int RecNo() const override;
  void SetRecNo(int value) override;
  bool Locate(const std::string& keyFields, const std::vector<Variant>& keyValues,
              TLocateOptions options = 0) override;
  using TDataSet::Locate;
  std::vector<Variant> LookupValues(const std::string& keyFields,
                                    const std::vector<Variant>& keyValues,
                                    const std::string& resultFields) override;
  bool BookmarkValid(const TBookmark& bookmark) const override;
  int CompareBookmarks(const TBookmark& a, const TBookmark& b) const override;
  bool GetFieldData(TField& field, void* dest) override;
  void SetFieldData(TField& field, const void* src) override;

 protected:
  int GetRecordSize() const override;
  void InternalInitRecord(TRecordBuffer buffer) override;
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return cursorOpen_; }
  void InternalInitFieldDefs() override;
  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override { cursor_ = store_.RowCount(); }
  int BookmarkSize() const override { return sizeof(uint32_t); }
  void GetBookmarkData(TRecordBuffer buffer, void* data) const override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) const override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;
  void InternalGotoBookmark(const void* data) override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalEdit() override;
  void InternalInsert() override;
  void InternalPost() override;
  void InternalCancel() override;
  void InternalDelete() override;
  void ClearCalcFields(TRecordBuffer buffer) override;

 private:
  struct Header {
    uint32_t rowId;
    int32_t rowIndex;
    uint8_t flag;
  };
  static Header ReadHeader(TRecordBuffer buffer);
  static void WriteHeader(TRecordBuffer buffer, const Header& header);
  int RowOfBuffer(TRecordBuffer buffer) const;
  int RowOfId(uint32_t id) const;
  const uint8_t* ImageForRead(const TField& field) const;
  TRecordBuffer BufferForState() const;
  int ColumnOf(const TField& field) const;
  void ReadCell(const uint8_t* image, int column, const TField& field, void* dest) const;
  void WriteCell(uint8_t* image, int column, const TField& field, const void* src);
  void StoreVariant(uint8_t* image, int column, const TField& field, const Variant& value,
                    bool replacing);
  Variant CellVariant(const uint8_t* image, int column, const TField& field) const;
  int FindRow(const std::vector<TField*>& fields, const std::vector<Variant>& keyValues,
              TLocateOptions options);
  void NumberAutoIncFields(uint8_t* image);
  // Row notices go out at once, or are folded into one reset while the view is suspended.
  template <typename F>
  void Notify(F notice) {
    if (updateCount_ > 0) {
      rowsDirty_ = true;
      return;
    }
    for (TMemTableObserver* observer : std::vector<TMemTableObserver*>(observers_)) notice(*observer);
  }
  void KeysChanged(int column);

  TRowStore store_;
  std::vector<int> columnOfField_;  // by field index; -1 for calculated fields
  bool cursorOpen_ = false;
  int cursor_ = -1;
  uint32_t nextRowId_ = 1;
  bool idsAscending_ = true;
  int32_t nextAutoInc_ = 1;
  std::vector<uint8_t> editImage_;
  int insertAt_ = 0;
  int updateCount_ = 0;
  bool rowsDirty_ = false;
  std::vector<TMemTableObserver*> observers_;
  // Exact integer keys of one column: first row per value, built on demand.
  int indexedColumn_ = -1;
  std::unordered_map<int64_t, int> keyIndex_;
};

}  // namespace db
