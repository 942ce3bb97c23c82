#pragma once
// One column of a result, described and bound by the cursor.
#include "dac/ODBCSQLVar.h"

namespace dac {

class TODBCColumn : public TODBCSQLVAR {
 public:
  // True when the driver describes the column as SQL_NULLABLE.
  bool Nullable() const { return nullable_; }
  void SetNullable(bool value) { nullable_ = value; }

 private:
  bool nullable_ = false;
};

}  // namespace dac
