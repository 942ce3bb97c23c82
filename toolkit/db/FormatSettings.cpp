#include "toolkit/db/FormatSettings.h"

namespace db {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

}  // namespace db
