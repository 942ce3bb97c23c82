#include "QuenTranslate/ResStringLoader.h"

#include "QuenTranslate/Dictionaries.h"
#include "QuenTranslate/ResString.h"
#include "QuenTranslate/ResourceText.h"
#include "QuenTranslate/TranslatedResString.h"

namespace {
// Read through a volatile pointer so that the compiler can neither fold LoadResString into
// ReadResourceText nor shrink it below the five bytes the hook overwrites.
using TLoader = std::string (*)(const TResStringRec*);
constinit volatile TLoader rawLoader = &ReadResourceText;

constinit THook* loaderHook = nullptr;

// Sets the translator up when the module is loaded and undoes it when it is unloaded.
struct TranslatorLifetime {
  TranslatorLifetime() {
    CreateQuenDictionaries();
    loaderHook = new THook(CodeAddress(&LoadResString), false, CodeAddress(&TranslatedLoadResString));
    loaderHook->Enable();
  }
  ~TranslatorLifetime() {
    FreeQuenDictionaries();
    delete loaderHook;
    loaderHook = nullptr;
  }
};

TranslatorLifetime translatorLifetime;
}  // namespace

// Reached only while the hook is disabled: the raw table text, without lookup.
__attribute__((noinline, noipa)) std::string LoadResString(const TResStringRec* resString) {
  return rawLoader(resString);
}

const THook* ResStringHook() {
  return loaderHook;
}
