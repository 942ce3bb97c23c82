#include "settings/LayoutDocument.h"

#include "settings/SettingsError.h"
#include "settings/TextFile.h"

namespace settings {

std::optional<QDomDocument> LoadLayoutDocument(const std::string& path) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  QDomDocument document;
  QString message;
  int line = 0, column = 0;
  if (!document.setContent(QByteArray::fromStdString(*bytes), &message, &line, &column))
    throw ESettingsError(path + " is not XML (line " + std::to_string(line) + ", column " +
                         std::to_string(column) + "): " + message.toStdString());
  return document;
}

QDomElement ChildElement(const QDomNode& parent, const QString& name) {
  for (QDomElement child = parent.firstChildElement(); !child.isNull();
       child = child.nextSiblingElement())
    if (child.tagName() == name) return child;
  return {};
}

QDomElement EnsureChildElement(QDomDocument& document, QDomNode& parent, const QString& name) {
  QDomElement child = ChildElement(parent, name);
  if (child.isNull()) child = parent.appendChild(document.createElement(name)).toElement();
  return child;
}

void SetElementText(QDomDocument& document, QDomElement& element, const QString& text) {
  while (element.hasChildNodes()) element.removeChild(element.firstChild());
  element.appendChild(document.createTextNode(text));
}

QDomElement EnsureBrowserRoot(QDomDocument& document) {
  QDomElement root = document.documentElement();
  if (root.isNull()) return document.appendChild(document.createElement("BROWSER")).toElement();
  if (root.tagName() != "BROWSER")
    throw ESettingsError("The layout file's root element is " + root.tagName().toStdString() +
                         ", not BROWSER");
  return root;
}

void SaveLayoutDocument(const QDomDocument& document, const std::string& path) {
  WriteFileReplacing(path, document.toByteArray(2).toStdString());
}

}  // namespace settings
