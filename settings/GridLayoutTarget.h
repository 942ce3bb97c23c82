#pragma once
// What the layout store needs of a data grid. The Qt data grid implements it; the layout
// bytes are the grid's own format, read back only by the same grid.
#include <string>
#include <vector>

namespace settings {

class TGridLayoutTarget {
 public:
  virtual ~TGridLayoutTarget() = default;

  // The grid's layout, with its filter and summary settings, as bytes.
  virtual std::string SaveLayout() const = 0;
  // Applies bytes from SaveLayout, filter and summary included: columns the layout does not
  // name stay visible, columns it names that the grid lacks are not created. All or nothing:
  // bytes it cannot read throw and leave the grid as it was.
  virtual void ApplyLayout(const std::string& layout) = 0;

  virtual int ColumnCount() const = 0;
  // The name of the field that column index shows; empty for an unbound column.
  virtual std::string ColumnFieldName(int index) const = 0;
  // Removes and destroys column index.
  virtual void RemoveColumn(int index) = 0;

  // Whether the grid is bound to a dataset, and the names of that dataset's fields.
  virtual bool HasDataset() const = 0;
  virtual std::vector<std::string> DatasetFieldNames() const = 0;

  // The GridMode setting of the grid's data binding.
  virtual bool GridMode() const = 0;
  virtual void SetGridMode(bool value) = 0;
};

}  // namespace settings
