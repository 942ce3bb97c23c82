#include "settings/SettingsFileNames.h"

#include "settings/ModulePath.h"
#include "settings/SettingsLocations.h"

namespace settings {

std::string ExtractFileName(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  std::size_t slash = path.find_last_of('/');
  std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return path + extension;
  return path.substr(0, dot) + extension;
}

TSettingsFileNames SettingsFileNamesFor(const std::string& folder, const std::string& modulePath) {
  TSettingsFileNames names;
  names.SettingsFile = folder + ChangeFileExt(ExtractFileName(modulePath), ".ini");
  names.LayoutFile = ChangeFileExt(names.SettingsFile, "_browser.xml");
  return names;
}

TSettingsFileNames MakeSettingsFileNames() {
  return SettingsFileNamesFor(GetSettingsFolder("Tabrel Store UX"), GetModulePath("morvel.ini"));
}

}  // namespace settings
