#include "settings/SettingsLocations.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace settings {
namespace {

bool useExeFolder = true;

std::string EnvText(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

bool UseExeFolder() { return useExeFolder; }

void SetUseExeFolder(bool value) { useExeFolder = value; }

std::string GetAppDataFolder() {
  // XDG: a relative XDG_CONFIG_HOME is invalid and must be ignored.
  std::string xdg = EnvText("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg.front() == '/') return xdg;
  std::string home = EnvText("HOME");
  if (home.empty()) return "";
  return AddTrailingBackslash(home) + ".config";
}

std::string AddTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '/') return path;
  return path + "/";
}

std::string ExecutablePath() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.string();
}

std::string ApplicationTitle() {
  if (QCoreApplication::instance()) {
    std::string name = QCoreApplication::applicationName().toStdString();
    if (!name.empty()) return name;
  }
  return program_invocation_short_name;
}

std::string GetSettingsFolder(const std::string& appName) {
  if (UseExeFolder()) {
    std::string exe = ExecutablePath();
    return AddTrailingBackslash(exe.substr(0, exe.find_last_of('/') + 1));
  }
  std::string name = IsBlank(appName) ? ApplicationTitle() : appName;
  std::string folder = AddTrailingBackslash(AddTrailingBackslash(GetAppDataFolder()) + name);
  std::error_code ignored;  // a folder we cannot create shows up when its file is written
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

std::string GetDefaultSettingsFolder() { return GetSettingsFolder(""); }

}  // namespace settings
