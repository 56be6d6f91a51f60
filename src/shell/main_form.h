#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "interval_timer.h"
#include "message_boxes.h"
#include "mokuro_app.h"
#include "program_view.h"
#include "tray_icon.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mokuro {

// The program's one window. The running program (MokuroApp) keeps every rule; the window
// builds the controls, forwards each handler to it and shows what it is told to.
class TMainForm : public QWidget, public ProgramView {
 public:
  explicit TMainForm(ProgramOptions options);
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

  // Visible and not minimised: the state in which a tray click does nothing.
  bool WindowShown() const;
  MokuroApp& App() { return *FApp; }
  std::string CallerText() const { return FApp->CallerText(); }

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

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  // Back from the tray or the task bar.
  void Restored();

  // ProgramView.
  void ShowMemoText(const std::string& text) override;
  void ShowCallerText(const std::string& text, CodePage page) override;
  void ShowAutoCheck(bool on) override;
  void ShowWindow() override;
  void Beep() override;
  void ShowMessage(const std::string& text) override;
  void ShowConfirmMessage(const std::string& text) override;
  void ShowLastErrorMessage(const std::string& text) override;
  void ShowErrorMessage(const std::string& text) override;
  void PostToMainThread(std::function<void()> task) override;
  void StartTimer(int intervalMs) override;
  void StopTimer() override;
  void MoveWindow(int left, int top) override;
  bool WindowCameUp() const override { return FShownOnce; }
  int WindowLeft() const override { return x(); }
  int WindowTop() const override { return y(); }

  QtPlainMessageBox FMessages;
  std::unique_ptr<MokuroApp> FApp;
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
