#pragma once
// Registers dictionaries for one test and leaves the registry and the current dictionary as it
// found them (empty and unset) whatever the test does.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "QuenTranslate/QuenDictionary.h"

class DictionaryFixture : public testing::Test {
 protected:
  void TearDown() override {
    SetCurrentDictionary(nullptr);
    for (auto& dictionary : dictionaries_) QuenDictionaries()->Remove(dictionary.get());
  }

  // A registered dictionary holding the given entries.
  TQuenDictionary* Register(std::vector<TQuenEntry> entries, bool enabled = true) {
    auto dictionary = std::make_unique<TQuenDictionary>();
    dictionary->SetEntries(std::move(entries));
    dictionary->SetEnabled(enabled);
    QuenDictionaries()->Add(dictionary.get());
    dictionaries_.push_back(std::move(dictionary));
    return dictionaries_.back().get();
  }

 private:
  std::vector<std::unique_ptr<TQuenDictionary>> dictionaries_;
};
