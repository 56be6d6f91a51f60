#pragma once

#include <string>

namespace mokuro {

// A modal box with the text, an OK button and the application title as caption.
// It returns when the user has closed it.
class PlainMessageBox {
 public:
  virtual ~PlainMessageBox() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace mokuro
