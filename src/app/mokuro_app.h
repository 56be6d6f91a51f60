#pragma once

#include <memory>
#include <string>
#include <vector>

#include "call_monitor.h"
#include "charge_accounting.h"
#include "clock.h"
#include "comm_link.h"
#include "date_text.h"
#include "memo_text.h"
#include "plain_message_box.h"
#include "program_view.h"
#include "settings.h"

namespace mokuro {

// What the program is started with.
struct ProgramOptions {
  // The command line after the program's name, the program's own "--" options included.
  std::vector<std::string> arguments;
  // The folders of the settings file and of the user's other files, with their trailing
  // separators.
  std::string settingsDir;
  std::string dataDir;
  const Clock* clock = nullptr;
  DateFormats formats;
  // Start with the auto-check on, in place of a query asked for by a switch.
  bool autoCheck = false;
};

// The running program: its settings, phone book, port and charge records, and every rule
// of when the port is held, which command a query sends, where a reply goes and what is
// kept on disk. The window forwards its handlers here and shows what it is told to.
// Everything runs on the main thread; only the port's reader posts to it.
class MokuroApp : private MonitorWindow, private CommLinkHost, private ChargeHost, private PlainMessageBox {
 public:
  MokuroApp(ProgramView& view, ProgramOptions options);
  // Stops, if Start ran and Stop didn't.
  ~MokuroApp() override;
  MokuroApp(const MokuroApp&) = delete;
  MokuroApp& operator=(const MokuroApp&) = delete;

  // Start-up: settings, window position, phone book, port, the command line's query.
  void Start();
  // Shutdown: the settings saved, the port closed. Once only.
  void Stop();

  // Sets the kind of the query and sends its command; nothing waits for the reply.
  void IssueQuery(TQueryKind kind);
  // The window went to the tray (or the task bar): the port is left free for other
  // programs unless the auto-check needs it.
  void WindowHidden();
  // The window came back from the tray: the port again, and the incoming numbers asked for.
  void WindowRestored();
  void SetAutoCheck(bool on);
  bool AutoCheck() const { return autoCheck_; }
  // A tick of the auto-check timer.
  void Tick();
  // Writes the memo's text to "RxInfo.txt".
  void SaveMemo();

  // For the settings dialog, which changes them in place while replies go on being
  // processed; a new port and a new period go through the operations below.
  Settings& EditableSettings() { return FSettings; }
  void ChangePort(const std::string& portName);
  int TimerInterval() const { return FSettings.TimerInterval; }
  void SetTimerInterval(int intervalMs);

  // The phone book, and the editor's new lines.
  const TPhoneList& PhoneList() const { return FMonitor.PhoneList(); }
  void SetPhoneList(TPhoneList lines);

  std::string CallerText() const override;
  const std::string& MemoContents() const { return FMemo.Text(); }
  bool PortOpen() const { return FLink.FCommOpen; }
  const std::string& DataDir() const { return FOptions.dataDir; }
  const CallMonitor& Monitor() const { return FMonitor; }

 private:
  // MonitorWindow, CommLinkHost, ChargeHost.
  MemoText& Memo() override { return FMemo; }
  void SetCallerText(const std::string& text, CodePage page) override;
  void ShowWindow() override;
  void Beep() override;
  void ProcessCharge() override;
  void ShowConfirmMessage(const std::string& text) override;
  void ShowLastErrorMessage(const std::string& text) override;
  void PostToMainThread(std::function<void()> task) override;
  void DeliverResponse(const std::string& reply) override;
  void ShowMessage(const std::string& text) override;
  void IssueChargeClear() override;
  void SaveSettingsFile() override;
  std::string DateText(TDateTime date) const override;
  std::string DateTimeText(TDateTime dateTime) const override;

  void ApplyCommandLine();
  const std::string& CommandOf(TQueryKind kind) const;
  void OpenPort();
  std::string SettingsPath() const;

  ProgramView& view_;
  ProgramOptions FOptions;
  Settings FSettings;
  MemoText FMemo;
  std::string FCallerText;
  CodePage FCallerPage = CodePage::Utf8;
  CallMonitor FMonitor;
  ChargeAccounting FCharges;
  // Last, so that it goes first: no reader outlives what it delivers to.
  CommLink FLink;
  bool autoCheck_ = false;
  bool started_ = false;
  bool stopped_ = false;
};

}  // namespace mokuro
