#pragma once
// The raw text behind a resource-string reference, before any translation.
#include <cstddef>
#include <string>

#include "QuenTranslate/ResString.h"

// A table string longer than this many bytes is cut, at a character boundary.
constexpr size_t kResStringBufferSize = 4096;

// An identifier above 65535 is the address of the text itself; any other is read from the
// module's string table (unknown: the empty text) and cut to kResStringBufferSize bytes.
std::string ReadResourceText(const TResStringRec* resString);
