#include "QuenTranslate/Dictionaries.h"

#include <algorithm>
#include <stdexcept>

namespace {
constinit TQuenDictionaries* registry = nullptr;
}  // namespace

TQuenDictionary* TQuenDictionaries::Items(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("TQuenDictionaries: index out of range");
  return items_[static_cast<size_t>(index)];
}

void TQuenDictionaries::Add(TQuenDictionary* dictionary) {
  if (dictionary != nullptr && IndexOf(dictionary) < 0) items_.push_back(dictionary);
}

void TQuenDictionaries::Remove(TQuenDictionary* dictionary) {
  auto found = std::find(items_.begin(), items_.end(), dictionary);
  if (found != items_.end()) items_.erase(found);
}

int TQuenDictionaries::IndexOf(const TQuenDictionary* dictionary) const {
  auto found = std::find(items_.begin(), items_.end(), dictionary);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

TQuenDictionaries* QuenDictionaries() {
  return registry;
}

void CreateQuenDictionaries() {
  if (registry == nullptr) registry = new TQuenDictionaries;
}

void FreeQuenDictionaries() {
  delete registry;
  registry = nullptr;
}
