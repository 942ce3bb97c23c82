#include "QuenTranslate/TranslatedResString.h"

#include "QuenTranslate/QuenDictionary.h"
#include "QuenTranslate/ResourceText.h"

std::string TranslatedLoadResString(const TResStringRec* resString) {
  std::string text = ReadResourceText(resString);
  const TQuenDictionaries* registry = QuenDictionaries();
  if (registry == nullptr || registry->Count() == 0) return text;
  return Lookup(registry->Items(0), text, std::string());
}
