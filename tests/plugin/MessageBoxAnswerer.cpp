#include "tests/plugin/MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

MessageBoxAnswerer::MessageBoxAnswerer() {
  timer_.setInterval(10);
  connect(&timer_, &QTimer::timeout, this, [this] { answerActiveBox(); });
  timer_.start();
}

void MessageBoxAnswerer::answerActiveBox() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible()) return;
  shown_.push_back({box->text(), box->windowTitle(), box->icon(),
                    box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)});
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  if (ok)
    ok->click();
  else
    box->reject();
}
