#pragma once
// Enumerations and the error type shared by the dataset layer and the database layer.
#include <stdexcept>
#include <string>

namespace db {

enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
  ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
  ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
  ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
  ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd, ftFixedWideChar, ftWideMemo,
  ftOraTimeStamp, ftOraInterval
};

enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

// The dataset layer's database error; EODBCError and misuse errors derive from or are this.
class EDatabaseError : public std::runtime_error {
 public:
  explicit EDatabaseError(const std::string& message) : std::runtime_error(message) {}
};

// Date-time values: days since 30 December 1899, time of day as the fraction.
using TDateTime = double;

}  // namespace db

namespace db {
// A value that cannot be converted (dates, numbers read from text).
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};
}  // namespace db

namespace db {
// A silent exception: it ends an operation without any message (an open whose text returns
// no rows ends this way and leaves the dataset closed).
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};
}  // namespace db
