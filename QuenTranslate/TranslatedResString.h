#pragma once
// The resource-string loader that the module's own LoadResString is redirected to.
#include <string>

#include "QuenTranslate/ResString.h"

// The resource text, looked up in the first registered dictionary when there is one (whether
// it is enabled or not). Never calls LoadResString, which jumps here.
std::string TranslatedLoadResString(const TResStringRec* resString);
