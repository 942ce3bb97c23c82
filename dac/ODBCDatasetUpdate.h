#pragma once
// What a dataset needs to write its changes: the update object interface (the system itself
// defines no descendant), update kinds and actions, and the record-type filter of navigation.
#include <cstdint>
#include <string>

#include "dac/ParamLines.h"

namespace dac {

class TODBCCustomDataSet;

enum TUpdateKind { ukModify = 0, ukInsert = 1, ukDelete = 2 };
enum TUpdateAction { uaFail, uaAbort, uaSkip, uaRetry, uaApplied };

// The record statuses that navigation shows.
enum TUpdateRecordType : uint8_t {
  rtUnmodified = 1 << 0, rtModified = 1 << 1, rtInserted = 1 << 2, rtDeleted = 1 << 3
};
using TUpdateRecordTypes = uint8_t;

class TODBCDataSetUpdateObject {
 public:
  virtual ~TODBCDataSetUpdateObject() = default;
  virtual TODBCCustomDataSet* DataSet() const = 0;
  virtual void SetDataSet(TODBCCustomDataSet* dataSet) = 0;
  // Writes the active record of the dataset as the kind says.
  virtual void Apply(TUpdateKind kind) = 0;
  // The SQL text lines used for a kind; empty when the kind is not supported.
  virtual TStrings SQL(TUpdateKind kind) const = 0;
};

}  // namespace dac
