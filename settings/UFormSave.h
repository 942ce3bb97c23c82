#pragma once
// A window's size, position and state, kept in section "FORM_" + name of an ini file and put
// back when the window is shown again. Errors are thrown (ESettingsError); the window's own
// guard decides to ignore them.
#include <string>

class QWidget;

namespace settings {

// fileName unless it is blank; else the executable's name with ".ini" in the default settings
// folder.
std::string SettingsIniPath(const std::string& fileName);

// Writes ScrWidth, ScrHeight, WindowState, Width, Height, Left and Top (in that order) of
// window into the section of name, keeping everything else of the file.
void SaveFormPlacement(const QWidget& window, const std::string& name, const std::string& fileName);

// Applies the stored placement when the file holds the section of name and one of the stored
// screen dimensions equals the current one. Every value is read before anything is applied, so
// a damaged section changes nothing. Never writes the file.
void RestoreFormPlacement(QWidget& window, const std::string& name, const std::string& fileName);

}  // namespace settings
