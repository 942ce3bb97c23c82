#pragma once
// The module's string resources: a table of texts by identifier, read through LoadResString,
// which the translator replaces at load time with TranslatedLoadResString.
#include <cstdint>
#include <string>

// Identifies a string resource. An identifier above 65535 is the address of the text itself.
struct TResStringRec {
  const void* Module;
  uintptr_t Identifier;
};

// Tag whose address stands for this module's instance.
extern const char HInstance;

// Adds a text to the module's string table; used by DEFINE_RESOURCESTRING.
bool RegisterResourceString(uintptr_t identifier, const char* text);
// The raw text of a table entry, or nullptr when the identifier is unknown.
const char* FindResourceString(uintptr_t identifier);

// The module's resource-string loader. Every resource text is read through it.
std::string LoadResString(const TResStringRec* resString);

#define DECLARE_RESOURCESTRING(name) extern const TResStringRec name
#define DEFINE_RESOURCESTRING(name, identifier, text)                        \
  const TResStringRec name = {&HInstance, identifier};                       \
  [[maybe_unused]] static const bool name##Registered =                      \
      RegisterResourceString(identifier, text)
