#include "charge_snapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "charge_accounting.h"
#include "file_bytes.h"
#include "temp_dir.h"
#include "test_charge_host.h"

namespace mokuro {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Everything in the folder by name, so that a stray temporary file shows too.
std::map<std::string, std::string> FolderContents(const TempDir& dir) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Folder())) {
    contents[entry.path().filename().string()] = ReadBytes(entry.path().string());
  }
  return contents;
}

std::string Name(int n) { return "Charge" + std::to_string(n) + ".txt"; }

struct RotationCase {
  const char* name;
  int backups;
  std::set<int> present;
  // Snapshot number -> the number of the old file now there; -1 for the new snapshot.
  std::map<int, int> expected;
  friend void PrintTo(const RotationCase& c, std::ostream* os) { *os << c.name; }
};

class RotationTest : public ::testing::TestWithParam<RotationCase> {};

TEST_P(RotationTest, ShiftsUpToTheNumberOfBackups) {
  TempDir dir;
  for (const int n : GetParam().present) WriteBytes(dir.File(Name(n)), "old " + std::to_string(n));
  ASSERT_FALSE(WriteChargeSnapshot(dir.Folder(), GetParam().backups, "header", "reply\r\n"));
  std::map<std::string, std::string> expected;
  for (const auto& [n, old] : GetParam().expected) {
    expected[Name(n)] = old < 0 ? "header\r\nreply\r\n" : "old " + std::to_string(old);
  }
  EXPECT_EQ(FolderContents(dir), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Backups, RotationTest,
    ::testing::Values(RotationCase{"none_in_an_empty_folder", 0, {}, {{0, -1}}},
                      RotationCase{"zero_replaces_charge0_and_leaves_charge1", 0, {0, 1}, {{0, -1}, {1, 1}}},
                      RotationCase{"three_with_only_charge0", 3, {0}, {{0, -1}, {1, 0}}},
                      RotationCase{"three_with_all_present", 3, {0, 1, 2, 3}, {{0, -1}, {1, 0}, {2, 1}, {3, 2}}},
                      RotationCase{"three_with_a_gap", 3, {0, 2}, {{0, -1}, {1, 0}, {3, 2}}},
                      RotationCase{"lowered_from_five_to_two", 2, {0, 1, 2, 3, 4, 5},
                                   {{0, -1}, {1, 0}, {2, 1}, {3, 3}, {4, 4}, {5, 5}}},
                      RotationCase{"negative_counts_as_zero", -1, {0}, {{0, -1}}},
                      // A hand-edited count: at most 99 older copies, at once.
                      RotationCase{"above_99_counts_as_99", 2147483647, {0, 99, 100}, {{0, -1}, {1, 0}, {100, 100}}}),
    [](const auto& info) { return std::string(info.param.name); });

class SnapshotTest : public ::testing::Test {
 protected:
  SnapshotTest() {
    settings.FCurrentLog = true;
    settings.FCLogBackup = 1;
  }

  TempDir dir;
  test::TestChargeHost host;
  Settings settings;
  FixedClock clock{EncodeDate(2001, 1, 26) + EncodeTime(9, 5, 7, 0)};
};

TEST_F(SnapshotTest, KeepsTheMemoByteForByteUnderADatedHeader) {
  const std::string reply = "\x97\xbf\x8b\xe0 = 1234\r\r\nlone LF\n\r\nOK\r\n";
  host.memo.SetText(reply);
  int changes = 0;
  host.memo.SetOnChange([&] { ++changes; });
  ChargeAccounting(host, settings, clock, dir.Folder()).SaveChargeSnapshot();
  EXPECT_EQ(ReadBytes(dir.File("Charge0.txt")), "========================= 2001/01/26 9:05:07\r\n" + reply);
  EXPECT_EQ(host.memo.Text(), reply);
  EXPECT_EQ(changes, 0) << "the display doesn't flicker";
  EXPECT_TRUE(host.messages.empty());
}

// A date in the locale's words heads a Shift_JIS reply in Shift_JIS, so the file is one text.
TEST_F(SnapshotTest, HeaderIsInTheCodePageOfTheReply) {
  struct WordyDates : test::TestChargeHost {
    std::string DateTimeText(TDateTime) const override { return "2026年12月11日"; }
  } wordy;
  const std::string reply = "\x97\xbf\x8b\xe0 = 1234\r\n\r\nOK\r\n";
  wordy.memo.SetText(reply);
  ChargeAccounting(wordy, settings, clock, dir.Folder()).SaveChargeSnapshot();
  EXPECT_EQ(ReadBytes(dir.File("Charge0.txt")), std::string("========================= 2026\x94\x4e" "12\x8c\x8e" "11\x93\xfa\r\n") + reply);
}

TEST_F(SnapshotTest, UnwritableSnapshotIsOneLineInTheMemo) {
  TempDir notAFolder;
  WriteBytes(notAFolder.File("file"), "");
  host.memo.SetText("reply without a line end");
  ChargeAccounting(host, settings, clock, notAFolder.File("file") + "/").SaveChargeSnapshot();
  EXPECT_EQ(host.memo.Text(), "reply without a line end\r\n[Charge0.txt に書き込めません]\r\n");
  EXPECT_TRUE(host.messages.empty());
}

// Charge0.txt that can't be replaced: nothing moves, so no copy is lost or doubled.
TEST(SnapshotFailure, LeavesEveryFileAsItWas) {
  TempDir dir;
  for (int n = 0; n <= 2; ++n) WriteBytes(dir.File(Name(n)), "old " + std::to_string(n));
  std::filesystem::permissions(dir.File(Name(0)), std::filesystem::perms(0444));
  const auto before = FolderContents(dir);
  EXPECT_EQ(WriteChargeSnapshot(dir.Folder(), 2, "header", "reply\r\n"), std::errc::permission_denied);
  EXPECT_EQ(FolderContents(dir), before);
}

TEST_F(SnapshotTest, ReadOnlyCharge0IsKeptAndTheNextReplyIsSavedOnceWritable) {
  settings.FCLogBackup = 0;
  const std::string path = dir.File("Charge0.txt");
  WriteBytes(path, "previous");
  std::filesystem::permissions(path, std::filesystem::perms(0444));
  ChargeAccounting accounting(host, settings, clock, dir.Folder());
  host.memo.SetText("first\r\nOK\r\n");
  accounting.ProcessCharge();
  EXPECT_EQ(host.memo.Text(), "first\r\nOK\r\n[Charge0.txt に書き込めません]\r\n");
  EXPECT_EQ(ReadBytes(path), "previous");

  std::filesystem::permissions(path, std::filesystem::perms(0644));
  host.memo.SetText("second\r\nOK\r\n");
  accounting.ProcessCharge();
  EXPECT_EQ(host.memo.Text(), "second\r\nOK\r\n");
  EXPECT_EQ(ReadBytes(path), "========================= 2001/01/26 9:05:07\r\nsecond\r\nOK\r\n");
  EXPECT_EQ(FolderContents(dir).size(), 1u);
}

}  // namespace
}  // namespace mokuro
