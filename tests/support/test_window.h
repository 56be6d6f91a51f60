#pragma once

#include <string>

#include "monitor_window.h"

namespace mokuro::test {

// A main window without a display: it keeps what the monitor writes and counts the rest.
class TestWindow : public MonitorWindow {
 public:
  MemoText& Memo() override { return memo; }
  std::string CallerText() const override { return caller; }
  void SetCallerText(const std::string& text) override {
    caller = text;
    ++callerSets;
  }
  void ShowWindow() override { ++shown; }
  void Beep() override { ++beeps; }
  void ProcessCharge() override { ++charges; }

  MemoText memo;
  std::string caller = "(untouched)";
  int shown = 0;
  int beeps = 0;
  int charges = 0;
  int callerSets = 0;
};

}  // namespace mokuro::test
