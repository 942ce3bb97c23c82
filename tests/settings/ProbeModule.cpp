// A module that answers, from inside itself, what the settings code sees there.
#include <cstring>
#include <string>

#include "settings/ModulePath.h"
#include "settings/SettingsFileNames.h"
#include "settings/SettingsLocations.h"
#include "settings/VersionText.h"

namespace {

std::string Answer(int what) {
  switch (what) {
    case 0: return settings::GetModulePath("morvel.ini");
    case 1: return settings::GetVersionText("");
    case 2:
      settings::SetUseExeFolder(false);
      return settings::MakeSettingsFileNames().SettingsFile;
    case 3:
      settings::SetUseExeFolder(false);
      return settings::MakeSettingsFileNames().LayoutFile;
    default: return "";
  }
}

}  // namespace

// Copies answer `what` into buffer; returns its length, or -1 when it does not fit.
extern "C" __attribute__((visibility("default"))) int ProbeAnswer(int what, char* buffer, int size) {
  std::string text = Answer(what);
  if (static_cast<int>(text.size()) >= size) return -1;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}
