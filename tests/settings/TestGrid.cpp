#include "tests/settings/TestGrid.h"

#include <sstream>
#include <stdexcept>

namespace settingstest {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    parts.push_back(line.substr(start, tab - start));
  parts.push_back(line.substr(start));
  return parts;
}

int ParseNumber(const std::string& text) {
  std::size_t used = 0;
  int value = std::stoi(text, &used);
  if (used != text.size()) throw std::invalid_argument("not a number: " + text);
  return value;
}

}  // namespace

std::string TTestGrid::SaveLayout() const {
  std::string layout = "grid-layout 1\n";
  for (const TTestColumn& column : Columns)
    layout += "column\t" + column.Field + "\t" + std::to_string(column.Width) + "\t" +
              (column.Visible ? "1" : "0") + "\n";
  return layout + "filter\t" + Filter + "\nsummary\t" + Summary + "\n";
}

void TTestGrid::ApplyLayout(const std::string& layout) {
  std::istringstream lines(layout);
  std::string line;
  if (!std::getline(lines, line) || line != "grid-layout 1")
    throw std::runtime_error("not a grid layout");
  std::vector<TTestColumn> stored;
  std::string filter, summary;
  while (std::getline(lines, line)) {
    std::vector<std::string> parts = SplitTabs(line);
    if (parts[0] == "column" && parts.size() == 4)
      stored.push_back({parts[1], ParseNumber(parts[2]), parts[3] == "1"});
    else if (parts[0] == "filter" && parts.size() == 2)
      filter = parts[1];
    else if (parts[0] == "summary" && parts.size() == 2)
      summary = parts[1];
    else
      throw std::runtime_error("bad layout line: " + line);
  }
  // Everything read: now apply. Stored columns the grid lacks are not created.
  for (const TTestColumn& column : stored)
    for (TTestColumn& own : Columns)
      if (own.Field == column.Field) own = column;
  Filter = filter;
  Summary = summary;
}

int TTestGrid::ColumnCount() const { return static_cast<int>(Columns.size()); }

std::string TTestGrid::ColumnFieldName(int index) const { return Columns.at(static_cast<std::size_t>(index)).Field; }

void TTestGrid::RemoveColumn(int index) { Columns.erase(Columns.begin() + index); }

bool TTestGrid::HasDataset() const { return DatasetFields.has_value(); }

std::vector<std::string> TTestGrid::DatasetFieldNames() const { return DatasetFields.value_or(std::vector<std::string>()); }

bool TTestGrid::GridMode() const { return Mode; }

void TTestGrid::SetGridMode(bool value) { Mode = value; }

std::string TTestGrid::State() const { return SaveLayout() + (Mode ? "mode on" : "mode off"); }

}  // namespace settingstest
