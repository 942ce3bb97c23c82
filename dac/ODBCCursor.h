#pragma once
// The reading end of an executed statement: describes and binds the result's columns and
// fetches rows one at a time into the column buffers.
#include <sql.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "dac/DriverKind.h"
#include "dac/ODBCColumn.h"

namespace dac {

// The result columns. Item 0 is the bookmark placeholder "ODBC_BOOKMARK", never bound;
// item n is result column n.
class TODBCColumns {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TODBCColumn& operator[](int index) const { return *items_.at(index); }
  TODBCColumn& Items(int index) const { return *items_.at(index); }
  TODBCColumn& Add();
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TODBCColumn>> items_;
};

class TODBCCursor {
 public:
  TODBCCursor() = default;
  TODBCCursor(const TODBCCursor&) = delete;
  TODBCCursor& operator=(const TODBCCursor&) = delete;

  // Describes and binds the result columns of the statement that has just executed; the
  // driver kind (for type remapping and buffer sizes) is asked once from connection, and
  // only when there are columns. A result without columns leaves Columns unchanged.
  void Initialize(SQLHSTMT statement, SQLHDBC connection);
  // The same with a driver kind the caller already knows.
  void Initialize(SQLHSTMT statement, TODBCDriverKind driverKind);

  void Open();
  // Fetches the next row; at the end sets Eof, which stays set (no further driver call) until
  // the next Open. The column buffers then keep the last row.
  void Fetch();
  void Reset();
  void ClearColumns();
  // EDatabaseError "Cannot perform this operation on a closed cursor".
  void CheckOpen() const;
  int LongColumnCount() const { return static_cast<int>(longColumns_.size()); }

  SQLHSTMT StatementHandle() const { return statement_; }
  TODBCColumns& Columns() { return columns_; }
  const TODBCColumns& Columns() const { return columns_; }
  bool IsOpen() const { return open_; }
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // SQLNumResultCols of the last initialization.
  SQLSMALLINT ColumnCount() const { return columnCount_; }
  int32_t RecordCount() const { return recordCount_; }
  bool FetchOnOpen() const { return fetchOnOpen_; }
  void SetFetchOnOpen(bool value) { fetchOnOpen_ = value; }

 private:
  void InitializeColumns(TODBCDriverKind driverKind);
  void DescribeColumn(SQLUSMALLINT number, TODBCColumn& column, TODBCDriverKind driverKind);
  void BindColumns();
  void ReadLongColumns();
  void ReadLongColumn(SQLUSMALLINT number, TODBCColumn& column);
  void LocalizeDecimalSeparators();
  void Check(SQLRETURN rc) const;

  SQLHSTMT statement_ = SQL_NULL_HSTMT;
  TODBCColumns columns_;
  std::vector<SQLUSMALLINT> longColumns_;
  bool open_ = false;
  bool bof_ = false;
  bool eof_ = false;
  SQLSMALLINT columnCount_ = 0;
  int32_t recordCount_ = 0;
  bool fetchOnOpen_ = false;
};

}  // namespace dac
