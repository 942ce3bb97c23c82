#pragma once
// The process-wide registry of dictionaries, created when the module is loaded and freed when
// it is unloaded. It refers to its dictionaries and never owns them.
#include <vector>

class TQuenDictionary;

class TQuenDictionaries {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // The dictionary at index, 0 <= index < Count().
  TQuenDictionary* Items(int index) const;
  // Appends a dictionary; one already registered keeps its place.
  void Add(TQuenDictionary* dictionary);
  // Takes a dictionary out of the registry; unknown ones are ignored.
  void Remove(TQuenDictionary* dictionary);
  int IndexOf(const TQuenDictionary* dictionary) const;

 private:
  std::vector<TQuenDictionary*> items_;
};

// The registry, or nullptr outside the module's lifetime.
TQuenDictionaries* QuenDictionaries();

// Called only when the module is loaded and unloaded.
void CreateQuenDictionaries();
void FreeQuenDictionaries();
