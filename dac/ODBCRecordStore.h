#pragma once
// Storing a fetched column value into a record, in the native form of the dataset layer, by
// the column's SQL type.
#include <sql.h>

#include <cstdint>
#include <string>

#include "toolkit/db/DBTypes.h"

namespace dac {

class TODBCColumn;

// How a column's value goes into the record, decided once per open.
enum class TStoreKind {
  Text,         // SQL_CHAR, SQL_VARCHAR, ODBC 2 time, intervals: the bytes of the text
  WideText,     // SQL_WCHAR, SQL_WVARCHAR: UTF-16 converted to UTF-8
  Guid,         // SQL_GUID: its text form
  Bcd,          // SQL_NUMERIC, SQL_DECIMAL: the packed decimal
  Fixed,        // integers, floats, bit: the buffer's bytes unchanged
  Date,         // day number
  Time,         // milliseconds of the day
  Timestamp,    // day number x 86400000 + milliseconds, as a double
  Long,         // long columns: a blob slot, or the bytes for byte fields
  Unsupported
};

TStoreKind StoreKindOf(SQLSMALLINT sqlType);

// Writes the non-null value of column into dest (dataSize bytes at most; texts are cut on a
// character boundary and zero-terminated). For Long columns of byte fields (ftBytes,
// ftVarBytes) the bytes go into dest in the field's form; other Long columns write nothing.
void StoreColumnValue(const TODBCColumn& column, TStoreKind kind, db::TFieldType fieldType,
                      uint8_t* dest, int dataSize);

// UTF-16 text (up to a zero unit or units units) as zero-terminated UTF-8 into dest of
// capacity bytes, never cut inside a character. Unpaired surrogates become U+FFFD.
void Utf16ToUtf8Into(const char16_t* text, size_t units, char* dest, size_t capacity);

// EDatabaseError "Unsupported data type %s" with the column's name.
[[noreturn]] void RaiseUnsupportedDataType(const std::string& columnName);

}  // namespace dac
