#include "settings/FormPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "settings/SettingsError.h"

namespace settings {
namespace {

constexpr Qt::WindowStates kShownStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

int StateCode(Qt::WindowStates state) {
  if (state & Qt::WindowMinimized) return wsCodeMinimized;
  if (state & Qt::WindowMaximized) return wsCodeMaximized;
  return wsCodeNormal;
}

void ApplyState(QWidget& window, int code) {
  Qt::WindowStates others = window.windowState() & ~kShownStates;
  switch (code) {
    case wsCodeNormal: window.setWindowState(others); break;
    case wsCodeMinimized: window.setWindowState(others | Qt::WindowMinimized); break;
    case wsCodeMaximized: window.setWindowState(others | Qt::WindowMaximized); break;
    default: break;  // unknown codes keep the state the window has
  }
}

}  // namespace

QSize CurrentScreenSize(const QWidget& window) {
  QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) throw ESettingsError("There is no screen");
  return screen->size();
}

TFormPlacement PlacementOf(const QWidget& window) {
  QSize screen = CurrentScreenSize(window);
  QRect frame = window.frameGeometry();
  return {screen.width(), screen.height(), StateCode(window.windowState()),
          frame.width(), frame.height(), frame.x(), frame.y()};
}

void ApplyPlacement(QWidget& window, const TFormPlacement& placement) {
  ApplyState(window, placement.WindowState);
  if (window.windowState() & Qt::WindowMaximized) return;
  // The stored size is the outer one; the frame the window manager adds comes off it.
  QSize frameExtra = window.frameGeometry().size() - window.geometry().size();
  window.move(placement.Left, placement.Top);
  window.resize(placement.Width - frameExtra.width(), placement.Height - frameExtra.height());
}

}  // namespace settings
