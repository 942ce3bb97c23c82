#pragma once
// Enumerations and small types of the abstract dataset.
#include <cstdint>
#include <vector>

namespace db {

enum TDataSetState {
  dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue,
  dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening
};

// What a dataset tells its data sources (info: the field for deFieldChange, the distance
// for deDataSetScroll).
enum TDataEvent {
  deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
  deUpdateRecord, deUpdateState, deCheckBrowseMode
};

// Which record GetRecord is asked for, and its answer.
enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };

// Where a record buffer stands: on a record, before the first, after the last, or new.
enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

// A record buffer: bytes whose layout the derived dataset chooses.
using TRecordBuffer = uint8_t*;
// A bookmark: the bytes the derived dataset gives for a record; empty when there is none.
using TBookmark = std::vector<uint8_t>;

}  // namespace db
