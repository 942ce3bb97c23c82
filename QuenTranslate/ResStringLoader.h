#pragma once
// The module's resource-string loader (LoadResString, declared in ResString.h) and the hook
// that sends it to TranslatedLoadResString for the module's whole life.
#include "QuenTranslate/Hook.h"

// The hook on LoadResString, or nullptr outside the module's lifetime.
const THook* ResStringHook();
