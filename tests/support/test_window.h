#pragma once

#include <string>

#include "monitor_window.h"

namespace mokuro::test {

// A main window without a display: it keeps what the monitor writes and counts the rest.
class TestWindow : public MonitorWindow {
 public:
  MemoText& Memo() override { return memo; }
  std::string CallerText() const override { return caller; }
  void SetCallerText(const std::string& text, CodePage page) override {
    caller = text;
    callerPage = page;
    ++callerSets;
  }
  void ShowWindow() override { ++shown; }
  void Beep() override { ++beeps; }
  void ProcessCharge() override { ++charges; }

  MemoText memo;
  std::string caller = "(untouched)";
  CodePage callerPage = CodePage::Utf8;
  int shown = 0;
  int beeps = 0;
  int charges = 0;
  int callerSets = 0;
};

}  // namespace mokuro::test
