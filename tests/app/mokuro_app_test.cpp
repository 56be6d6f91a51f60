// The program's rules as a user meets them, against the simulated adapter on a
// pseudo-terminal, without a window: the timer's ticks are given by the test.
#include "mokuro_app.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "simulated_adapter.h"
#include "temp_dir.h"
#include "test_main_loop.h"
#include "test_view.h"

namespace mokuro {
namespace {

using namespace std::chrono_literals;

SimulatedAdapterOptions AdapterOptions(const test::TempDir& home) {
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  return options;
}

class MokuroAppTest : public ::testing::Test {
 protected:
  MokuroAppTest() : adapter(AdapterOptions(home)) {
    WriteSettings("[Config]\r\nPort=" + adapter.PortName() + "\r\n");
    test::WriteBytes(home.File("PhoneLst.txt"), "0312345678=Office\r\n");
  }

  void WriteSettings(const std::string& text) { test::WriteBytes(home.File("Mokuro.ini"), text); }

  MokuroApp& Start(std::vector<std::string> arguments = {}, bool autoCheck = false) {
    ProgramOptions options;
    options.arguments = std::move(arguments);
    options.autoCheck = autoCheck;
    options.settingsDir = home.Folder();
    options.dataDir = home.Folder();
    options.clock = &clock;
    app = std::make_unique<MokuroApp>(view, std::move(options));
    app->Start();
    return *app;
  }

  bool WaitForCommands(std::size_t count) {
    return loop.RunUntil([&] { return adapter.Commands().size() >= count; });
  }
  // Serves the main thread until every command sent has had its reply processed: each
  // reply is one task handed to the main thread.
  bool Settle() {
    return loop.RunUntil([&] { return loop.Ran() >= adapter.Commands().size(); });
  }
  bool WaitForCaller(const std::string& caller) {
    return loop.RunUntil([&] { return view.caller == caller; });
  }
  bool PortIsFree() {
    const int fd = ::open(adapter.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return !adapter.HeldExclusively();
  }
  std::string Settings() const { return test::ReadBytes(home.File("Mokuro.ini")); }

  test::TempDir home;
  SimulatedAdapter adapter;
  FixedClock clock{EncodeDate(2026, 12, 11) + 0.5};
  test::TestMainLoop loop;
  test::TestView view{loop};
  std::unique_ptr<MokuroApp> app;
};

TEST_F(MokuroAppTest, StartsWithItsSettingsAndTheSwitchesQuery) {
  WriteSettings("[Config]\r\nLeft=120\r\nTop=80\r\nPort=" + adapter.PortName() + "\r\n");
  adapter.Call("0312345678/64");
  Start({"--log", "/R"});
  EXPECT_EQ(view.left, 120);
  EXPECT_EQ(view.top, 80);
  EXPECT_TRUE(app->PortOpen());
  ASSERT_TRUE(WaitForCaller("Office"));
  EXPECT_EQ(adapter.Commands(), std::vector<std::string>{"at\\l1"});
  EXPECT_TRUE(view.memo.starts_with("RECEIVE CALL COUNT")) << view.memo;
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(view.confirms.empty());
}

// Started with the auto-check on: its first query takes the place of the switch's.
TEST_F(MokuroAppTest, AutoCheckAtStartTakesThePlaceOfTheSwitch) {
  Start({"/c"}, true);
  EXPECT_TRUE(view.autoCheckShown);
  EXPECT_TRUE(view.timerRunning);
  ASSERT_TRUE(WaitForCommands(1));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(adapter.Commands(), std::vector<std::string>{"at\\l1"});
  app->SetAutoCheck(false);
  EXPECT_FALSE(view.autoCheckShown);
}

TEST_F(MokuroAppTest, MissingPortAndPhoneBookAreReportedAndTheProgramGoesOn) {
  WriteSettings("[Config]\r\nPort=" + home.File("no-such-port") + "\r\n");
  ::unlink(home.File("PhoneLst.txt").c_str());
  Start({"/c"});
  EXPECT_EQ(view.messages, std::vector<std::string>{"電話帳'PhoneLst.txt'の読み出しに失敗しました"});
  ASSERT_EQ(view.confirms.size(), 1u);
  EXPECT_TRUE(view.confirms[0].starts_with("通信ポートを開けません。")) << view.confirms[0];
  EXPECT_FALSE(app->PortOpen());
  EXPECT_TRUE(app->PhoneList().empty());
  app->Stop();
  EXPECT_NE(Settings().find("Port=" + home.File("no-such-port") + "\r\n"), std::string::npos);
}

// The port is held while the window shows or the auto-check runs, and left to other
// programs otherwise.
TEST_F(MokuroAppTest, PortFollowsTheWindowAndTheAutoCheck) {
  Start();
  app->WindowHidden();
  EXPECT_FALSE(app->PortOpen());
  EXPECT_TRUE(PortIsFree());
  app->WindowRestored();
  EXPECT_TRUE(app->PortOpen());
  ASSERT_TRUE(WaitForCommands(1));
  EXPECT_EQ(adapter.Commands().back(), "at\\l1");

  app->SetAutoCheck(true);
  EXPECT_TRUE(view.timerRunning);
  app->WindowHidden();
  EXPECT_TRUE(app->PortOpen()) << "the auto-check keeps asking from the tray";
  app->SetAutoCheck(false);
  EXPECT_FALSE(view.timerRunning);
  app->WindowRestored();
  EXPECT_TRUE(app->PortOpen());
  ASSERT_TRUE(WaitForCommands(3));
  EXPECT_EQ(adapter.Commands(), (std::vector<std::string>{"at\\l1", "at\\l1", "at\\l1"}));
}

TEST_F(MokuroAppTest, AutoCheckBringsTheWindowUpOnANewCallOnly) {
  adapter.Call("0312345678");
  Start({"/d"});
  ASSERT_TRUE(WaitForCommands(1));
  ASSERT_TRUE(Settle());
  app->SetAutoCheck(true);
  ASSERT_TRUE(WaitForCaller("Office"));
  app->WindowHidden();
  ASSERT_TRUE(Settle());
  const int shown = view.shown;
  EXPECT_EQ(view.beeps, shown);

  for (int tick = 0; tick < 3; ++tick) {
    app->Tick();
    ASSERT_TRUE(WaitForCommands(3 + tick));
    ASSERT_TRUE(Settle());
  }
  EXPECT_EQ(view.shown, shown) << "the same report three times: no pop-up";
  EXPECT_EQ(adapter.Commands().back(), "at\\l1");

  adapter.Call("09012345678");
  app->Tick();
  ASSERT_TRUE(WaitForCaller("09012345678"));
  EXPECT_EQ(view.shown, shown + 1);
  EXPECT_EQ(view.beeps, shown + 1);
}

TEST_F(MokuroAppTest, TickGetsALostDeviceBackWithoutABox) {
  Start();
  app->SetAutoCheck(true);
  ASSERT_TRUE(WaitForCommands(1));
  adapter.Unplug();
  ASSERT_TRUE(loop.RunUntil([&] { return !app->PortOpen(); }));
  app->Tick();
  EXPECT_FALSE(app->PortOpen());
  adapter.Plug();
  app->Tick();
  EXPECT_TRUE(app->PortOpen());
  ASSERT_TRUE(loop.RunUntil([&] { return adapter.Commands().size() >= 1 && adapter.Commands().back() == "at\\l1"; }));
  EXPECT_TRUE(view.confirms.empty());
}

TEST_F(MokuroAppTest, SettingsAreSavedAtTheEndWithTheWindowAndThePeriod) {
  Start();
  view.left = 333;
  view.top = 44;
  app->SetAutoCheck(true);
  app->SetTimerInterval(2000);
  EXPECT_EQ(view.timerInterval, 2000) << "a new period starts at once";
  app->ChangePort(home.File("no-such-port"));
  EXPECT_FALSE(app->PortOpen());
  app->Stop();
  app->Stop();
  EXPECT_TRUE(Settings().starts_with("[Config]\r\nPort=" + home.File("no-such-port") +
                                     "\r\nLeft=333\r\nTop=44\r\nTimer=2000\r\n"))
      << Settings();
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(MokuroAppTest, WindowThatNeverCameUpKeepsTheStoredPosition) {
  WriteSettings("[Config]\r\nLeft=120\r\nTop=80\r\nPort=" + adapter.PortName() + "\r\n");
  view.cameUp = false;
  Start();
  view.left = -2;
  app->Stop();
  EXPECT_TRUE(Settings().find("Left=120\r\nTop=80\r\n") != std::string::npos) << Settings();
}

// A charge reply on the clearing day: the records, the clear command and the new date
// saved at once, before the program ends.
TEST_F(MokuroAppTest, ClearingKeepsItsRecordsAndSavesTheDateAtOnce) {
  WriteSettings("[Config]\r\nPort=" + adapter.PortName() +
                "\r\nChrgClr=1\r\nChrgClrDay=11\r\nChrgClrLast=2026/11/11\r\nMonthlyLog=1\r\nCurrentLog=1\r\n");
  adapter.Dial("0312345678", 120);
  Start({"/c"});
  ASSERT_TRUE(WaitForCommands(2));
  EXPECT_EQ(adapter.Commands(), (std::vector<std::string>{"at\\c0", "at\\c1"}));
  EXPECT_EQ(view.messages, std::vector<std::string>{"累積料金をクリアしました"});
  EXPECT_NE(Settings().find("ChrgClrLast=2026/12/11\r\n"), std::string::npos) << Settings();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(adapter.Charge(), 0u);
  const std::string total = view.memo;
  EXPECT_NE(total.find("CHARGE TOTAL"), std::string::npos);
  EXPECT_EQ(test::ReadBytes(home.File("ChrgLog.txt")), std::string(25, '=') + " 2026/12/11\r\n" + total);
  EXPECT_EQ(test::ReadBytes(home.File("Charge0.txt")), std::string(25, '=') + " 2026/12/11 12:00:00\r\n" + total);
}

TEST_F(MokuroAppTest, MemoIsWrittenToItsFileAndAFailureIsReported) {
  adapter.Call("0312345678");
  Start({"/r"});
  ASSERT_TRUE(WaitForCaller("Office"));
  app->SaveMemo();
  EXPECT_EQ(test::ReadBytes(home.File("RxInfo.txt")), view.memo);
  ::unlink(home.File("RxInfo.txt").c_str());
  ASSERT_EQ(::mkdir(home.File("RxInfo.txt").c_str(), 0755), 0);
  app->SaveMemo();
  EXPECT_EQ(view.errors, std::vector<std::string>{home.File("RxInfo.txt") + " に書き込めません"});
}

}  // namespace
}  // namespace mokuro
