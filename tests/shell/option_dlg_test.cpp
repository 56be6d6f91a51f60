#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <string>
#include <vector>

#include "dialog_user.h"
#include "modal_watcher.h"
#include "option_dlg.h"
#include "qt_application.h"
#include "text_fit.h"
#include "up_down.h"

namespace mokuro {
namespace {

using test::ModalWatcher;
using test::PressOn;

const char* const kWarning =
    "この機能を利用するには、「ＡＴコマンドの料金クリア」と\n「料金集計日」を正しく設定しておく必要があります";

Settings Stored() {
  Settings settings;
  settings.FPortName = "COM1";
  settings.FChrgClrDay = 26;
  settings.FCLogBackup = 1;
  settings.FATCharge = "at\\c0";
  settings.FATDialInfo = "at\\l0";
  settings.FATRxInfo = "at\\l1";
  settings.FATChrgClr = "at\\c1";
  return settings;
}

// The settings button's whole cycle, with `user` acting on the open dialog; the port
// change does what the main window does with the name.
struct Cycle {
  Settings settings = Stored();
  int intervalMs = 5000;
  std::vector<std::string> portChanges;

  void Run(const std::function<void(TOptionDlg&)>& user) {
    test::DialogUser<TOptionDlg> dialogUser(user);
    RunOptionDialog(nullptr, settings, intervalMs, [this](const std::string& name) {
      portChanges.push_back(name);
      settings.FPortName = name;
    });
    ASSERT_TRUE(dialogUser.acted());
  }
};

void TypeInto(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

// A dialog as the user has it in front of them: shown and active.
void ShowActive(QDialog& dialog) {
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(OptionDlg, PortChangesOnlyWhenAnotherIndexIsChosen) {
  struct Case {
    const char* stored;
    int chosen;  // -1: the list left alone
    int shown;
    const char* kept;
    std::vector<std::string> changes;
  };
  const Case cases[] = {
      {"COM7", -1, 0, "COM7", {}},
      {"COM7", 0, 0, "COM7", {}},
      {"COM7", 1, 0, "COM2", {"COM2"}},
      {"com2", -1, 1, "com2", {}},
      {"COM3", 3, 2, "COM4", {"COM4"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + " chosen " + std::to_string(c.chosen));
    Cycle cycle;
    cycle.settings.FPortName = c.stored;
    int shown = -1;
    cycle.Run([&](TOptionDlg& dialog) {
      shown = dialog.PortCombo->currentIndex();
      if (c.chosen >= 0) dialog.PortCombo->setCurrentIndex(c.chosen);
      dialog.OKBtn->click();
    });
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(cycle.settings.FPortName, c.kept);
    EXPECT_EQ(cycle.portChanges, c.changes);
  }
}

TEST(OptionDlg, DevicePortsFollowTheStandardOnesAndCanBeChosen) {
  TOptionDlg dialog(nullptr, {"/dev/ttyUSB0", "/dev/serial/by-id/usb-Adapter-if00"});
  ASSERT_EQ(dialog.PortCombo->count(), 6);
  EXPECT_EQ(dialog.PortCombo->itemText(0), "COM1");
  EXPECT_EQ(dialog.PortCombo->itemText(3), "COM4");

  Settings settings = Stored();
  settings.FPortName = "/dev/ttyUSB0";
  int intervalMs = 5000;
  dialog.Fill(settings, intervalMs);
  EXPECT_EQ(dialog.PortCombo->currentIndex(), 4);

  std::vector<std::string> changes;
  dialog.PortCombo->setCurrentIndex(5);
  dialog.Apply(settings, intervalMs, [&](const std::string& name) { changes.push_back(name); });
  EXPECT_EQ(changes, std::vector<std::string>{"/dev/serial/by-id/usb-Adapter-if00"});
}

// Return presses the focused button, and in an edit the default OK; Escape cancels.
TEST(OptionDlg, ReturnPressesTheFocusedButtonAndEscapeCancels) {
  using Control = QWidget* (*)(TOptionDlg&);
  const Control ok = [](TOptionDlg& d) -> QWidget* { return d.OKBtn; };
  const Control cancel = [](TOptionDlg& d) -> QWidget* { return d.CancelBtn; };
  const Control edit = [](TOptionDlg& d) -> QWidget* { return d.ATChargeEdit; };
  struct Case {
    const char* name;
    Control focus;
    Qt::Key key;
    bool applied;
  };
  const Case cases[] = {
      {"Return on OK", ok, Qt::Key_Return, true},         {"Return on Cancel", cancel, Qt::Key_Return, false},
      {"Enter on Cancel", cancel, Qt::Key_Enter, false},  {"Return in an edit", edit, Qt::Key_Return, true},
      {"Escape on OK", ok, Qt::Key_Escape, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Cycle cycle;
    cycle.Run([&](TOptionDlg& dialog) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      TypeInto(dialog.TimerEdit, "30");
      PressOn(c.focus(dialog), c.key);
      if (dialog.isVisible()) {
        ADD_FAILURE() << "the key left the dialog open";
        dialog.reject();
      }
    });
    EXPECT_EQ(cycle.intervalMs, c.applied ? 30000 : 5000);
  }
}

TEST(OptionDlg, ReturnOnTheHelpButtonOpensTheHelpAndLeavesTheDialogOpen) {
  int helpPresses = 0;
  bool openAfterHelp = false;
  Cycle cycle;
  cycle.Run([&](TOptionDlg& dialog) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QObject::connect(dialog.HelpBtn, &QPushButton::clicked, [&] { ++helpPresses; });
    TypeInto(dialog.TimerEdit, "30");
    // Answers the box of a help folder that the test program doesn't have.
    ModalWatcher helpBoxes;
    PressOn(dialog.HelpBtn, Qt::Key_Return);
    openAfterHelp = dialog.isVisible();
    dialog.reject();
  });
  EXPECT_EQ(helpPresses, 1);
  EXPECT_TRUE(openAfterHelp);
  EXPECT_EQ(cycle.intervalMs, 5000);
}

// Tab runs through the controls as the dialog's table orders them, skipping those that
// are disabled, and comes back to OK.
TEST(OptionDlg, TabRunsThroughTheControlsInTheTablesOrder) {
  for (const bool boxesTicked : {true, false}) {
    SCOPED_TRACE(boxesTicked ? "boxes ticked" : "boxes unticked");
    TOptionDlg dialog(nullptr);
    Settings settings = Stored();
    settings.FChrgClr = boxesTicked;
    settings.FCurrentLog = boxesTicked;
    dialog.Fill(settings, 5000);
    ShowActive(dialog);
    const std::pair<QWidget*, const char*> names[] = {
        {dialog.OKBtn, "OKBtn"},
        {dialog.CancelBtn, "CancelBtn"},
        {dialog.HelpBtn, "HelpBtn"},
        {dialog.TimerEdit, "TimerEdit"},
        {dialog.ChrgClrChk, "ChrgClrChk"},
        {dialog.TotalingDayCombo, "TotalingDayCombo"},
        {dialog.MonthlyLogChk, "MonthlyLogChk"},
        {dialog.CurrentLogChk, "CurrentLogChk"},
        {dialog.CLogCntEdit, "CLogCntEdit"},
        {dialog.PortCombo, "PortCombo"},
        {dialog.ATRxInfoEdit, "ATRxInfoEdit"},
        {dialog.ATDialInfoEdit, "ATDialInfoEdit"},
        {dialog.ATChargeEdit, "ATChargeEdit"},
        {dialog.ATChrgClrEdit, "ATChrgClrEdit"},
    };
    const auto nameOf = [&](const QWidget* widget) -> std::string {
      for (const auto& [control, name] : names)
        if (control == widget) return name;
      return "another";
    };
    std::vector<std::string> expected = {"OKBtn", "CancelBtn", "HelpBtn", "TimerEdit", "ChrgClrChk"};
    if (boxesTicked) expected.insert(expected.end(), {"TotalingDayCombo", "MonthlyLogChk"});
    expected.push_back("CurrentLogChk");
    if (boxesTicked) expected.push_back("CLogCntEdit");
    expected.insert(expected.end(),
                    {"PortCombo", "ATRxInfoEdit", "ATDialInfoEdit", "ATChargeEdit", "ATChrgClrEdit", "OKBtn"});
    std::vector<std::string> visited = {nameOf(QApplication::focusWidget())};
    for (std::size_t i = 1; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited.push_back(nameOf(QApplication::focusWidget()));
    }
    EXPECT_EQ(visited, expected);
  }
}

// Alt with a letter that no live control answers types nothing into the focused edit;
// a live one still moves the focus.
TEST(OptionDlg, AltKeysNeverTypeIntoAnEdit) {
  TOptionDlg dialog(nullptr);
  dialog.Fill(Stored(), 5000);  // the charge clearing off: Alt+M's box is disabled
  ShowActive(dialog);
  ASSERT_FALSE(dialog.MonthlyLogChk->isEnabled());
  PressOn(dialog.ATChrgClrEdit, Qt::Key_End);
  QTest::keyClick(dialog.ATChrgClrEdit, Qt::Key_M, Qt::AltModifier);
  QTest::keyClick(dialog.ATChrgClrEdit, Qt::Key_Q, Qt::AltModifier);
  QTest::keyClick(dialog.ATChrgClrEdit, Qt::Key_Q, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialog.ATChrgClrEdit->text().toStdString(), "at\\c1");
  EXPECT_EQ(QApplication::focusWidget(), dialog.ATChrgClrEdit);

  QTest::keyClick(dialog.ATChrgClrEdit, Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), dialog.ATRxInfoEdit);
  EXPECT_EQ(dialog.ATRxInfoEdit->text().toStdString(), "at\\l1");
  EXPECT_EQ(dialog.ATChrgClrEdit->text().toStdString(), "at\\c1");

  const int day = dialog.TotalingDayCombo->currentIndex();
  dialog.ChrgClrChk->setChecked(true);
  dialog.UpdateControls();
  PressOn(dialog.TotalingDayCombo, Qt::Key_2, Qt::AltModifier);
  EXPECT_EQ(dialog.TotalingDayCombo->currentIndex(), day) << "no item chosen by its first letter";
}

// The closed box is narrow: it tells the chosen device's whole name in its tip, and its
// list opens wide enough for every name.
TEST(OptionDlg, PortListOpensWideEnoughForEveryDevice) {
  const std::vector<std::string> devices = {"/dev/ttyS4", "/dev/ttyUSB0", "/dev/rfcomm0",
                                            "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12B3C4D-if00-port0"};
  TOptionDlg dialog(nullptr, devices);
  Settings settings = Stored();
  settings.FPortName = devices.back();
  dialog.Fill(settings, 5000);
  ShowActive(dialog);
  EXPECT_EQ(dialog.PortCombo->toolTip().toStdString(), devices.back());
  EXPECT_LT(dialog.PortCombo->width(), dialog.PortCombo->fontMetrics().horizontalAdvance(dialog.PortCombo->currentText()));

  dialog.PortCombo->showPopup();
  QAbstractItemView* list = dialog.PortCombo->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
  for (int i = 0; i < dialog.PortCombo->count(); ++i) {
    const QModelIndex item = dialog.PortCombo->model()->index(i, 0);
    EXPECT_LE(list->sizeHintForIndex(item).width(), list->viewport()->width()) << dialog.PortCombo->itemText(i).toStdString();
  }
  EXPECT_TRUE(dialog.screen()->availableGeometry().contains(list->window()->geometry()));
  dialog.PortCombo->hidePopup();
}

TEST(ClearDay, ItemsAndDaysMapBothWays) {
  const int days[] = {6, 11, 16, 21, 26, 1};
  for (int index = 0; index < 6; ++index) {
    EXPECT_EQ(ClearDayFromIndex(index), days[index]) << index;
    EXPECT_EQ(IndexFromClearDay(days[index]), index) << index;
  }
  struct Range {
    int first;
    int last;
    int index;
  };
  const Range ranges[] = {{1, 4, 5}, {5, 9, 0}, {10, 14, 1}, {15, 19, 2}, {20, 24, 3}, {25, 29, 4}, {30, 31, 5}};
  for (const auto& range : ranges) {
    for (int day = range.first; day <= range.last; ++day) EXPECT_EQ(IndexFromClearDay(day), range.index) << day;
  }
  for (int day = -100; day <= 100; ++day) {
    const int index = IndexFromClearDay(day);
    EXPECT_TRUE(index >= 0 && index < 6) << day;
    EXPECT_EQ(index, IndexFromClearDay(day + 30)) << day;
  }
}

TEST(OptionDlg, ClearingDayIsShownAsTheClosingDayAndStoredAsTheDayAfter) {
  Cycle cycle;
  cycle.settings.FChrgClrDay = 10;
  QString shown;
  cycle.Run([&](TOptionDlg& dialog) {
    shown = dialog.TotalingDayCombo->currentText();
    dialog.OKBtn->click();
  });
  EXPECT_EQ(shown, QString::fromUtf8("10日"));
  EXPECT_EQ(cycle.settings.FChrgClrDay, 11);
}

TEST(OptionDlg, TimerIsShownInWholeSecondsWithinItsRange) {
  struct Case {
    int intervalMs;
    const char* shown;
  };
  const Case cases[] = {{5000, "5"}, {12999, "12"}, {500, "1"}, {0, "1"}, {-3000, "1"}, {200000, "99"}};
  for (const auto& c : cases) {
    TOptionDlg dialog(nullptr);
    dialog.Fill(Stored(), c.intervalMs);
    EXPECT_EQ(dialog.TimerEdit->text(), c.shown) << c.intervalMs;
  }
}

TEST(OptionDlg, TypedTimerSecondsBecomeTheIntervalAtOnce) {
  Cycle cycle;
  cycle.Run([](TOptionDlg& dialog) {
    TypeInto(dialog.TimerEdit, "12");
    dialog.OKBtn->click();
  });
  EXPECT_EQ(cycle.intervalMs, 12000);
}

TEST(OptionDlg, SpinButtonsStopAtTheEndsOfTheirRange) {
  TOptionDlg dialog(nullptr);
  Settings settings = Stored();
  settings.FCLogBackup = 8;
  dialog.Fill(settings, 98000);
  for (int i = 0; i < 3; ++i) dialog.TimerUpDwn->upButton()->click();
  EXPECT_EQ(dialog.TimerUpDwn->Position(), 99);
  QTest::keyClick(dialog.CLogCntEdit, Qt::Key_Up);
  QTest::keyClick(dialog.CLogCntEdit, Qt::Key_Up);
  EXPECT_EQ(dialog.CLogCntEdit->text(), "9");
  TypeInto(dialog.CLogCntEdit, "");
  EXPECT_EQ(dialog.CLogCntUpDwn->Position(), 9);
  dialog.CLogCntUpDwn->SetPosition(0);
  dialog.CLogCntUpDwn->downButton()->click();
  EXPECT_EQ(dialog.CLogCntEdit->text(), "0");
}

TEST(OptionDlg, WarningComesOncePerTickByTheUserOnTheShownDialog) {
  ModalWatcher watcher;
  TOptionDlg dialog(nullptr);
  Settings settings = Stored();
  settings.FChrgClr = true;
  dialog.Fill(settings, 5000);
  dialog.ChrgClrChk->setChecked(false);
  dialog.ChrgClrChk->setChecked(true);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(dialog.TotalingDayCombo->isEnabled());

  dialog.ChrgClrChk->setChecked(false);
  dialog.ChrgClrChk->setChecked(true);
  EXPECT_TRUE(watcher.boxes.empty());

  const QPoint indicator(6, dialog.ChrgClrChk->height() / 2);
  QTest::mouseClick(dialog.ChrgClrChk, Qt::LeftButton, {}, indicator);  // untick
  EXPECT_FALSE(dialog.ChrgClrChk->isChecked());
  EXPECT_FALSE(dialog.TotalingDayCombo->isEnabled());
  EXPECT_FALSE(dialog.MonthlyLogChk->isEnabled());
  EXPECT_TRUE(watcher.boxes.empty());

  QTest::mouseClick(dialog.ChrgClrChk, Qt::LeftButton, {}, indicator);  // tick
  EXPECT_TRUE(dialog.TotalingDayCombo->isEnabled());
  QTest::keyClick(dialog.ChrgClrChk, Qt::Key_Space);  // untick
  QTest::keyClick(dialog.ChrgClrChk, Qt::Key_Space);  // tick
  ASSERT_EQ(watcher.boxes.size(), 2u);
  for (const auto& box : watcher.boxes) {
    EXPECT_EQ(box.caption, "Mokuro");
    EXPECT_EQ(box.text, kWarning);
  }
}

TEST(OptionDlg, BackupCountIsStoredWhileItCannotBeChanged) {
  Cycle cycle;
  cycle.settings.FCurrentLog = false;
  cycle.settings.FCLogBackup = 3;
  bool editEnabled = true;
  bool spinEnabled = true;
  cycle.Run([&](TOptionDlg& dialog) {
    editEnabled = dialog.CLogCntEdit->isEnabled();
    spinEnabled = dialog.CLogCntUpDwn->isEnabled();
    dialog.OKBtn->click();
  });
  EXPECT_FALSE(editEnabled);
  EXPECT_FALSE(spinEnabled);
  EXPECT_EQ(cycle.settings.FCLogBackup, 3);
  EXPECT_FALSE(cycle.settings.FCurrentLog);
}

TEST(OptionDlg, TickingTheSnapshotBoxLetsTheBackupCountBeChanged) {
  Cycle cycle;
  cycle.Run([](TOptionDlg& dialog) {
    QTest::keyClick(dialog.CurrentLogChk, Qt::Key_Space);
    EXPECT_TRUE(dialog.CLogCntEdit->isEnabled());
    EXPECT_TRUE(dialog.CLogCntUpDwn->isEnabled());
    TypeInto(dialog.CLogCntEdit, "7");
    dialog.OKBtn->click();
  });
  EXPECT_TRUE(cycle.settings.FCurrentLog);
  EXPECT_EQ(cycle.settings.FCLogBackup, 7);
}

TEST(OptionDlg, CommandsAreStoredAsTypedAndUntouchedOnesKeepTheirBytes) {
  Cycle cycle;
  cycle.settings.FATDialInfo = "at\\l0\x83\x7C";  // Shift_JIS
  cycle.settings.FATChrgClr = "at\xFD";           // no valid text in any code page
  cycle.Run([](TOptionDlg& dialog) {
    EXPECT_EQ(dialog.ATDialInfoEdit->text(), QString::fromUtf8("at\\l0ポ"));
    TypeInto(dialog.ATRxInfoEdit, " at\\L1 ");
    TypeInto(dialog.ATChargeEdit, "");
    dialog.OKBtn->click();
  });
  EXPECT_EQ(cycle.settings.FATRxInfo, " at\\L1 ");
  EXPECT_EQ(cycle.settings.FATCharge, "");
  EXPECT_EQ(cycle.settings.FATDialInfo, "at\\l0\x83\x7C");
  EXPECT_EQ(cycle.settings.FATChrgClr, "at\xFD");
}

TEST(OptionDlg, CancelChangesNothing) {
  Cycle cycle;
  const Settings before = cycle.settings;
  bool pointerSet = false;
  cycle.Run([&](TOptionDlg& dialog) {
    pointerSet = OptionDlg == &dialog;
    dialog.PortCombo->setCurrentIndex(2);
    TypeInto(dialog.TimerEdit, "30");
    dialog.ChrgClrChk->setChecked(true);
    dialog.TotalingDayCombo->setCurrentIndex(0);
    TypeInto(dialog.ATRxInfoEdit, "atz");
    dialog.CancelBtn->click();
  });
  EXPECT_TRUE(pointerSet);
  EXPECT_EQ(OptionDlg, nullptr);
  EXPECT_TRUE(cycle.portChanges.empty());
  EXPECT_EQ(cycle.intervalMs, 5000);
  EXPECT_EQ(cycle.settings.FPortName, before.FPortName);
  EXPECT_FALSE(cycle.settings.FChrgClr);
  EXPECT_EQ(cycle.settings.FChrgClrDay, before.FChrgClrDay);
  EXPECT_EQ(cycle.settings.FATRxInfo, before.FATRxInfo);
}

TEST(OptionDlg, TextsFitTheirControlsAndTheControlsTheirFrames) {
  TOptionDlg dialog(nullptr);
  dialog.Fill(Stored(), 99000);
  const std::pair<QLabel*, int> rightLimits[] = {
      {dialog.Label6, dialog.TimerEdit->x()}, {dialog.Label7, dialog.Label1->x()},
      {dialog.Label1, dialog.PortCombo->x()}, {dialog.Label8, dialog.TotalingDayCombo->x()},
      {dialog.Label9, dialog.CLogCntEdit->x()}, {dialog.Label2, dialog.ATRxInfoEdit->x()},
      {dialog.Label3, dialog.ATDialInfoEdit->x()}, {dialog.Label4, dialog.ATChargeEdit->x()},
      {dialog.Label5, dialog.ATChrgClrEdit->x()}};
  for (const auto& [label, limit] : rightLimits) {
    EXPECT_LE(label->geometry().right(), limit) << label->text().toStdString();
  }
  for (QCheckBox* box : {dialog.ChrgClrChk, dialog.MonthlyLogChk, dialog.CurrentLogChk}) {
    EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
    EXPECT_LT(box->geometry().right(), dialog.ATCmdGrp->x()) << box->text().toStdString();
  }
  for (QLineEdit* edit : {dialog.TimerEdit, dialog.CLogCntEdit, dialog.ATRxInfoEdit, dialog.ATDialInfoEdit,
                          dialog.ATChargeEdit, dialog.ATChrgClrEdit}) {
    EXPECT_EQ(TextShortfall(*edit, edit->text()), 0) << edit->text().toStdString();
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(TextShortfall(*dialog.PortCombo, dialog.PortCombo->itemText(i)), 0) << i;
  for (int i = 0; i < dialog.TotalingDayCombo->count(); ++i) {
    EXPECT_EQ(TextShortfall(*dialog.TotalingDayCombo, dialog.TotalingDayCombo->itemText(i)), 0) << i;
  }
  EXPECT_EQ(dialog.TimerUpDwn->x(), dialog.TimerEdit->geometry().right() + 1);
  EXPECT_LT(dialog.Label7->geometry().right(), dialog.Label1->x());
  EXPECT_LT(dialog.PortCombo->geometry().right(), dialog.Bevel1->geometry().right());
  EXPECT_LT(dialog.TotalingDayCombo->geometry().right(), dialog.Bevel2->geometry().right());
}

}  // namespace
}  // namespace mokuro
