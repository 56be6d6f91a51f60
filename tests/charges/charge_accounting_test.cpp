#include "charge_accounting.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "call_monitor.h"
#include "file_bytes.h"
#include "file_io.h"
#include "temp_dir.h"
#include "test_charge_host.h"

namespace mokuro {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kCleared = "累積料金をクリアしました";
const std::string kLogFailed = "月間料金記録'ChrgLog.txt'の書き込みに失敗しました";
// A charge reply as the memo holds it, its echo line gone.
const std::string kTotal = "CHARGE = \x82\x50\x82\x51\x82\x52 YEN\r\n\r\nOK\r\n";
// The line a failed snapshot adds to the memo, in Shift_JIS as kTotal is.
const std::string kSnapshotFailedShiftJis =
    "[Charge0.txt \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1]";

TDateTime Date(int year, int month, int day) { return EncodeDate(year, month, day); }

class ClearingTest : public ::testing::Test {
 protected:
  ClearingTest() {
    settings.FChrgClr = true;
    settings.FChrgClrDay = 26;
    settings.FChrgClrLast = Date(2000, 12, 23);
    settings.FMonthlyLog = true;
    host.memo.SetText(kTotal);
  }

  std::string LogPath() const { return dir.File("ChrgLog.txt"); }
  static std::string Block(const std::string& date) { return "========================= " + date + "\r\n" + kTotal; }

  TempDir dir;
  test::TestChargeHost host;
  Settings settings;
  FixedClock clock{Date(2000, 12, 26) + EncodeTime(14, 30, 0, 0)};
  ChargeAccounting accounting{host, settings, clock, dir.Folder()};
};

struct DueCase {
  const char* name;
  TDateTime lastClear;
  int clearDay;
  TDateTime today;
  bool clears;
  friend void PrintTo(const DueCase& c, std::ostream* os) { *os << c.name; }
};

class DueTest : public ClearingTest, public ::testing::WithParamInterface<DueCase> {};

TEST_P(DueTest, ClearsOnOrAfterTheDueDateOnly) {
  const DueCase& c = GetParam();
  settings.FChrgClrLast = c.lastClear;
  settings.FChrgClrDay = c.clearDay;
  clock.Set(c.today + EncodeTime(23, 59, 59, 0));
  // The new date reaches the settings file once the clear command is out, before the box.
  std::vector<std::string> savedAfter;
  host.onSave = [&] {
    EXPECT_EQ(settings.FChrgClrLast, c.today);
    savedAfter.push_back(std::to_string(host.clearCommands) + " clear, " + std::to_string(host.messages.size()) + " box");
  };
  accounting.ProcessCharge();
  EXPECT_EQ(host.memo.Text(), kTotal);
  if (c.clears) {
    EXPECT_EQ(ReadBytes(LogPath()), Block(host.DateText(c.today)));
    EXPECT_EQ(host.clearCommands, 1);
    EXPECT_EQ(host.messages, std::vector<std::string>{kCleared});
    EXPECT_EQ(settings.FChrgClrLast, c.today);
    EXPECT_EQ(savedAfter, std::vector<std::string>{"1 clear, 0 box"});
  } else {
    EXPECT_FALSE(FileExists(LogPath()));
    EXPECT_EQ(host.clearCommands, 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(settings.FChrgClrLast, c.lastClear);
    EXPECT_TRUE(savedAfter.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Days, DueTest,
    ::testing::Values(DueCase{"day_before_due", Date(2000, 12, 23), 26, Date(2000, 12, 25), false},
                      DueCase{"on_the_due_date", Date(2000, 12, 23), 26, Date(2000, 12, 26), true},
                      DueCase{"months_after_due", Date(2000, 12, 23), 26, Date(2001, 3, 3), true},
                      DueCase{"same_day_as_the_last", Date(2001, 3, 26), 26, Date(2001, 3, 26), false},
                      DueCase{"december_to_january_early", Date(2000, 12, 27), 26, Date(2001, 1, 25), false},
                      DueCase{"december_to_january_due", Date(2000, 12, 27), 26, Date(2001, 1, 26), true},
                      DueCase{"month_end_after_31_january", Date(2001, 1, 31), 1, Date(2001, 2, 1), true},
                      DueCase{"day_31_in_april", Date(2001, 4, 1), 31, Date(2001, 4, 30), true},
                      DueCase{"day_31_after_30_april", Date(2001, 4, 30), 31, Date(2001, 4, 30), false},
                      DueCase{"day_0", Date(2001, 4, 30), 0, Date(2001, 5, 1), true},
                      DueCase{"last_clearing_in_the_future", Date(2001, 6, 1), 26, Date(2001, 3, 27), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClearingTest, SecondReplyAfterAClearingDoesNotClearAgainUntilNextMonth) {
  WriteBytes(LogPath(), "earlier months\r\n");
  accounting.ProcessCharge();
  clock.Set(Date(2000, 12, 31));
  accounting.ProcessCharge();
  EXPECT_EQ(host.clearCommands, 1);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(settings.FChrgClrLast, Date(2000, 12, 26));

  clock.Set(Date(2001, 1, 26));
  accounting.ProcessCharge();
  EXPECT_EQ(host.clearCommands, 2);
  EXPECT_EQ(ReadBytes(LogPath()), "earlier months\r\n" + Block("2000/12/26") + Block("2001/01/26"));
}

TEST_F(ClearingTest, WithoutMonthlyLogClearsWithoutALog) {
  settings.FMonthlyLog = false;
  accounting.ProcessCharge();
  EXPECT_FALSE(FileExists(LogPath()));
  EXPECT_EQ(host.clearCommands, 1);
  EXPECT_EQ(host.messages, std::vector<std::string>{kCleared});
  EXPECT_EQ(settings.FChrgClrLast, Date(2000, 12, 26));
}

TEST_F(ClearingTest, DebugDoesEverythingButSendTheCommand) {
  settings.FDebug = true;
  accounting.ProcessCharge();
  EXPECT_EQ(ReadBytes(LogPath()), Block("2000/12/26"));
  EXPECT_EQ(host.clearCommands, 0);
  EXPECT_EQ(host.messages, std::vector<std::string>{kCleared});
  EXPECT_EQ(settings.FChrgClrLast, Date(2000, 12, 26));
}

TEST_F(ClearingTest, UnwritableLogKeepsTheTotalOnTheAdapterUntilALaterReply) {
  WriteBytes(LogPath(), "earlier months\r\n");
  std::filesystem::permissions(LogPath(), std::filesystem::perms(0444));
  accounting.ProcessCharge();
  EXPECT_EQ(host.clearCommands, 0);
  EXPECT_EQ(host.messages, std::vector<std::string>{kLogFailed});
  EXPECT_EQ(settings.FChrgClrLast, Date(2000, 12, 23));
  EXPECT_EQ(ReadBytes(LogPath()), "earlier months\r\n");
  EXPECT_EQ(host.memo.Text(), kTotal);

  std::filesystem::permissions(LogPath(), std::filesystem::perms(0644));
  clock.Set(Date(2000, 12, 27));
  accounting.ProcessCharge();
  EXPECT_EQ(host.clearCommands, 1);
  EXPECT_EQ(host.messages, (std::vector<std::string>{kLogFailed, kCleared}));
  EXPECT_EQ(settings.FChrgClrLast, Date(2000, 12, 27));
  EXPECT_EQ(ReadBytes(LogPath()), "earlier months\r\n" + Block("2000/12/27"));
}

TEST_F(ClearingTest, SnapshotAndLogAreOnDiskBeforeTheClearCommand) {
  settings.FCurrentLog = true;
  std::string snapshotAtClear, logAtClear;
  host.onClear = [&] {
    snapshotAtClear = ReadBytes(dir.File("Charge0.txt"));
    logAtClear = ReadBytes(LogPath());
  };
  accounting.ProcessCharge();
  EXPECT_EQ(snapshotAtClear, "========================= 2000/12/26 14:30:00\r\n" + kTotal);
  EXPECT_EQ(logAtClear, Block("2000/12/26"));
}

TEST_F(ClearingTest, FailedSnapshotLineStaysOutOfTheMonthlyLog) {
  settings.FCurrentLog = true;
  settings.FCLogBackup = 0;
  WriteBytes(dir.File("Charge0.txt"), "");
  std::filesystem::permissions(dir.File("Charge0.txt"), std::filesystem::perms(0444));
  accounting.ProcessCharge();
  EXPECT_EQ(host.memo.Text(), kTotal + kSnapshotFailedShiftJis + "\r\n");
  EXPECT_EQ(ReadBytes(LogPath()), Block("2000/12/26"));
  EXPECT_EQ(host.clearCommands, 1);
}

TEST_F(ClearingTest, FailedSnapshotLineIsInTheCodePageOfTheReply) {
  struct Case {
    std::string reply;
    std::string line;
  };
  const Case cases[] = {
      {kTotal, kSnapshotFailedShiftJis},
      {"CHARGE = １２３ YEN\r\n\r\nOK\r\n", "[Charge0.txt に書き込めません]"},
      {"CHARGE = 123 YEN\r\n\r\nOK", "[Charge0.txt に書き込めません]"},
  };
  settings.FCurrentLog = true;
  settings.FCLogBackup = 0;
  settings.FChrgClr = false;
  WriteBytes(dir.File("Charge0.txt"), "");
  std::filesystem::permissions(dir.File("Charge0.txt"), std::filesystem::perms(0444));
  for (const Case& c : cases) {
    host.memo.SetText(c.reply);
    accounting.ProcessCharge();
    std::string expected = c.reply;
    if (!expected.ends_with("\r\n")) expected += "\r\n";
    EXPECT_EQ(host.memo.Text(), expected + c.line + "\r\n");
    EXPECT_EQ(CodePageOf(host.memo.Text()), CodePageOf(c.reply)) << "the memo reads in one code page";
  }
}

struct SwitchCase {
  const char* name;
  bool currentLog;
  bool chrgClr;
  friend void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }
};

class SwitchTest : public ClearingTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SwitchTest, EachStepRunsOnlyWhenItsSettingIsOn) {
  settings.FCurrentLog = GetParam().currentLog;
  settings.FChrgClr = GetParam().chrgClr;
  accounting.ProcessCharge();
  EXPECT_EQ(FileExists(dir.File("Charge0.txt")), GetParam().currentLog);
  EXPECT_EQ(FileExists(LogPath()), GetParam().chrgClr);
  EXPECT_EQ(host.clearCommands, GetParam().chrgClr ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Settings, SwitchTest,
                         ::testing::Values(SwitchCase{"neither", false, false}, SwitchCase{"snapshot", true, false},
                                           SwitchCase{"clearing", false, true}, SwitchCase{"both", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The main window's part: replies go through the call monitor, and the clear command is
// issued as a query of its own kind.
class MonitoredHost : public test::TestChargeHost, public MonitorWindow {
 public:
  MemoText& Memo() override { return memo; }
  std::string CallerText() const override { return caller; }
  void SetCallerText(const std::string& text, CodePage) override { caller = text; }
  void ShowWindow() override {}
  void Beep() override {}
  void ProcessCharge() override { accounting->ProcessCharge(); }

  CallMonitor monitor{*this};
  ChargeAccounting* accounting = nullptr;
  std::string caller;
};

TEST(ChargeClearReply, LeavesTheTotalInTheMemoAndDoesNotClearAgain) {
  TempDir dir;
  MonitoredHost host;
  host.onClear = [&] { host.monitor.QuerySent(qkChrgClr, "at\\c1"); };
  Settings settings;
  settings.FChrgClr = true;
  settings.FChrgClrDay = 26;
  settings.FChrgClrLast = Date(2000, 12, 23);
  FixedClock clock(Date(2000, 12, 26));
  ChargeAccounting accounting(host, settings, clock, dir.Folder());
  host.accounting = &accounting;

  host.monitor.QuerySent(qkCharge, "at\\c0");
  host.monitor.FResponse = "at\\c0\r\r\n" + kTotal;
  host.monitor.ProcessResponse();
  ASSERT_EQ(host.monitor.FQueryKind, qkChrgClr);
  host.monitor.FResponse = "at\\c1\r\r\nOK\r\n";
  host.monitor.ProcessResponse();
  EXPECT_EQ(host.memo.Text(), kTotal);
  EXPECT_EQ(host.clearCommands, 1);
  EXPECT_EQ(host.messages, std::vector<std::string>{kCleared});
}

}  // namespace
}  // namespace mokuro
