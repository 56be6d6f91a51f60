#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "charge_accounting.h"

namespace mokuro::test {

// A main window without a display for the charge steps: it records the messages and the
// clear commands, and writes dates as yyyy/MM/dd and times as H:mm:ss.
class TestChargeHost : public ChargeHost {
 public:
  MemoText& Memo() override { return memo; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void IssueChargeClear() override {
    ++clearCommands;
    if (onClear) onClear();
  }
  void SaveSettingsFile() override {
    ++settingsSaves;
    if (onSave) onSave();
  }
  std::string DateText(TDateTime date) const override {
    const CalendarDate d = DecodeDate(date);
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", d.year, d.month, d.day);
    return text;
  }
  std::string DateTimeText(TDateTime dateTime) const override {
    const TimeOfDay t = DecodeTime(dateTime);
    if (t.hour == 0 && t.minute == 0 && t.second == 0) return DateText(dateTime);
    char time[16];
    std::snprintf(time, sizeof time, " %d:%02d:%02d", t.hour, t.minute, t.second);
    return DateText(dateTime) + time;
  }

  MemoText memo;
  std::vector<std::string> messages;
  int clearCommands = 0;
  std::function<void()> onClear;
  int settingsSaves = 0;
  std::function<void()> onSave;
};

}  // namespace mokuro::test
