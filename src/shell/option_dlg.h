#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mokuro {

class EditableBytes;
class TUpDown;

// The clearing day is offered as the closing day of the month ("5日" ... "25日", "月末") and
// kept as the day after it: items 0 to 5 stand for the days 6, 11, 16, 21, 26 and 1.
int ClearDayFromIndex(int index);
// Any day selects an item: 1 to 4 and 30 to 31 "月末", 5 to 9 "5日", 10 to 14 "10日" and so
// on; the pattern repeats every 30 days, below 1 too.
int IndexFromClearDay(int day);

// The settings dialog.
class TOptionDlg : public QDialog {
 public:
  // `devicePorts` are offered after "COM1" to "COM4".
  explicit TOptionDlg(QWidget* owner, const std::vector<std::string>& devicePorts = {});
  ~TOptionDlg() override;

  // Shows the settings; the selected port's index is remembered for Apply.
  void Fill(const Settings& settings, int timerIntervalMs);
  // Takes the dialog's values back, the port first: `changePort` with the selected port's
  // name when another port than the one shown at first has been chosen.
  void Apply(Settings& settings, int& timerIntervalMs,
             const std::function<void(const std::string&)>& changePort) const;

  void UpdateControls();

  QFrame* Bevel1;
  QLabel* Label6;
  QLineEdit* TimerEdit;
  TUpDown* TimerUpDwn;
  QLabel* Label7;
  QLabel* Label1;
  QComboBox* PortCombo;
  QFrame* Bevel2;
  QCheckBox* ChrgClrChk;
  QLabel* Label8;
  QComboBox* TotalingDayCombo;
  QCheckBox* MonthlyLogChk;
  QCheckBox* CurrentLogChk;
  QLabel* Label9;
  QLineEdit* CLogCntEdit;
  TUpDown* CLogCntUpDwn;
  QGroupBox* ATCmdGrp;
  QLabel* Label2;
  QLineEdit* ATRxInfoEdit;
  QLabel* Label3;
  QLineEdit* ATDialInfoEdit;
  QLabel* Label4;
  QLineEdit* ATChargeEdit;
  QLabel* Label5;
  QLineEdit* ATChrgClrEdit;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void ChrgClrChkClick();
  void CurrentLogChkClick();
  void HelpBtnClick();

  int shownPortIndex_ = 0;
  // One per AT command edit, in the order incoming, dialled, charges, clear.
  std::vector<std::unique_ptr<EditableBytes>> commands_;
};

// Set while the settings dialog exists.
extern TOptionDlg* OptionDlg;

// The settings button: creates the dialog, fills it, shows it modally, applies it on OK and
// destroys it. `changePort(name)` comes only when another port has been chosen; it closes
// the port if open, sets settings.FPortName to the name and reopens the port, with its
// messages. `timerIntervalMs` is the period of the auto-check timer.
void RunOptionDialog(QWidget* owner, Settings& settings, int& timerIntervalMs,
                     const std::function<void(const std::string&)>& changePort);

}  // namespace mokuro
