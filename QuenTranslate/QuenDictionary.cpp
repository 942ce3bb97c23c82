#include "QuenTranslate/QuenDictionary.h"

#include <algorithm>

#include "QuenTranslate/TextCompare.h"

namespace {
constinit TQuenDictionary* currentDictionary = nullptr;

// Orders an entry against (context, source): Context first, then Source.
int CompareEntry(const TQuenEntry& entry, const std::string& context, const std::string& source) {
  int result = LocaleCompare(entry.Context, context);
  return result != 0 ? result : LocaleCompare(entry.Source, source);
}

// Consults the other enabled dictionaries in registry order, skipping the current one.
std::string TranslateInOthers(const std::string& text) {
  const TQuenDictionaries* registry = QuenDictionaries();
  for (int index = 0; index < registry->Count(); ++index) {
    const TQuenDictionary* dictionary = registry->Items(index);
    if (dictionary == currentDictionary || !dictionary->Enabled()) continue;
    std::string answer = Lookup(dictionary, text, std::string());
    if (answer != text) return answer;
  }
  return text;
}
}  // namespace

void TQuenDictionary::SetEntries(std::vector<TQuenEntry> entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const TQuenEntry& a, const TQuenEntry& b) {
    return CompareEntry(a, b.Context, b.Source) < 0;
  });
  entries_ = std::move(entries);
}

TQuenDictionary* CurrentDictionary() {
  return currentDictionary;
}

void SetCurrentDictionary(TQuenDictionary* dictionary) {
  currentDictionary = dictionary;
}

std::string Lookup(const TQuenDictionary* dictionary, const std::string& text,
                   const std::string& context) {
  const std::vector<TQuenEntry>* entries = dictionary ? dictionary->Entries() : nullptr;
  if (entries == nullptr || text.empty()) return text;
  const std::string source = CodePage1252ToSystem(text);
  // Binary search that, on a match without a translation, keeps looking below it.
  long low = 0;
  long high = static_cast<long>(entries->size()) - 1;
  while (low <= high) {
    const long middle = (low + high) / 2;
    const TQuenEntry& entry = (*entries)[static_cast<size_t>(middle)];
    const int order = CompareEntry(entry, context, source);
    if (order < 0) {
      low = middle + 1;
      continue;
    }
    high = middle - 1;
    if (order == 0 && !entry.Translation.empty()) return entry.Translation;
  }
  return text;
}

std::string Translate(const std::string& text) {
  if (currentDictionary == nullptr || !currentDictionary->Enabled()) return text;
  std::string answer = Lookup(currentDictionary, text, std::string());
  const TQuenDictionaries* registry = QuenDictionaries();
  if (registry == nullptr || registry->Count() < 2 || answer != text) return answer;
  return TranslateInOthers(text);
}
