#pragma once
// Where the module keeps its per-user settings files. Paths are UTF-8 text; folders end in "/".
#include <string>

namespace settings {

// Process-wide switch, on when the module starts: while on, settings live in the folder of the
// running executable; the conversion window turns it off so that they live per user.
bool UseExeFolder();
void SetUseExeFolder(bool value);

// The user's configuration folder: $XDG_CONFIG_HOME when set (and absolute), else
// $HOME/.config; empty when neither is known. No separator is added.
std::string GetAppDataFolder();

// Path with "/" appended unless it is empty or already ends with one.
std::string AddTrailingBackslash(const std::string& path);

// The settings folder for appName (created with its parents when missing; a failure to create
// it is not reported). With UseExeFolder on: the executable's folder, nothing created. A blank
// appName stands for the application's title.
std::string GetSettingsFolder(const std::string& appName);
std::string GetDefaultSettingsFolder();

// Full path of the running executable (from /proc/self/exe); empty when unknown.
std::string ExecutablePath();

// The application's title: the Qt application name when there is one, else the program name.
std::string ApplicationTitle();

}  // namespace settings
