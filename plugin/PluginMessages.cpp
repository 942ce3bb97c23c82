#include "plugin/PluginMessages.h"

#include <QApplication>

namespace plugin {

void ShowPluginMessage(const char* text, QMessageBox::Icon icon, bool stayOnTop) {
  QMessageBox box(icon, QString::fromUtf8(kCaptionAttention), QString::fromUtf8(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName("PluginMessage");
  if (stayOnTop) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box.exec();
}

}  // namespace plugin
