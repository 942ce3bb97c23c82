#pragma once
// The text translator: every text shown to the user and every string resource of the module is
// looked up in the registered dictionaries, falling back to the text itself.
#include <optional>
#include <string>
#include <vector>

#include "QuenTranslate/Dictionaries.h"

struct TQuenEntry {
  std::string Source;       // the text to translate
  std::string Context;      // qualifies Source; callers of the module look up with ""
  std::string Translation;  // an empty one counts as no translation
};

// A dictionary as the lookup sees it: a switch and a list of entries kept in ascending order of
// Context, then Source, under LocaleCompare.
class TQuenDictionary {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }

  // The entry list in lookup order, or nullptr when the dictionary has none.
  const std::vector<TQuenEntry>* Entries() const { return entries_ ? &*entries_ : nullptr; }
  // Takes the entries and puts them in lookup order.
  void SetEntries(std::vector<TQuenEntry> entries);
  // Leaves the dictionary without an entry list: it translates nothing.
  void ClearEntries() { entries_.reset(); }

 private:
  bool enabled_ = true;
  std::optional<std::vector<TQuenEntry>> entries_;
};

// The dictionary that Translate consults first; nullptr (unset) when the module is loaded.
TQuenDictionary* CurrentDictionary();
void SetCurrentDictionary(TQuenDictionary* dictionary);

// The translation of text under context in one dictionary, or text itself.
std::string Lookup(const TQuenDictionary* dictionary, const std::string& text,
                   const std::string& context);

// The translation of text in the current dictionary, else in the other enabled ones in
// registry order; text itself when none knows it.
std::string Translate(const std::string& text);
