#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace mokuro::test {

// Answers the program's message boxes as a user would: each one that opens is recorded
// (caption and text) and closed with OK. Other modal dialogs are handed to `onDialog`.
class ModalWatcher {
 public:
  struct Box {
    std::string caption;
    std::string text;
  };

  ModalWatcher() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
    timer_.start();
  }

  // Called with each modal widget that isn't a message box, while it is open.
  std::function<void(QWidget*)> onDialog;
  std::vector<Box> boxes;

  // Serves events until `done` holds; false when the deadline passed first.
  static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
  }

 private:
  void Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
      box->accept();
    } else if (onDialog) {
      onDialog(modal);
    }
  }

  QTimer timer_;
};

}  // namespace mokuro::test
