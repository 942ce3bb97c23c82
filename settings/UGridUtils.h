#pragma once
// Grid layouts kept per user in an XML file, one element per grid key. Errors are thrown
// (ESettingsError); the window's own guard decides to ignore them.
#include <string>

#include "settings/GridKeyHash.h"
#include "settings/GridLayoutTarget.h"

namespace settings {

// fileName, or "Browser.xml" in the default settings folder when it is empty.
std::string GridLayoutPath(const std::string& fileName);

// "GRID_" followed by the decimal GridKeyHash of key.
std::string GridElementName(const std::string& key);

// Stores grid's layout and GridMode under key, keeping the other grids of the file. A file that
// cannot be read, is not XML or has another root fails the save and stays as it was.
void SaveGridLayout(const TGridLayoutTarget& grid, const std::string& key, const std::string& fileName);

// Applies the layout stored under key. False when the file, its BROWSER root or the grid's
// element is missing. A damaged entry (no LAYOUT or GRIDMODE, GRIDMODE not a number, layout
// bytes the grid cannot read) throws before the grid is changed. Otherwise the layout is
// applied, columns bound to no field of the dataset are removed, GridMode is set, and the
// answer is whether the grid has a column left.
bool RestoreGridLayout(TGridLayoutTarget& grid, const std::string& key, const std::string& fileName);

// Removes, last to first, every column whose field name is empty or names no field of the
// grid's dataset (field names compare without regard to case). Nothing without a dataset.
void RemoveUnboundColumns(TGridLayoutTarget& grid);

}  // namespace settings
