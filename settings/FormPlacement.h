#pragma once
// The seven values of a window's placement and how they are taken from and given to a window.
#include <QSize>

class QWidget;

namespace settings {

// WindowState codes of the settings file.
enum TWindowStateCode { wsCodeNormal = 1, wsCodeMinimized = 2, wsCodeMaximized = 3 };

struct TFormPlacement {
  int ScrWidth = 0;
  int ScrHeight = 0;
  int WindowState = 0;
  int Width = 0;
  int Height = 0;
  int Left = 0;
  int Top = 0;
};

// The size of the screen the window is on (the primary screen when it is on none yet).
// Throws ESettingsError when the system has no screen at all.
QSize CurrentScreenSize(const QWidget& window);

// The window's placement now: its outer frame in screen pixels and its state.
TFormPlacement PlacementOf(const QWidget& window);

// Sets the state from a WindowState code (other codes leave it) and then, unless the window is
// maximised, its outer frame.
void ApplyPlacement(QWidget& window, const TFormPlacement& placement);

}  // namespace settings
