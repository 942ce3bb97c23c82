#pragma once
// The grid layout file as a DOM document: root BROWSER, one GRID_n element per grid holding
// LAYOUT and GRIDMODE.
#include <QDomDocument>
#include <QDomElement>
#include <optional>
#include <string>

namespace settings {

// The parsed file, or nothing when it does not exist. Throws ESettingsError when it cannot be
// read or is not XML.
std::optional<QDomDocument> LoadLayoutDocument(const std::string& path);

// The first child element of parent named name; a null element when there is none.
QDomElement ChildElement(const QDomNode& parent, const QString& name);
// The same, added at the end of parent when missing.
QDomElement EnsureChildElement(QDomDocument& document, QDomNode& parent, const QString& name);
// Replaces everything under element by one text.
void SetElementText(QDomDocument& document, QDomElement& element, const QString& text);

// The BROWSER root of the document, added when the document is empty. Throws ESettingsError
// when the document has another root: XML allows only one.
QDomElement EnsureBrowserRoot(QDomDocument& document);

// Replaces the file whole; throws ESettingsError when it cannot be written.
void SaveLayoutDocument(const QDomDocument& document, const std::string& path);

}  // namespace settings
