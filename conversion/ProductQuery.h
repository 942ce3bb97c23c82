#pragma once
// The SQL text that loads every product not deleted, with its names and current tax codes.
#include <string>
#include <vector>

namespace conversion {

// Its 25 lines in order; lines 7 to 12 begin with a tab and six spaces, every line ends with
// a space.
const std::vector<std::string>& ProductQueryLines();

}  // namespace conversion
