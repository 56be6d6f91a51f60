#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "call_monitor.h"
#include "charge_accounting.h"
#include "clock.h"
#include "comm_link.h"
#include "date_text.h"
#include "interval_timer.h"
#include "memo_text.h"
#include "message_boxes.h"
#include "settings.h"
#include "tray_icon.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mokuro {

// What the main window is started with.
struct MainFormOptions {
  // The command line after the program's name, the program's own "--" options included.
  std::vector<std::string> arguments;
  // The folder of the user's files, with its trailing separator.
  std::string dataDir;
  const Clock* clock = nullptr;
  DateFormats formats;
  // Start with the auto-check on, in place of a query asked for by a switch.
  bool autoCheck = false;
};

// The program's one window. It owns all state; the monitor, the link and the charge
// accounting are its parts and reach it through the interfaces it implements.
class TMainForm : public QWidget, public MonitorWindow, public CommLinkHost, public ChargeHost {
 public:
  explicit TMainForm(MainFormOptions options);
  ~TMainForm() override;

  void FormCreate();
  void FormDestroy();

  // Handlers.
  void HideBtnClick();
  void TrayIcon1MouseDown();
  void TimerCkbClick();
  void Timer1Timer();
  void ChargeBtnClick();
  void DialInfoBtnClick();
  void RxInfoBtnClick();
  void Memo1MouseDown(Qt::KeyboardModifiers modifiers);
  void ExitBtnClick();
  void PhoneListBtnClick();
  void OptionBtnClick();
  void HelpBtnClick();
  void AboutBtnClick();

  // Sets the kind of the query and sends its command; nothing waits for the reply.
  void IssueQuery(TQueryKind kind);
  void ProcessResponse() { FMonitor.ProcessResponse(); }
  void ShowCaller() { FMonitor.ShowCaller(); }
  // Visible and not minimised: the state in which a tray click does nothing.
  bool WindowShown() const;
  CallMonitor& Monitor() { return FMonitor; }
  CommLink& Link() { return *FLink; }

  // MonitorWindow, CommLinkHost, ChargeHost.
  MemoText& Memo() override { return FMemo; }
  std::string CallerText() const override;
  void SetCallerText(const std::string& text) override;
  void ShowWindow() override;
  void Beep() override;
  void ProcessCharge() override { FCharges.ProcessCharge(); }
  void ShowConfirmMessage(const std::string& text) override;
  void ShowLastErrorMessage(const std::string& text) override;
  void PostToMainThread(std::function<void()> task) override;
  void DeliverResponse(const std::string& reply) override;
  void ShowMessage(const std::string& text) override { FMessages.ShowMessage(text); }
  void IssueChargeClear() override { IssueQuery(qkChrgClr); }
  std::string DateText(TDateTime date) const override;
  std::string DateTimeText(TDateTime dateTime) const override;

  // Controls.
  QLabel* Label1;
  QLineEdit* CallerEdit;
  QCheckBox* TimerCkb;
  QPlainTextEdit* Memo1;
  QWidget* Panel1;
  QPushButton* HideBtn;
  QPushButton* ChargeBtn;
  QPushButton* DialInfoBtn;
  QPushButton* RxInfoBtn;
  QPushButton* PhoneListBtn;
  QPushButton* OptionBtn;
  QPushButton* HelpBtn;
  QPushButton* AboutBtn;
  QPushButton* ExitBtn;
  IntervalTimer* Timer1;
  TTrayIcon* TrayIcon1;

  // State.
  Settings FSettings;
  static constexpr std::int32_t FBaudRate = CommLink::FBaudRate;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ShowMemoText();
  void ApplyCommandLine();
  // Back from the tray: the port again, and the incoming numbers asked for.
  void Restored();
  std::string SettingsPath() const;

  MainFormOptions FOptions;
  MemoText FMemo;
  QtPlainMessageBox FMessages;
  CallMonitor FMonitor;
  ChargeAccounting FCharges;
  // Last, so that it goes first: no reader outlives what it delivers to.
  std::unique_ptr<CommLink> FLink;
  std::string FCallerText;
  bool FDestroyed = false;
  // A window that never came up (the program ended under a start-up box) has no position
  // of its own: the stored one is kept.
  bool FShownOnce = false;
  // Hidden by minimising, where there is no tray: coming back from the task bar is then
  // what a tray click would be.
  bool FMinimisedByHide = false;
};

// The program's one main window while it exists.
extern TMainForm* MainForm;

}  // namespace mokuro
