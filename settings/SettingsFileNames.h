#pragma once
// The two settings files of the conversion window: placement (ini) and grid layouts (XML).
#include <string>

namespace settings {

struct TSettingsFileNames {
  std::string SettingsFile;  // e.g. ".../Tabrel Store UX/morvel.ini"
  std::string LayoutFile;    // e.g. ".../Tabrel Store UX/morvel_browser.xml"
};

// The part of path after its last "/".
std::string ExtractFileName(const std::string& path);

// path with the extension of its file name (from the last "." after the last "/") replaced by
// extension; a file name without one gets extension appended.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// The names for a settings folder (ending in "/") and the module's file path.
TSettingsFileNames SettingsFileNamesFor(const std::string& folder, const std::string& modulePath);

// The names of this module: folder "Tabrel Store UX" of the settings folder, base name of
// GetModulePath("morvel.ini"). The caller turns UseExeFolder off first. Creates the folder.
TSettingsFileNames MakeSettingsFileNames();

}  // namespace settings
