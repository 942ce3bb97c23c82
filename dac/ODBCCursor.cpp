#include "dac/ODBCCursor.h"

#include <cstring>

#include "dac/DriverInfo.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"
#include "dac/ODBCTypeMaps.h"
#include "dac/ODBCValueConsts.h"
#include "dac/SQLMonitor.h"
#include "dac/Utf8.h"
#include "toolkit/db/FormatSettings.h"

namespace dac {

namespace {

constexpr SQLLEN kLongChunk = 1024;
constexpr SQLSMALLINT kNameBufferSize = 129;

// The zero a driver puts after each chunk of character data.
SQLLEN TerminatorSize(SQLSMALLINT cType) {
  if (cType == SQL_C_CHAR) return 1;
  if (cType == SQL_C_WCHAR) return 2;
  return 0;
}

}  // namespace

TODBCColumn& TODBCColumns::Add() {
  items_.push_back(std::make_unique<TODBCColumn>());
  return *items_.back();
}

void TODBCCursor::Check(SQLRETURN rc) const { ODBCCheck(SQL_HANDLE_STMT, statement_, rc); }

void TODBCCursor::Initialize(SQLHSTMT statement, SQLHDBC connection) {
  statement_ = statement;
  SQLSMALLINT count = 0;
  Check(odbcapi::SQLNumResultCols(statement_, &count));
  columnCount_ = count;
  if (count <= 0) return;
  InitializeColumns(GetDriverKind(connection));
}

void TODBCCursor::Initialize(SQLHSTMT statement, TODBCDriverKind driverKind) {
  statement_ = statement;
  SQLSMALLINT count = 0;
  Check(odbcapi::SQLNumResultCols(statement_, &count));
  columnCount_ = count;
  if (count <= 0) return;
  InitializeColumns(driverKind);
}

void TODBCCursor::InitializeColumns(TODBCDriverKind driverKind) {
  // Item n must be result column n, so the columns of an earlier result go first.
  ClearColumns();
  TODBCColumn& bookmark = columns_.Add();
  bookmark.SetName("ODBC_BOOKMARK");
  bookmark.SetCType(SQL_C_BINARY);
  for (SQLSMALLINT n = 1; n <= columnCount_; ++n) {
    TODBCColumn& column = columns_.Add();
    DescribeColumn(SQLUSMALLINT(n), column, driverKind);
    if (IsLongDataType(column.SQLType())) longColumns_.push_back(SQLUSMALLINT(n));
  }
  BindColumns();
}

void TODBCCursor::DescribeColumn(SQLUSMALLINT number, TODBCColumn& column,
                                 TODBCDriverKind driverKind) {
  SQLCHAR name[kNameBufferSize] = {};
  SQLSMALLINT nameLength = 0, dataType = 0, decimalDigits = 0, nullable = 0;
  SQLULEN columnSize = 0;
  Check(odbcapi::SQLDescribeCol(statement_, number, name, kNameBufferSize, &nameLength,
                                &dataType, &columnSize, &decimalDigits, &nullable));
  SQLLEN autoUnique = 0;
  Check(odbcapi::SQLColAttribute(statement_, number, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0,
                                 nullptr, &autoUnique));
  std::string columnName(reinterpret_cast<const char*>(name));
  // A name cut by the buffer loses its incomplete last character, not half of it.
  if (nameLength >= kNameBufferSize) columnName = DropPartialCharacter(columnName);
  column.SetName(columnName);
  RemapDriverSQLType(driverKind, dataType);
  column.SetSQLType(dataType);
  column.SetCType(SQLTypeToCType(dataType));
  if (decimalDigits >= 0 && SQLULEN(decimalDigits) > columnSize)
    decimalDigits = SQLSMALLINT(columnSize);
  column.SetColumnSize(columnSize);
  column.SetDecimalDigits(decimalDigits);
  if (driverKind == dkMyODBC && dataType == SQL_VARCHAR)
    column.SetDataSize(256);
  else
    column.SetDataSize(SQLLEN(SQLTypeBufferSize(dataType, columnSize)));
  column.SetNullable(nullable == SQL_NULLABLE);
  column.SetAutoIncrement(autoUnique == 1);
}

void TODBCCursor::BindColumns() {
  for (int n = 1; n < columns_.Count(); ++n) {
    TODBCColumn& column = columns_[n];
    if (column.IsLong()) continue;
    Check(odbcapi::SQLBindCol(statement_, SQLUSMALLINT(n), column.CType(), column.Data(),
                              column.DataSize(), column.IndicatorPtr()));
  }
}

void TODBCCursor::Open() {
  open_ = true;
  bof_ = true;
  eof_ = false;
  recordCount_ = 0;
  if (fetchOnOpen_) Fetch();
}

void TODBCCursor::Fetch() {
  CheckOpen();
  // The end, once reported, is kept: walking past it asks the driver nothing more.
  if (eof_) return;
  const SQLRETURN rc = odbcapi::SQLFetch(statement_);
  if (rc == SQL_NO_DATA) {
    eof_ = true;
    return;
  }
  Check(rc);
  ReadLongColumns();
  LocalizeDecimalSeparators();
  ++recordCount_;
  bof_ = false;
  if (SQLMonitor().Count() > 0) SQLMonitor().Notify(this, 3, std::string(), std::string());
}

void TODBCCursor::ReadLongColumns() {
  for (SQLUSMALLINT number : longColumns_) ReadLongColumn(number, columns_[number]);
}

void TODBCCursor::ReadLongColumn(SQLUSMALLINT number, TODBCColumn& column) {
  const SQLLEN terminator = TerminatorSize(column.CType());
  column.SetDataSize(0);
  SQLLEN offset = 0;
  for (;;) {
    column.SetDataSize(offset + kLongChunk);
    const SQLRETURN rc = odbcapi::SQLGetData(statement_, number, column.CType(),
                                             column.Data() + offset, kLongChunk,
                                             column.IndicatorPtr());
    Check(rc);
    const SQLLEN indicator = column.Indicator();
    // Another chunk follows only when this one was cut; some drivers warn without cutting.
    const bool cut = indicator == SQL_NO_TOTAL || indicator > kLongChunk - terminator;
    if (rc != SQL_SUCCESS_WITH_INFO || !cut) break;
    offset += kLongChunk - terminator;
  }
  const SQLLEN indicator = column.Indicator();
  if (indicator == SQL_NULL_DATA) {
    column.SetDataSize(0);
    return;
  }
  const SQLLEN length = offset + indicator;
  column.SetDataSize(length + terminator);
  if (terminator > 0) std::memset(column.Data() + length, 0, size_t(terminator));
}

void TODBCCursor::LocalizeDecimalSeparators() {
  const char separator = db::FormatSettings().DecimalSeparator;
  if (separator == '.') return;
  for (int n = 1; n < columns_.Count(); ++n) {
    TODBCColumn& column = columns_[n];
    if (!column.IsNumericText() || column.IsNull()) continue;
    char* text = column.Data();
    const size_t length = strnlen(text, size_t(column.DataSize()));
    for (size_t i = 0; i < length; ++i)
      if (text[i] == '.') text[i] = separator;
  }
}

void TODBCCursor::Reset() {
  open_ = false;
  bof_ = false;
  eof_ = false;
  recordCount_ = 0;
}

void TODBCCursor::ClearColumns() {
  longColumns_.clear();
  columns_.Clear();
}

void TODBCCursor::CheckOpen() const {
  if (!open_) throw db::EDatabaseError(LoadResString(&SCursorClosed));
}

}  // namespace dac
