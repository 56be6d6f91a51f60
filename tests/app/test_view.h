#pragma once

#include <string>
#include <vector>

#include "program_view.h"
#include "test_main_loop.h"

namespace mokuro::test {

// The window as the program sees it, without a display: it keeps what it is told to show
// and answers every box at once. Tasks posted to the main thread go to the test's loop.
class TestView : public ProgramView {
 public:
  explicit TestView(TestMainLoop& loop) : loop_(loop) {}

  void ShowMemoText(const std::string& text) override {
    memo = text;
    ++memoShows;
  }
  void ShowCallerText(const std::string& text, CodePage page) override {
    caller = text;
    callerPage = page;
    ++callerShows;
  }
  void ShowAutoCheck(bool on) override { autoCheckShown = on; }
  void ShowWindow() override { ++shown; }
  void Beep() override { ++beeps; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowConfirmMessage(const std::string& text) override { confirms.push_back(text); }
  void ShowLastErrorMessage(const std::string& text) override { lastErrors.push_back(text); }
  void ShowErrorMessage(const std::string& text) override { errors.push_back(text); }
  void PostToMainThread(std::function<void()> task) override { loop_.Post(std::move(task)); }
  void StartTimer(int intervalMs) override {
    timerRunning = true;
    timerInterval = intervalMs;
    ++timerStarts;
  }
  void StopTimer() override { timerRunning = false; }
  void MoveWindow(int newLeft, int newTop) override {
    left = newLeft;
    top = newTop;
  }
  bool WindowCameUp() const override { return cameUp; }
  int WindowLeft() const override { return left; }
  int WindowTop() const override { return top; }

  std::string memo;
  std::string caller;
  CodePage callerPage = CodePage::Utf8;
  int memoShows = 0;
  int callerShows = 0;
  bool autoCheckShown = false;
  int shown = 0;
  int beeps = 0;
  std::vector<std::string> messages;
  std::vector<std::string> confirms;
  std::vector<std::string> lastErrors;
  std::vector<std::string> errors;
  bool timerRunning = false;
  int timerInterval = 0;
  int timerStarts = 0;
  bool cameUp = true;
  int left = 0;
  int top = 0;

 private:
  TestMainLoop& loop_;
};

}  // namespace mokuro::test
