#include "main_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "dialog_user.h"
#include "file_bytes.h"
#include "file_io.h"
#include "modal_watcher.h"
#include "option_dlg.h"
#include "phone_list_dlg.h"
#include "simulated_adapter.h"
#include "system_error.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using namespace std::chrono_literals;
using test::ModalWatcher;

SimulatedAdapterOptions AdapterOptions(const test::TempDir& home) {
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  return options;
}

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : adapter(AdapterOptions(home)) {
    WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\n");
    test::WriteBytes(home.File("PhoneLst.txt"), "0312345678=Office\r\n");
  }
  ~MainFormTest() override { form.reset(); }

  void WriteSettings(const std::string& text) { test::WriteBytes(home.File("Mokuro.ini"), text); }

  void Start(std::vector<std::string> arguments = {}, bool autoCheck = false) {
    ProgramOptions options;
    options.arguments = std::move(arguments);
    options.autoCheck = autoCheck;
    options.settingsDir = home.Folder();
    options.dataDir = home.Folder();
    options.clock = &clock;
    form = std::make_unique<TMainForm>(std::move(options));
    form->show();
  }

  bool WaitForCommands(std::size_t count) {
    return ModalWatcher::WaitFor([&] { return adapter.Commands().size() >= count; });
  }
  bool WaitForMemo(const std::string& part) {
    return ModalWatcher::WaitFor([&] { return form->App().MemoContents().find(part) != std::string::npos; });
  }
  // The device can be opened by someone else: we don't hold it.
  bool PortIsFree() {
    const int fd = ::open(adapter.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return !adapter.HeldExclusively();
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : watcher.boxes) texts.push_back(box.text);
    return texts;
  }

  test::TempDir home;
  SimulatedAdapter adapter;
  FixedClock clock{EncodeDate(2026, 12, 11) + 0.5};
  ModalWatcher watcher;
  std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, EachQueryButtonSendsItsCommandAndShowsTheReply) {
  Start();
  ASSERT_TRUE(form->App().PortOpen());
  struct Case {
    QPushButton* button;
    const char* command;
    const char* shown;
  };
  adapter.Call("0312345678/64");
  for (const Case& c : {Case{form->ChargeBtn, "at\\c0", "CHARGE TOTAL"},
                        Case{form->DialInfoBtn, "at\\l0", "TRANSMIT CALLED PARTY"},
                        Case{form->RxInfoBtn, "at\\l1", "RECEIVE CALLING PARTY    = 0312345678/64"}}) {
    const std::size_t before = adapter.Commands().size();
    QTest::mouseClick(c.button, Qt::LeftButton);
    ASSERT_TRUE(WaitForCommands(before + 1));
    EXPECT_EQ(adapter.Commands().back(), c.command);
    ASSERT_TRUE(WaitForMemo(c.shown)) << c.command;
    EXPECT_FALSE(form->App().MemoContents().starts_with(c.command)) << "the echo line is gone";
  }
  EXPECT_EQ(form->CallerEdit->text(), QString("Office"));
  EXPECT_EQ(adapter.Received().find('\n'), std::string::npos) << "commands end with CR alone";
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MainFormTest, HidingWithoutAutoCheckFreesThePortAndTheTrayClickGetsItBack) {
  Start();
  ASSERT_TRUE(form->App().PortOpen());
  EXPECT_FALSE(PortIsFree());
  form->HideBtnClick();
  EXPECT_FALSE(form->WindowShown());
  EXPECT_FALSE(form->App().PortOpen());
  EXPECT_TRUE(PortIsFree());

  adapter.Call("09012345678");
  form->TrayIcon1MouseDown();
  EXPECT_TRUE(form->WindowShown());
  EXPECT_TRUE(form->App().PortOpen());
  ASSERT_TRUE(WaitForCommands(1));
  EXPECT_EQ(adapter.Commands().back(), "at\\l1");
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return form->CallerText() == "09012345678"; }));

  ASSERT_TRUE(form->WindowShown());
  form->TrayIcon1MouseDown();  // already visible: nothing, not even a query
  EXPECT_FALSE(adapter.WaitForCommands(2, 300ms)) << testing::PrintToString(adapter.Commands());
}

TEST_F(MainFormTest, HiddenWithAutoCheckKeepsPollingAndANewCallBringsTheWindowUp) {
  WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=50\r\n");
  Start();
  QTest::mouseClick(form->TimerCkb, Qt::LeftButton);
  ASSERT_TRUE(form->TimerCkb->isChecked());
  EXPECT_FALSE(form->ChargeBtn->isEnabled());
  EXPECT_FALSE(form->RxInfoBtn->isEnabled());
  ASSERT_TRUE(WaitForCommands(1));
  ASSERT_TRUE(WaitForMemo("RECEIVE CALLING PARTY"));

  form->HideBtnClick();
  EXPECT_TRUE(form->App().PortOpen());
  ASSERT_TRUE(WaitForCommands(6)) << "the timer keeps asking";
  EXPECT_FALSE(form->WindowShown()) << "no call, no pop-up";

  adapter.Call("0312345678");
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return form->WindowShown(); }));
  EXPECT_EQ(form->CallerText(), "Office");
}

// The window opens with the focus on HideBtn, and Tab runs through the panel's buttons,
// then the check box, the caller field and the memo, and back.
TEST_F(MainFormTest, FocusStartsOnTheHideButtonAndTabFollowsTheTable) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  const std::pair<QWidget*, const char*> names[] = {
      {form->HideBtn, "HideBtn"},       {form->ChargeBtn, "ChargeBtn"}, {form->DialInfoBtn, "DialInfoBtn"},
      {form->RxInfoBtn, "RxInfoBtn"},   {form->PhoneListBtn, "PhoneListBtn"}, {form->OptionBtn, "OptionBtn"},
      {form->HelpBtn, "HelpBtn"},       {form->AboutBtn, "AboutBtn"},   {form->ExitBtn, "ExitBtn"},
      {form->TimerCkb, "TimerCkb"},     {form->CallerEdit, "CallerEdit"}, {form->Memo1, "Memo1"},
  };
  const auto nameOf = [&](const QWidget* widget) -> std::string {
    for (const auto& [control, name] : names)
      if (control == widget) return name;
    return "another";
  };
  std::vector<std::string> visited = {nameOf(QApplication::focusWidget())};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(nameOf(QApplication::focusWidget()));
  }
  std::vector<std::string> expected;
  for (const auto& [control, name] : names) expected.push_back(name);
  expected.push_back("HideBtn");
  EXPECT_EQ(visited, expected);
}

// Return on a focused button presses it, as Space does; the dialogs it opens are closed
// by the user.
TEST_F(MainFormTest, ReturnPressesTheFocusedButton) {
  Start();
  watcher.onDialog = [](QWidget* dialog) {
    if (auto* modal = qobject_cast<QDialog*>(dialog)) modal->reject();
  };
  QPushButton* const buttons[] = {form->HideBtn,      form->ChargeBtn, form->DialInfoBtn,
                                  form->RxInfoBtn,    form->PhoneListBtn, form->OptionBtn,
                                  form->HelpBtn,      form->AboutBtn,  form->ExitBtn};
  std::vector<int> presses(std::size(buttons));
  for (std::size_t i = 0; i < std::size(buttons); ++i) {
    QObject::connect(buttons[i], &QPushButton::clicked, [&presses, i] { ++presses[i]; });
  }
  for (std::size_t i = 0; i < std::size(buttons); ++i) {
    QPushButton* button = buttons[i];
    SCOPED_TRACE(button->text().toStdString());
    if (!form->WindowShown()) form->TrayIcon1MouseDown();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    test::PressOn(button, i % 2 == 0 ? Qt::Key_Return : Qt::Key_Enter);
    std::vector<int> expected(std::size(buttons));
    for (std::size_t j = 0; j <= i; ++j) expected[j] = 1;
    EXPECT_EQ(presses, expected);
  }
  EXPECT_FALSE(form->isVisible()) << "終了 closed the window";
  for (const char* command : {"at\\c0", "at\\l0", "at\\l1"}) {
    EXPECT_TRUE(ModalWatcher::WaitFor([&] {
      const auto sent = adapter.Commands();
      return std::find(sent.begin(), sent.end(), command) != sent.end();
    })) << command;
  }
}

TEST_F(MainFormTest, OnlyTheSecondCharacterOfASlashSwitchCounts) {
  struct Case {
    std::vector<std::string> arguments;
    const char* command;  // nullptr: nothing is sent
  };
  for (const Case& c : {Case{{"/R"}, "at\\l1"}, Case{{"/rx"}, "at\\l1"}, Case{{"--log", "/c"}, "at\\c0"},
                        Case{{"/d", "/c"}, "at\\l0"}, Case{{"/x"}, nullptr}, Case{{"c"}, nullptr},
                        Case{{"/"}, nullptr}, Case{{"c", "/c"}, nullptr}}) {
    const std::size_t before = adapter.Commands().size();
    Start(c.arguments);
    if (c.command != nullptr) {
      ASSERT_TRUE(WaitForCommands(before + 1)) << c.arguments[0];
      EXPECT_EQ(adapter.Commands().back(), c.command);
    }
    form.reset();
    EXPECT_EQ(adapter.Commands().size(), before + (c.command != nullptr ? 1 : 0)) << c.arguments[0];
  }
}

// Started with the auto-check on: the box is ticked, the query buttons are off, and the
// first report is asked for at once, in place of a switch's query.
TEST_F(MainFormTest, AutoCheckOptionStartsTheCheckInPlaceOfTheSwitch) {
  WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=60000\r\n");
  Start({"/c"}, true);
  EXPECT_TRUE(form->TimerCkb->isChecked());
  EXPECT_TRUE(form->Timer1->Running());
  EXPECT_FALSE(form->ChargeBtn->isEnabled());
  ASSERT_TRUE(WaitForCommands(1));
  EXPECT_FALSE(adapter.WaitForCommands(2, 300ms)) << testing::PrintToString(adapter.Commands());
  EXPECT_EQ(adapter.Commands(), std::vector<std::string>{"at\\l1"});
  ASSERT_TRUE(WaitForMemo("RECEIVE CALLING PARTY"));
  EXPECT_EQ(form->App().Monitor().FQueryKind, qkRxInfo);
}

TEST_F(MainFormTest, ShiftCtrlClickOnTheMemoWritesItsText) {
  Start();
  adapter.Send("at\\l9\r\r\nRECEIVE\r\n\x83\x7c\r\n\r\nOK\r\n");
  ASSERT_TRUE(WaitForMemo("RECEIVE"));
  const std::string dump = home.File("RxInfo.txt");
  QTest::mouseClick(form->Memo1->viewport(), Qt::LeftButton, Qt::ShiftModifier);
  QTest::mouseClick(form->Memo1->viewport(), Qt::RightButton, Qt::ControlModifier);
  EXPECT_FALSE(FileExists(dump));
  QTest::mouseClick(form->Memo1->viewport(), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(test::ReadBytes(dump), "RECEIVE\r\n\x83\x7c\r\n\r\nOK\r\n");
}

// A Shift_JIS book whose name's bytes are valid UTF-8 as well (ﾐｶ would read as ж).
TEST_F(MainFormTest, CallerIsShownInTheCodePageOfThePhoneBook) {
  test::WriteBytes(home.File("PhoneLst.txt"), "0312345678=\x83\x7C\x83\x7C\r\n09011110001=\xD0\xB6\r\n");
  Start();
  adapter.Call("09011110001/64");
  QTest::mouseClick(form->RxInfoBtn, Qt::LeftButton);
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return form->CallerText() == "\xD0\xB6"; }));
  EXPECT_EQ(form->CallerEdit->text(), QString::fromUtf8("ﾐｶ"));
}

// A Shift_JIS charge reply with the line the program adds when the snapshot can't be
// written: the memo shows both in one code page.
TEST_F(MainFormTest, ProgramsLineAfterAShiftJisReplyIsShownWithIt) {
  WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\nCurrentLog=1\r\nCLogBackup=0\r\n");
  test::WriteBytes(home.File("Charge0.txt"), "");
  ASSERT_EQ(::chmod(home.File("Charge0.txt").c_str(), 0444), 0);
  Start();
  // Nothing asked yet: the reply answers the first kind, the charges.
  adapter.Send("at\\c0\r\r\nCHARGE TOTAL             = \x82\x50\x82\x51\x82\x4F \x89\x7E\r\n\r\nOK\r\n");
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return form->Memo1->toPlainText().contains("Charge0.txt"); }));
  EXPECT_EQ(form->Memo1->toPlainText(),
            QString::fromUtf8("CHARGE TOTAL             = １２０ 円\n\nOK\n[Charge0.txt に書き込めません]\n"));
}

TEST_F(MainFormTest, MissingPortAndPhoneBookAreReportedAndClosingStillSaves) {
  ::unlink(home.File("PhoneLst.txt").c_str());
  WriteSettings("; mine\r\n[Config]\r\nPort=" + home.File("no-such-port") + "\r\nDebug=1\r\n");
  Start();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"電話帳'PhoneLst.txt'の読み出しに失敗しました",
                                                  "通信ポートを開けません。\n" + home.File("no-such-port") + ": " +
                                                      SystemErrorText(ENOENT)}));
  EXPECT_FALSE(form->App().PortOpen());
  QTest::mouseClick(form->RxInfoBtn, Qt::LeftButton);  // sends to nowhere, says nothing
  EXPECT_EQ(watcher.boxes.size(), 2u);

  form->move(120, 90);
  form->App().SetTimerInterval(7000);
  QTest::mouseClick(form->ExitBtn, Qt::LeftButton);
  form.reset();
  const std::string ini = test::ReadBytes(home.File("Mokuro.ini"));
  EXPECT_TRUE(ini.starts_with("; mine\r\n[Config]\r\n")) << ini;
  for (const char* line : {"Left=120\r\n", "Top=90\r\n", "Timer=7000\r\n", "Debug=1\r\n", "ChrgClrDay=26\r\n"}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
  }
}

// The auto-check goes on under each modal dialog of the program, and a port changed in
// the settings dialog takes over at once.
TEST_F(MainFormTest, AutoCheckGoesOnUnderTheDialogsAndAPortChangeTakesOverAtOnce) {
  WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=50\r\n");
  SimulatedAdapter other;
  Start();
  QTest::mouseClick(form->TimerCkb, Qt::LeftButton);

  bool phoneDialogSeen = false;
  watcher.onDialog = [&](QWidget* dialog) {
    if (auto* phone = dynamic_cast<TPhoneListDlg*>(dialog); phone != nullptr && !phoneDialogSeen) {
      phoneDialogSeen = true;
      const std::size_t before = adapter.Commands().size();
      adapter.Call("0312345678");
      EXPECT_TRUE(WaitForCommands(before + 3));
      EXPECT_TRUE(ModalWatcher::WaitFor([&] { return form->CallerText() == "Office"; }));
      phone->reject();
    }
  };
  form->PhoneListBtnClick();
  EXPECT_TRUE(phoneDialogSeen);

  bool optionDialogSeen = false;
  watcher.onDialog = [&](QWidget* dialog) {
    if (auto* options = dynamic_cast<TOptionDlg*>(dialog); options != nullptr && !optionDialogSeen) {
      optionDialogSeen = true;
      const std::size_t before = adapter.Commands().size();
      EXPECT_TRUE(WaitForCommands(before + 3)) << "ticks go on under the settings dialog";
      options->PortCombo->addItem(QString::fromStdString(other.PortName()), QByteArray::fromStdString(other.PortName()));
      options->PortCombo->setCurrentIndex(options->PortCombo->count() - 1);
      QTest::mouseClick(options->OKBtn, Qt::LeftButton);
    }
  };
  form->OptionBtnClick();
  ASSERT_TRUE(optionDialogSeen);
  EXPECT_EQ(form->App().EditableSettings().FPortName, other.PortName());
  EXPECT_TRUE(form->App().PortOpen());
  EXPECT_TRUE(form->Timer1->Running());
  const std::size_t before = adapter.Commands().size();
  EXPECT_TRUE(ModalWatcher::WaitFor([&] { return other.Commands().size() >= 3; })) << "the new reader serves the ticks";
  EXPECT_TRUE(ModalWatcher::WaitFor([&] { return form->App().MemoContents().find("RECEIVE CALLING PARTY    = \r\n") != std::string::npos; }));
  EXPECT_LE(adapter.Commands().size(), before + 1) << "the old port is closed";
  EXPECT_TRUE(PortIsFree());
}

// A charge reply on the clearing day, seen at the adapter's end: the log block, the clear
// command (unless Debug), the message, and the clear command's reply leaving the memo alone.
TEST_F(MainFormTest, ChargeReplyOnTheClearingDayClearsTheAdaptersCounter) {
  for (const bool debug : {false, true}) {
    SCOPED_TRACE(debug ? "Debug on" : "Debug off");
    WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\nChrgClr=1\r\nChrgClrDay=11\r\n" +
                  "ChrgClrLast=2026/11/11\r\nMonthlyLog=1\r\nCurrentLog=1\r\n" + (debug ? "Debug=1\r\n" : ""));
    ::unlink(home.File("ChrgLog.txt").c_str());
    watcher.boxes.clear();
    adapter.Dial("0312345678", 120);
    const std::size_t before = adapter.Commands().size();
    Start();
    QTest::mouseClick(form->ChargeBtn, Qt::LeftButton);
    ASSERT_TRUE(ModalWatcher::WaitFor([&] { return !watcher.boxes.empty(); }));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"累積料金をクリアしました"});
    const std::string shown = form->App().MemoContents();
    EXPECT_NE(shown.find("CHARGE TOTAL"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(home.File("ChrgLog.txt")), std::string(25, '=') + " 2026/12/11\r\n" + shown);
    EXPECT_EQ(test::ReadBytes(home.File("Charge0.txt")), std::string(25, '=') + " 2026/12/11 12:00:00\r\n" + shown);
    if (debug) {
      EXPECT_FALSE(adapter.WaitForCommands(before + 2, 300ms));
      EXPECT_EQ(adapter.Commands().back(), "at\\c0");
      EXPECT_NE(adapter.Charge(), 0u);
    } else {
      ASSERT_TRUE(WaitForCommands(before + 2));
      EXPECT_EQ(adapter.Commands().back(), "at\\c1");
      ASSERT_TRUE(adapter.WaitUntilRead(5s));
      ASSERT_TRUE(ModalWatcher::WaitFor([&] { return adapter.Charge() == 0; }));
      QTest::qWait(0);
      EXPECT_EQ(form->App().MemoContents(), shown) << "the clear command's reply leaves the memo alone";
    }
    form.reset();
    EXPECT_NE(test::ReadBytes(home.File("Mokuro.ini")).find("ChrgClrLast=2026/12/11\r\n"), std::string::npos);
  }
}

// The clearing is due on these settings, and every record is kept.
std::string ClearingSettings(const std::string& port, const std::string& extra = "") {
  return "[Config]\r\nPort=" + port + "\r\nChrgClr=1\r\nChrgClrDay=11\r\nChrgClrLast=2026/11/11\r\nMonthlyLog=1\r\n" +
         "CurrentLog=1\r\n" + extra;
}

TEST_F(MainFormTest, RejectedChargeQueryKeepsTheRecordsAndTheCounter) {
  WriteSettings(ClearingSettings(adapter.PortName(), "[ATCommand]\r\nCharge=at\\c9\r\n"));
  test::WriteBytes(home.File("Charge0.txt"), "the last total");
  adapter.Dial("0312345678", 120);
  Start();
  QTest::mouseClick(form->ChargeBtn, Qt::LeftButton);
  ASSERT_TRUE(WaitForMemo("ERROR"));
  EXPECT_EQ(form->App().MemoContents(), "ERROR\r\n");
  form.reset();
  EXPECT_EQ(adapter.Commands(), std::vector<std::string>{"at\\c9"});
  EXPECT_NE(adapter.Charge(), 0u);
  EXPECT_TRUE(watcher.boxes.empty());
  EXPECT_EQ(test::ReadBytes(home.File("Charge0.txt")), "the last total");
  EXPECT_FALSE(FileExists(home.File("Charge1.txt")));
  EXPECT_FALSE(FileExists(home.File("ChrgLog.txt")));
  EXPECT_NE(test::ReadBytes(home.File("Mokuro.ini")).find("ChrgClrLast=2026/11/11\r\n"), std::string::npos);
}

// The charge query goes out before the incoming numbers' reply is in: each reply is still
// taken for what it answers.
TEST_F(MainFormTest, LateReplyIsAccountedAsWhatItAnswers) {
  WriteSettings(ClearingSettings(adapter.PortName()));
  adapter.Call("0312345678");
  adapter.Dial("0312345678", 120);
  Start();
  QTest::mouseClick(form->RxInfoBtn, Qt::LeftButton);
  QTest::mouseClick(form->ChargeBtn, Qt::LeftButton);
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return !watcher.boxes.empty(); }));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"累積料金をクリアしました"});
  const std::string log = test::ReadBytes(home.File("ChrgLog.txt"));
  EXPECT_NE(log.find("CHARGE TOTAL"), std::string::npos) << log;
  EXPECT_EQ(log.find("RECEIVE"), std::string::npos) << log;
  ASSERT_TRUE(WaitForCommands(3));
  ASSERT_TRUE(adapter.WaitUntilRead(5s));
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return adapter.Charge() == 0; }));
  EXPECT_EQ(adapter.Commands(), (std::vector<std::string>{"at\\l1", "at\\c0", "at\\c1"}));
  EXPECT_EQ(form->CallerText(), "") << "the charge reply came last";
}

TEST_F(MainFormTest, LineTheAdapterSendsOnItsOwnDoesNotHideTheCaller) {
  adapter.Call("0312345678");
  Start();
  adapter.Send("\r\nRING\r\n");
  ASSERT_TRUE(adapter.WaitUntilRead(5s));
  QTest::mouseClick(form->RxInfoBtn, Qt::LeftButton);
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return form->CallerText() == "Office"; }));
  EXPECT_TRUE(form->App().MemoContents().starts_with("RECEIVE CALL COUNT")) << form->App().MemoContents();
}

TEST_F(MainFormTest, HandEditedBackupCountIsBoundedAndKept) {
  WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\nCurrentLog=1\r\nCLogBackup=2147483647\r\n");
  Start();
  QTest::mouseClick(form->ChargeBtn, Qt::LeftButton);
  ASSERT_TRUE(WaitForMemo("CHARGE TOTAL"));
  ASSERT_TRUE(ModalWatcher::WaitFor([&] { return FileExists(home.File("Charge0.txt")); }));
  form.reset();
  EXPECT_NE(test::ReadBytes(home.File("Mokuro.ini")).find("CLogBackup=2147483647\r\n"), std::string::npos);
}

// Settings kept in another folder through a symbolic link stay there.
TEST_F(MainFormTest, SettingsFileBehindALinkIsUpdatedThroughIt) {
  test::TempDir synced;
  const std::string target = synced.File("Mokuro.ini");
  test::WriteBytes(target, "[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=0x7D0\r\n");
  ::unlink(home.File("Mokuro.ini").c_str());
  ASSERT_EQ(::symlink(target.c_str(), home.File("Mokuro.ini").c_str()), 0);
  Start();
  ASSERT_TRUE(form->App().PortOpen());
  form.reset();
  EXPECT_TRUE(std::filesystem::is_symlink(home.File("Mokuro.ini")));
  EXPECT_NE(test::ReadBytes(target).find("Timer=2000\r\n"), std::string::npos) << test::ReadBytes(target);
}

}  // namespace
}  // namespace mokuro
