#pragma once

#include <string>

#include "code_page.h"
#include "memo_text.h"

namespace mokuro {

// What the call monitor needs of the main window.
class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;
  virtual MemoText& Memo() = 0;
  virtual std::string CallerText() const = 0;
  // The caller's number or name, with the code page it is shown in.
  virtual void SetCallerText(const std::string& text, CodePage page) = 0;
  // Brings the window up, from the tray too.
  virtual void ShowWindow() = 0;
  virtual void Beep() = 0;
  // The charge steps for a charge reply that is already in the memo.
  virtual void ProcessCharge() = 0;
};

}  // namespace mokuro
