#include "dac/ODBCRecordStore.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

#include "dac/DACConsts.h"
#include "dac/ODBCColumn.h"
#include "dac/ODBCDatasetConsts.h"
#include "toolkit/db/FieldClasses.h"

namespace dac {
namespace {

constexpr SQLSMALLINT kSqlTimeOdbc2 = 10;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Copies up to capacity - 1 bytes of text, backing off to a character boundary, and ends
// the copy with a zero.
void storeText(const char* text, size_t length, uint8_t* dest, int dataSize) {
  if (dataSize <= 0) return;
  size_t room = size_t(dataSize) - 1;
  if (length > room) {
    length = room;
    while (length > 0 && isContinuationByte(text[length])) --length;
  }
  std::memcpy(dest, text, length);
  dest[length] = 0;
}

void appendUtf8(char32_t code, char* out, size_t& used) {
  if (code < 0x80) {
    out[used++] = char(code);
  } else if (code < 0x800) {
    out[used++] = char(0xC0 | (code >> 6));
    out[used++] = char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out[used++] = char(0xE0 | (code >> 12));
    out[used++] = char(0x80 | ((code >> 6) & 0x3F));
    out[used++] = char(0x80 | (code & 0x3F));
  } else {
    out[used++] = char(0xF0 | (code >> 18));
    out[used++] = char(0x80 | ((code >> 12) & 0x3F));
    out[used++] = char(0x80 | ((code >> 6) & 0x3F));
    out[used++] = char(0x80 | (code & 0x3F));
  }
}

size_t utf8Length(char32_t code) {
  return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

void storeBytes(const TODBCColumn& column, db::TFieldType fieldType, uint8_t* dest,
                int dataSize) {
  const size_t length = column.Data() ? size_t(std::max<SQLLEN>(column.DataSize(), 0)) : 0;
  if (fieldType == db::ftBytes) {
    std::memset(dest, 0, size_t(dataSize));
    std::memcpy(dest, column.Data(), std::min(length, size_t(dataSize)));
  } else if (fieldType == db::ftVarBytes && dataSize >= 2) {
    const uint16_t stored = uint16_t(std::min<size_t>({length, size_t(dataSize) - 2, 0xFFFF}));
    std::memcpy(dest, &stored, sizeof stored);
    if (stored > 0) std::memcpy(dest + 2, column.Data(), stored);
  }
}

}  // namespace

TStoreKind StoreKindOf(SQLSMALLINT sqlType) {
  if (sqlType >= SQL_INTERVAL_YEAR && sqlType <= SQL_INTERVAL_MINUTE_TO_SECOND)
    return TStoreKind::Text;
  switch (sqlType) {
    case SQL_CHAR: case SQL_VARCHAR: case kSqlTimeOdbc2: return TStoreKind::Text;
    case SQL_WCHAR: case SQL_WVARCHAR: return TStoreKind::WideText;
    case SQL_GUID: return TStoreKind::Guid;
    case SQL_NUMERIC: case SQL_DECIMAL: return TStoreKind::Bcd;
    case SQL_INTEGER: case SQL_SMALLINT: case SQL_FLOAT: case SQL_REAL: case SQL_DOUBLE:
    case SQL_BIT: case SQL_TINYINT: case SQL_BIGINT:
      return TStoreKind::Fixed;
    case SQL_TYPE_DATE: return TStoreKind::Date;
    case SQL_TYPE_TIME: return TStoreKind::Time;
    case SQL_TYPE_TIMESTAMP: return TStoreKind::Timestamp;
    case SQL_WLONGVARCHAR: case SQL_LONGVARBINARY: case SQL_VARBINARY: case SQL_BINARY:
    case SQL_LONGVARCHAR:
      return TStoreKind::Long;
    default: return TStoreKind::Unsupported;
  }
}

void StoreColumnValue(const TODBCColumn& column, TStoreKind kind, db::TFieldType fieldType,
                      uint8_t* dest, int dataSize) {
  switch (kind) {
    case TStoreKind::Text: {
      const char* data = column.Data();
      storeText(data, strnlen(data, size_t(column.DataSize())), dest, dataSize);
      break;
    }
    case TStoreKind::WideText: {
      // The buffer holds UTF-16 units; copied out so that an odd address is no problem.
      const size_t units = size_t(column.DataSize()) / 2;
      if (units <= 512) {
        char16_t text[512];
        std::memcpy(text, column.Data(), units * 2);
        Utf16ToUtf8Into(text, units, reinterpret_cast<char*>(dest), size_t(dataSize));
      } else {
        std::u16string text(units, u'\0');
        std::memcpy(text.data(), column.Data(), units * 2);
        Utf16ToUtf8Into(text.data(), units, reinterpret_cast<char*>(dest), size_t(dataSize));
      }
      break;
    }
    case TStoreKind::Guid: {
      const std::string text = column.AsString();
      storeText(text.data(), text.size(), dest, dataSize);
      break;
    }
    case TStoreKind::Bcd: {
      const db::TBcdRecord bcd = column.AsBCD();
      std::memcpy(dest, &bcd, std::min(sizeof bcd, size_t(dataSize)));
      break;
    }
    case TStoreKind::Fixed:
      std::memcpy(dest, column.Data(), std::min(size_t(column.DataSize()), size_t(dataSize)));
      break;
    case TStoreKind::Date: {
      const int32_t day = db::DateToDayNumber(column.AsDateTime());
      std::memcpy(dest, &day, std::min(sizeof day, size_t(dataSize)));
      break;
    }
    case TStoreKind::Time: {
      const int32_t ms = db::TimeToMilliseconds(column.AsDateTime());
      std::memcpy(dest, &ms, std::min(sizeof ms, size_t(dataSize)));
      break;
    }
    case TStoreKind::Timestamp: {
      const double native = db::DateTimeToNative(column.AsDateTime());
      std::memcpy(dest, &native, std::min(sizeof native, size_t(dataSize)));
      break;
    }
    case TStoreKind::Long:
      storeBytes(column, fieldType, dest, dataSize);
      break;
    case TStoreKind::Unsupported:
      RaiseUnsupportedDataType(column.Name());
  }
}

void Utf16ToUtf8Into(const char16_t* text, size_t units, char* dest, size_t capacity) {
  if (capacity == 0) return;
  size_t used = 0;
  for (size_t i = 0; i < units && text[i] != 0; ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (used + utf8Length(code) > capacity - 1) break;
    appendUtf8(code, dest, used);
  }
  dest[used] = 0;
}

void RaiseUnsupportedDataType(const std::string& columnName) {
  throw db::EDatabaseError(FormatRes(SUnsupportedDataType, columnName.c_str()));
}

}  // namespace dac
