#include "settings/UGridUtils.h"

#include <QString>

#include <algorithm>
#include <charconv>

#include "settings/Base64Codec.h"
#include "settings/LayoutDocument.h"
#include "settings/SettingsError.h"
#include "settings/SettingsLocations.h"

namespace settings {
namespace {

// The stored entry of one grid, read whole before anything is applied.
struct TStoredLayout {
  std::string Layout;
  bool GridMode = false;
};

bool ParseGridMode(const QString& text) {
  std::string digits = text.trimmed().toStdString();
  std::string_view view = digits;
  if (!view.empty() && view.front() == '+') view.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
  if (view.empty() || error != std::errc() || end != view.data() + view.size())
    throw ESettingsError("GRIDMODE is not a number: " + digits);
  return value != 0;
}

TStoredLayout ReadStoredLayout(const QDomElement& gridElement) {
  QDomElement layout = ChildElement(gridElement, "LAYOUT");
  QDomElement mode = ChildElement(gridElement, "GRIDMODE");
  if (layout.isNull() || mode.isNull())
    throw ESettingsError("The layout of " + gridElement.tagName().toStdString() + " is incomplete");
  return {Base64Decode(layout.text().toStdString()), ParseGridMode(mode.text())};
}

}  // namespace

std::string GridLayoutPath(const std::string& fileName) {
  return fileName.empty() ? GetDefaultSettingsFolder() + "Browser.xml" : fileName;
}

std::string GridElementName(const std::string& key) {
  return "GRID_" + std::to_string(GridKeyHash(key));
}

void SaveGridLayout(const TGridLayoutTarget& grid, const std::string& key, const std::string& fileName) {
  std::string path = GridLayoutPath(fileName);
  QString elementName = QString::fromStdString(GridElementName(key));
  std::string layout = grid.SaveLayout();
  QDomDocument document = LoadLayoutDocument(path).value_or(QDomDocument());
  QDomElement root = EnsureBrowserRoot(document);
  QDomElement gridElement = EnsureChildElement(document, root, elementName);
  QDomElement layoutElement = EnsureChildElement(document, gridElement, "LAYOUT");
  SetElementText(document, layoutElement, QString::fromStdString(Base64Encode(layout)));
  QDomElement modeElement = EnsureChildElement(document, gridElement, "GRIDMODE");
  SetElementText(document, modeElement, grid.GridMode() ? "1" : "0");
  SaveLayoutDocument(document, path);
}

bool RestoreGridLayout(TGridLayoutTarget& grid, const std::string& key, const std::string& fileName) {
  std::optional<QDomDocument> document = LoadLayoutDocument(GridLayoutPath(fileName));
  if (!document) return false;
  QDomElement root = document->documentElement();
  if (root.isNull() || root.tagName() != "BROWSER") return false;
  QDomElement gridElement = ChildElement(root, QString::fromStdString(GridElementName(key)));
  if (gridElement.isNull()) return false;
  TStoredLayout stored = ReadStoredLayout(gridElement);
  grid.ApplyLayout(stored.Layout);
  RemoveUnboundColumns(grid);
  grid.SetGridMode(stored.GridMode);
  return grid.ColumnCount() > 0;
}

void RemoveUnboundColumns(TGridLayoutTarget& grid) {
  if (!grid.HasDataset()) return;
  std::vector<std::string> fields = grid.DatasetFieldNames();
  auto isField = [&](const std::string& name) {
    QString wanted = QString::fromStdString(name);
    return std::any_of(fields.begin(), fields.end(), [&](const std::string& field) {
      return QString::fromStdString(field).compare(wanted, Qt::CaseInsensitive) == 0;
    });
  };
  for (int i = grid.ColumnCount() - 1; i >= 0; --i) {
    std::string name = grid.ColumnFieldName(i);
    if (name.empty() || !isField(name)) grid.RemoveColumn(i);
  }
}

}  // namespace settings
