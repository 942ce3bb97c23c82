#include "settings/UFormSave.h"

#include <QWidget>

#include "settings/FormPlacement.h"
#include "settings/IniDocument.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFileNames.h"
#include "settings/SettingsLocations.h"

namespace settings {
namespace {

std::string SectionOf(const std::string& name) { return "FORM_" + name; }

TFormPlacement ReadPlacement(const TIniDocument& document, const std::string& section) {
  if (!document.SectionIsWellFormed(section))
    throw ESettingsError("Section " + section + " of the settings file is damaged");
  TFormPlacement stored;
  stored.ScrWidth = document.ReadInteger(section, "ScrWidth", 0);
  stored.ScrHeight = document.ReadInteger(section, "ScrHeight", 0);
  stored.WindowState = document.ReadInteger(section, "WindowState", 0);
  stored.Width = document.ReadInteger(section, "Width", 0);
  stored.Height = document.ReadInteger(section, "Height", 0);
  stored.Left = document.ReadInteger(section, "Left", 0);
  stored.Top = document.ReadInteger(section, "Top", 0);
  return stored;
}

}  // namespace

std::string SettingsIniPath(const std::string& fileName) {
  if (fileName.find_first_not_of(" \t\r\n") != std::string::npos) return fileName;
  return GetDefaultSettingsFolder() + ChangeFileExt(ExtractFileName(ExecutablePath()), ".ini");
}

void SaveFormPlacement(const QWidget& window, const std::string& name, const std::string& fileName) {
  std::string path = SettingsIniPath(fileName);
  TIniDocument document = TIniDocument::LoadFromFile(path);
  TFormPlacement now = PlacementOf(window);
  std::string section = SectionOf(name);
  document.DropMalformedLines(section);  // our own section: repair it rather than keep the damage
  document.WriteInteger(section, "ScrWidth", now.ScrWidth);
  document.WriteInteger(section, "ScrHeight", now.ScrHeight);
  document.WriteInteger(section, "WindowState", now.WindowState);
  document.WriteInteger(section, "Width", now.Width);
  document.WriteInteger(section, "Height", now.Height);
  document.WriteInteger(section, "Left", now.Left);
  document.WriteInteger(section, "Top", now.Top);
  document.SaveToFile(path);
}

void RestoreFormPlacement(QWidget& window, const std::string& name, const std::string& fileName) {
  TIniDocument document = TIniDocument::LoadFromFile(SettingsIniPath(fileName));
  std::string section = SectionOf(name);
  if (!document.SectionExists(section)) return;
  TFormPlacement stored = ReadPlacement(document, section);
  QSize screen = CurrentScreenSize(window);
  // Saved on a screen of another size: only when both dimensions differ.
  if (stored.ScrWidth != screen.width() && stored.ScrHeight != screen.height()) return;
  ApplyPlacement(window, stored);
}

}  // namespace settings
