#include "mokuro_app.h"

#include "event_log.h"
#include "phone_list.h"
#include "settings_store.h"

namespace mokuro {

MokuroApp::MokuroApp(ProgramView& view, ProgramOptions options)
    : view_(view),
      FOptions(std::move(options)),
      FMonitor(*this),
      FCharges(*this, FSettings, *FOptions.clock, FOptions.dataDir),
      FLink(*this) {
  FMemo.SetOnChange([this] { view_.ShowMemoText(FMemo.Text()); });
}

MokuroApp::~MokuroApp() {
  if (started_) Stop();
}

void MokuroApp::Start() {
  started_ = true;
  LoadSettings(SettingsPath(), FSettings, FOptions.formats, *FOptions.clock);
  view_.MoveWindow(FSettings.Left, FSettings.Top);
  TPhoneList book;
  LoadPhoneBook(FOptions.dataDir, book, *this);
  SetPhoneList(std::move(book));
  OpenPort();
  // Only one query at start: a second would go out before the first one's reply is in.
  if (FOptions.autoCheck) {
    SetAutoCheck(true);
  } else {
    ApplyCommandLine();
  }
}

void MokuroApp::Stop() {
  if (stopped_) return;
  stopped_ = true;
  SetPhoneList({});
  SaveSettingsFile();
  if (FLink.FCommOpen) FLink.CloseComm();
}

// The first argument that is not one of the program's own "--" options may ask for one
// query: /c, /d or /r, by its second character in either case.
void MokuroApp::ApplyCommandLine() {
  for (const std::string& argument : FOptions.arguments) {
    if (argument.starts_with("--")) continue;
    if (argument.size() < 2 || argument[0] != '/') return;
    switch (argument[1]) {
      case 'c': case 'C': IssueQuery(qkCharge); break;
      case 'd': case 'D': IssueQuery(qkDialInfo); break;
      case 'r': case 'R': IssueQuery(qkRxInfo); break;
      default: break;
    }
    return;
  }
}

const std::string& MokuroApp::CommandOf(TQueryKind kind) const {
  switch (kind) {
    case qkCharge: return FSettings.FATCharge;
    case qkDialInfo: return FSettings.FATDialInfo;
    case qkRxInfo:
    case qkAutoCheck: return FSettings.FATRxInfo;
    case qkChrgClr: break;
  }
  return FSettings.FATChrgClr;
}

void MokuroApp::IssueQuery(TQueryKind kind) {
  const std::string& command = CommandOf(kind);
  FMonitor.QuerySent(kind, command);
  FLink.SendCommand(command);
}

void MokuroApp::OpenPort() { FLink.OpenComm(FSettings.FPortName, CommLink::FBaudRate); }

void MokuroApp::WindowHidden() {
  LogEvent("window hidden");
  if (!autoCheck_ && FLink.FCommOpen) FLink.CloseComm();
}

void MokuroApp::WindowRestored() {
  if (!autoCheck_ && !FLink.FCommOpen) OpenPort();
  IssueQuery(qkRxInfo);
}

void MokuroApp::SetAutoCheck(bool on) {
  autoCheck_ = on;
  view_.ShowAutoCheck(on);
  if (on) {
    view_.StartTimer(FSettings.TimerInterval);
  } else {
    view_.StopTimer();
  }
  LogEvent(on ? "auto-check on" : "auto-check off");
  if (on) IssueQuery(qkRxInfo);
}

void MokuroApp::Tick() {
  // A device that went away comes back on a tick, without a box per tick.
  if (!FLink.FCommOpen) FLink.RetryOpenComm(FSettings.FPortName, CommLink::FBaudRate);
  IssueQuery(qkAutoCheck);
}

void MokuroApp::SetTimerInterval(int intervalMs) {
  FSettings.TimerInterval = intervalMs;
  // A new period starts at once.
  if (autoCheck_) view_.StartTimer(intervalMs);
}

void MokuroApp::ChangePort(const std::string& portName) {
  if (FLink.FCommOpen) FLink.CloseComm();
  FSettings.FPortName = portName;
  OpenPort();
}

void MokuroApp::SetPhoneList(TPhoneList lines) { FMonitor.SetPhoneList(std::move(lines)); }

void MokuroApp::SaveMemo() {
  const std::string path = FOptions.dataDir + "RxInfo.txt";
  if (FMemo.WriteToFile(path)) {
    view_.ShowErrorMessage(path + " に書き込めません");
    return;
  }
  LogEvent("memo written to " + path);
}

std::string MokuroApp::SettingsPath() const { return FOptions.settingsDir + kSettingsFileName; }

void MokuroApp::SaveSettingsFile() {
  if (view_.WindowCameUp()) {
    FSettings.Left = view_.WindowLeft();
    FSettings.Top = view_.WindowTop();
  }
  if (const auto error = SaveSettings(SettingsPath(), FSettings, FOptions.formats)) view_.ShowErrorMessage(*error);
}

std::string MokuroApp::CallerText() const { return FCallerText; }

void MokuroApp::SetCallerText(const std::string& text, CodePage page) {
  if (text == FCallerText && page == FCallerPage) return;
  FCallerText = text;
  FCallerPage = page;
  view_.ShowCallerText(text, page);
}

void MokuroApp::ShowWindow() { view_.ShowWindow(); }
void MokuroApp::Beep() { view_.Beep(); }
void MokuroApp::ProcessCharge() { FCharges.ProcessCharge(); }
void MokuroApp::ShowConfirmMessage(const std::string& text) { view_.ShowConfirmMessage(text); }
void MokuroApp::ShowLastErrorMessage(const std::string& text) { view_.ShowLastErrorMessage(text); }
void MokuroApp::PostToMainThread(std::function<void()> task) { view_.PostToMainThread(std::move(task)); }
void MokuroApp::ShowMessage(const std::string& text) { view_.ShowMessage(text); }
void MokuroApp::IssueChargeClear() { IssueQuery(qkChrgClr); }

void MokuroApp::DeliverResponse(const std::string& reply) {
  FMonitor.FResponse = reply;
  FMonitor.ProcessResponse();
}

std::string MokuroApp::DateText(TDateTime date) const { return DateToText(date, FOptions.formats); }

std::string MokuroApp::DateTimeText(TDateTime dateTime) const { return DateTimeToText(dateTime, FOptions.formats); }

}  // namespace mokuro
