#pragma once

#include <string>

#include "plain_message_box.h"

class QWidget;

namespace mokuro {

inline constexpr const char* kApplicationTitle = "Mokuro";

// A modal box with the text, an OK button and the application title as caption.
class QtPlainMessageBox final : public PlainMessageBox {
 public:
  explicit QtPlainMessageBox(QWidget* owner = nullptr) : owner_(owner) {}
  void ShowMessage(const std::string& text) override;

 private:
  QWidget* owner_;
};

// Port problems: owned by the main window, caption "確認", an OK button.
void ShowConfirmBox(QWidget* owner, const std::string& text);
// The system's text for an error: no owner, caption "GetLastError", the information icon.
void ShowLastErrorBox(const std::string& text);
// An error that escaped a handler: the program reports it and goes on.
void ShowErrorBox(const std::string& text);

}  // namespace mokuro
