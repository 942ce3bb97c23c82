#pragma once
// A small grid of the tests' own behind the layout interface: columns with a field, a width and
// a visibility, a filter and a summary text, an optional dataset and GridMode. Its layout
// format is lines of tab-separated values; applying one is all or nothing.
#include <optional>
#include <string>
#include <vector>

#include "settings/GridLayoutTarget.h"

namespace settingstest {

struct TTestColumn {
  std::string Field;
  int Width = 64;
  bool Visible = true;
  bool operator==(const TTestColumn&) const = default;
};

class TTestGrid : public settings::TGridLayoutTarget {
 public:
  std::vector<TTestColumn> Columns;
  std::string Filter;
  std::string Summary;
  std::optional<std::vector<std::string>> DatasetFields;
  bool Mode = false;

  std::string SaveLayout() const override;
  void ApplyLayout(const std::string& layout) override;
  int ColumnCount() const override;
  std::string ColumnFieldName(int index) const override;
  void RemoveColumn(int index) override;
  bool HasDataset() const override;
  std::vector<std::string> DatasetFieldNames() const override;
  bool GridMode() const override;
  void SetGridMode(bool value) override;

  // Everything a restore may change, for before/after comparisons.
  std::string State() const;
};

}  // namespace settingstest
