#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "file_io.h"
#include "settings_store.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using SteadyClock = std::chrono::steady_clock;

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
  const SteadyClock::time_point start = SteadyClock::now();
  ASSERT_EQ(SaveSettings(path, first, formats), std::nullopt);
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - start);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, saveTime.count() + 1);
  int cutInTheMiddle = 0;
  for (int round = 0; round < 300; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(ready[0]);
      if (::write(ready[1], "r", 1) != 1) ::_exit(1);
      for (;;) {
        SaveSettings(path, second, formats);
        SaveSettings(path, first, formats);
      }
    }
    ::close(ready[1]);
    char started = 0;
    ASSERT_EQ(::read(ready[0], &started, 1), 1);
    ::close(ready[0]);
    // Not a wait for anything: the kill falls at a random point of the child's saving.
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));

    std::string bytes;
    ASSERT_FALSE(ReadWholeFile(path, bytes));
    ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes) << "round " << round << ", " << bytes.size() << " bytes";
    if (FilesIn(dir) > 1) ++cutInTheMiddle;
  }
  EXPECT_GT(cutInTheMiddle, 0) << "no kill fell inside a save";

  ASSERT_EQ(SaveSettings(path, second, formats), std::nullopt);
  EXPECT_EQ(test::ReadBytes(path), secondBytes);
  EXPECT_EQ(FilesIn(dir), 1) << "temporary files of the killed writers are gone";
}

}  // namespace
}  // namespace mokuro
