#include "message_boxes.h"

#include <QMessageBox>

#include "event_log.h"

namespace mokuro {
namespace {

// Texts in the program's sources are UTF-8.
void Show(QWidget* owner, QMessageBox::Icon icon, const char* caption, const std::string& text) {
  LogEvent(std::string("message box ") + caption + ": " + EscapeForLog(text));
  QMessageBox box(icon, QString::fromUtf8(caption), QString::fromUtf8(text.c_str()), QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace

void QtPlainMessageBox::ShowMessage(const std::string& text) {
  Show(owner_, QMessageBox::NoIcon, kApplicationTitle, text);
}

void ShowConfirmBox(QWidget* owner, const std::string& text) { Show(owner, QMessageBox::NoIcon, "確認", text); }

void ShowLastErrorBox(const std::string& text) { Show(nullptr, QMessageBox::Information, "GetLastError", text); }

void ShowErrorBox(const std::string& text) { Show(nullptr, QMessageBox::Critical, kApplicationTitle, text); }

}  // namespace mokuro
