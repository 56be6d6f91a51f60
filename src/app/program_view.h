#pragma once

#include <functional>
#include <string>

#include "code_page.h"

namespace mokuro {

// What the running program needs of its window: showing, boxes, the main thread and the
// timer. Every rule stays with the program; the window only displays and wires.
class ProgramView {
 public:
  virtual ~ProgramView() = default;

  // The memo and the caller field, each called only when their text has changed. The
  // caller is shown in the code page of where it came from.
  virtual void ShowMemoText(const std::string& text) = 0;
  virtual void ShowCallerText(const std::string& text, CodePage page) = 0;
  // The auto-check's box, and the query buttons, which are for the user only while it is off.
  virtual void ShowAutoCheck(bool on) = 0;
  // Brings the window up, from the tray too.
  virtual void ShowWindow() = 0;
  virtual void Beep() = 0;

  // Modal boxes; each returns when the user has closed it. A plain box: the application
  // title as caption, an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // Port problems: owned by the window, caption "確認".
  virtual void ShowConfirmMessage(const std::string& text) = 0;
  // The system's text for an error: no owner, caption "GetLastError".
  virtual void ShowLastErrorMessage(const std::string& text) = 0;
  // A file that can't be written.
  virtual void ShowErrorMessage(const std::string& text) = 0;

  // From any thread: queue the task to run on the main thread, return at once.
  virtual void PostToMainThread(std::function<void()> task) = 0;

  // The auto-check timer: ticks every `intervalMs` (none when 0 or less) until stopped.
  virtual void StartTimer(int intervalMs) = 0;
  virtual void StopTimer() = 0;

  // Where the window is: from the settings file at start, back into it at the end. A
  // window that never came up (the program ended under a start-up box) has no position
  // of its own.
  virtual void MoveWindow(int left, int top) = 0;
  virtual bool WindowCameUp() const = 0;
  virtual int WindowLeft() const = 0;
  virtual int WindowTop() const = 0;
};

}  // namespace mokuro
