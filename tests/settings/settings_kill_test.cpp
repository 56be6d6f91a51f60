#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "file_io.h"
#include "kill_at_random.h"
#include "settings_store.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

long FilesIn(const test::TempDir& dir) { return std::distance(std::filesystem::directory_iterator(dir.Folder()), {}); }

// A writer killed at any point of a save leaves the old file or the new one, never a
// part of either; the temporary files it leaves go at the next save.
TEST(SettingsSaveKill, KilledWriterLeavesTheOldOrTheNewFile) {
  test::TempDir dir;
  const std::string path = dir.File(kSettingsFileName);
  // Lines of the user's own make the file big enough for a kill to fall inside the writing.
  std::string notes = "[Notes]\r\n";
  for (int i = 0; notes.size() < 64 * 1024; ++i) notes += "Line" + std::to_string(i) + "=" + std::string(60, 'x') + "\r\n";
  test::WriteBytes(path, notes);

  const DateFormats formats;
  Settings first;
  first.FPortName = "COM1";
  first.FChrgClrLast = EncodeDate(2026, 4, 26);
  Settings second = first;
  second.Left = 640;
  second.FPortName = "/dev/ttyUSB0";
  second.FATCharge = std::string(1000, 'c');
  second.FChrgClrLast = EncodeDate(2026, 5, 26);
  ASSERT_EQ(SaveSettings(path, first, formats), std::nullopt);
  const std::string firstBytes = test::ReadBytes(path);
  ASSERT_EQ(SaveSettings(path, second, formats), std::nullopt);
  const std::string secondBytes = test::ReadBytes(path);
  const auto span = test::TimeOf([&] { ASSERT_EQ(SaveSettings(path, first, formats), std::nullopt); });

  const int cutInTheMiddle = test::KillWritersAtRandom(
      300, span, [&] { SaveSettings(path, second, formats); },
      [&](int round) {
        std::string bytes;
        EXPECT_FALSE(ReadWholeFile(path, bytes));
        EXPECT_TRUE(bytes == firstBytes || bytes == secondBytes) << "round " << round << ", " << bytes.size() << " bytes";
        const bool inside = FilesIn(dir) > 1;
        test::WriteBytes(path, firstBytes);
        return inside;
      });

  ASSERT_EQ(SaveSettings(path, second, formats), std::nullopt);
  EXPECT_EQ(test::ReadBytes(path), secondBytes);
  EXPECT_EQ(FilesIn(dir), 1) << "temporary files of the killed writers are gone";
  if (cutInTheMiddle == 0) GTEST_SKIP() << "no kill fell inside a save on this machine: only whole saves were seen";
}

}  // namespace
}  // namespace mokuro
