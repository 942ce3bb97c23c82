#pragma once
// The version text shown in the window's caption.
#include <string>

namespace settings {

// The file version of fileName (of the module itself when fileName is blank) as four decimal
// numbers joined by "."; an empty text when the file carries no version; "0.0.0.0" when no
// file name can be had at all.
std::string GetVersionText(const std::string& fileName);

}  // namespace settings
