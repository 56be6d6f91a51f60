// The user's records under a writer killed at any moment: every file is left with its
// old bytes or its new ones, none goes missing, and the temporary files of the killed
// writers go at the next write.
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "charge_clearing.h"
#include "charge_snapshot.h"
#include "file_bytes.h"
#include "kill_at_random.h"
#include "phone_list.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using Files = std::map<std::string, std::string>;

Files FolderContents(const std::string& folder) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = test::ReadBytes(entry.path().string());
  }
  return files;
}

// Big enough for a kill to fall inside the writing often.
std::string Filler(char c) { return std::string(64 * 1024, c) + "\r\n"; }

struct RecordCase {
  const char* name;
  Files before;
  std::function<void(const std::string& folder)> write;
  friend void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }
};

class RecordKillTest : public ::testing::TestWithParam<RecordCase> {
 protected:
  // Each file made afresh: a killed rotation may leave two names on one file.
  void Prepare(const std::string& folder) const {
    for (const auto& [name, bytes] : GetParam().before) {
      std::filesystem::remove(folder + name);
      test::WriteBytes(folder + name, bytes);
    }
  }
};

TEST_P(RecordKillTest, KilledWriterLeavesEveryFileOldOrNew) {
  const RecordCase& c = GetParam();
  test::TempDir expected;
  Prepare(expected.Folder());
  c.write(expected.Folder());
  const Files after = FolderContents(expected.Folder());

  test::TempDir dir;
  const std::string folder = dir.Folder();
  Prepare(folder);
  const auto span = test::TimeOf([&] { c.write(folder); });
  Prepare(folder);
  const int cutInTheMiddle = test::KillWritersAtRandom(
      300, span, [&] { c.write(folder); },
      [&](int round) {
        const Files left = FolderContents(folder);
        for (const auto& [name, bytes] : after) {
          const auto found = left.find(name);
          EXPECT_NE(found, left.end()) << name << " missing after the kill of round " << round;
          if (found == left.end()) continue;
          const auto old = c.before.find(name);
          const bool isOld = old != c.before.end() && found->second == old->second;
          EXPECT_TRUE(isOld || found->second == bytes) << name << ", round " << round << ": " << found->second.size()
                                                       << " bytes, neither old nor new";
        }
        Prepare(folder);
        // A temporary file left behind: the kill fell inside the writing.
        return left.size() > after.size();
      });

  Prepare(folder);
  c.write(folder);
  EXPECT_EQ(FolderContents(folder), after) << "the next write removes what the killed writers left";
  if (cutInTheMiddle == 0) GTEST_SKIP() << "no kill fell inside a write on this machine: only whole writes were seen";
}

Files Snapshots(int count) {
  Files files;
  for (int n = 0; n < count; ++n) files["Charge" + std::to_string(n) + ".txt"] = Filler(static_cast<char>('0' + n));
  return files;
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordKillTest,
    ::testing::Values(
        RecordCase{"snapshot_rotation", Snapshots(4),
                   [](const std::string& folder) { WriteChargeSnapshot(folder, 3, "=== new", Filler('n')); }},
        RecordCase{"monthly_log_block",
                   {{"ChrgLog.txt", "=== 2026/11/26\r\n" + Filler('o')}},
                   [](const std::string& folder) { AppendChargeLog(folder, "=== 2026/12/26", Filler('n')); }},
        RecordCase{"phone_book_save",
                   {{"PhoneLst.txt", Filler('o')}},
                   [](const std::string& folder) {
                     SavePhoneList(folder + "PhoneLst.txt", TPhoneList(2000, "09012345678=" + std::string(20, 'n')));
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mokuro
