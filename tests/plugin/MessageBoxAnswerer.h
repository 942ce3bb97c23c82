#pragma once
// Answers the message boxes a call shows, recording what each one said.
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

struct ShownMessage {
  QString text;
  QString caption;
  QMessageBox::Icon icon;
  bool stayOnTop;
};

class MessageBoxAnswerer : public QObject {
 public:
  MessageBoxAnswerer();
  const std::vector<ShownMessage>& Shown() const { return shown_; }

 private:
  void answerActiveBox();

  QTimer timer_;
  std::vector<ShownMessage> shown_;
};
