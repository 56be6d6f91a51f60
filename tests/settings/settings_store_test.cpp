#include "settings_store.h"

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "temp_dir.h"
#include "unprivileged.h"

namespace mokuro {
namespace {

const TDateTime kToday = EncodeDate(2026, 5, 1);

class SettingsStore : public testing::Test {
 protected:
  Settings Load() {
    Settings settings;
    LoadSettings(path, settings, formats, clock);
    return settings;
  }
  // The settings read from a file that holds only these lines of [Config].
  Settings LoadConfig(const std::string& lines) {
    test::WriteBytes(path, "[Config]\r\n" + lines);
    return Load();
  }

  test::TempDir dir;
  std::string path = dir.File(kSettingsFileName);
  DateFormats formats{"yyyy/MM/dd", "H:mm:ss"};
  FixedClock clock{kToday + EncodeTime(15, 4, 5, 0)};
};

TEST_F(SettingsStore, NoFileGivesTheDefaults) {
  const Settings s = Load();
  EXPECT_EQ(s.Left, 0);
  EXPECT_EQ(s.Top, 0);
  EXPECT_EQ(s.FPortName, "COM1");
  EXPECT_EQ(s.TimerInterval, 5000);
  EXPECT_FALSE(s.FChrgClr);
  EXPECT_EQ(s.FChrgClrDay, 26);
  EXPECT_EQ(s.FChrgClrLast, kToday) << "today, without the time";
  EXPECT_FALSE(s.FMonthlyLog);
  EXPECT_FALSE(s.FCurrentLog);
  EXPECT_EQ(s.FCLogBackup, 1);
  EXPECT_FALSE(s.FDebug);
  EXPECT_EQ(s.FATCharge, "at\\c0");
  EXPECT_EQ(s.FATDialInfo, "at\\l0");
  EXPECT_EQ(s.FATRxInfo, "at\\l1");
  EXPECT_EQ(s.FATChrgClr, "at\\c1");
}

TEST_F(SettingsStore, IntegersAndBooleans) {
  const std::pair<const char*, std::int32_t> integers[] = {
      {"0x7D0", 2000},       {"0X7d0", 2000}, {"$7D0", 2000},       {"abc", 5000},     {"", 5000},
      {"0x", 5000},          {"$", 5000},     {"-40", -40},         {"+40", 40},       {"\"12\"", 12},    {"  12\t", 12},
      {"2147483647", 2147483647},             {"2147483648", 5000}, {"0xFFFFFFFF", -1}, {"0x100000000", 5000},
      {"12ms", 5000},        {"1 2", 5000},   {"+-1", 5000},        {"-0x10", 5000},   {"x10", 5000},
  };
  for (const auto& [text, expected] : integers) {
    EXPECT_EQ(LoadConfig(std::string("Timer=") + text + "\r\n").TimerInterval, expected) << text;
  }
  const std::pair<const char*, bool> booleans[] = {
      {"1", true}, {"2", true}, {"-1", true}, {"0x10", true}, {"0", false}, {"yes", false}, {"true", false},
  };
  for (const auto& [text, expected] : booleans) {
    EXPECT_EQ(LoadConfig(std::string("ChrgClr=") + text + "\r\n").FChrgClr, expected) << text;
  }
}

TEST_F(SettingsStore, DatesInTheShortDateFormat) {
  EXPECT_EQ(LoadConfig("ChrgClrLast=2026/04/26\r\n").FChrgClrLast, EncodeDate(2026, 4, 26));
  for (const char* unreadable : {"", "26.04.2026", "2026/02/30", "yesterday"}) {
    EXPECT_EQ(LoadConfig(std::string("ChrgClrLast=") + unreadable + "\r\n").FChrgClrLast, kToday) << unreadable;
  }
  formats.shortDate = "M/d/yy";
  EXPECT_EQ(LoadConfig("ChrgClrLast=4/26/26\r\n").FChrgClrLast, EncodeDate(2026, 4, 26));
}

TEST_F(SettingsStore, FreshFileIsWrittenInItsOrder) {
  Settings s = Load();
  s.Left = -12;
  s.Top = 340;
  s.FChrgClrLast = EncodeDate(2026, 4, 26) + 0.5;
  ASSERT_EQ(SaveSettings(path, s, formats), std::nullopt);
  EXPECT_EQ(test::ReadBytes(path),
            "[Config]\r\n"
            "Left=-12\r\n"
            "Top=340\r\n"
            "Port=COM1\r\n"
            "Timer=5000\r\n"
            "ChrgClr=0\r\n"
            "ChrgClrDay=26\r\n"
            "ChrgClrLast=2026/04/26\r\n"
            "MonthlyLog=0\r\n"
            "CurrentLog=0\r\n"
            "CLogBackup=1\r\n"
            "[ATCommand]\r\n"
            "Charge=at\\c0\r\n"
            "DialInfo=at\\l0\r\n"
            "RxInfo=at\\l1\r\n"
            "ChrgClr=at\\c1\r\n");
}

TEST_F(SettingsStore, EverySettingReadsBackAsSaved) {
  Settings s;
  s.Left = 100;
  s.Top = -5;
  s.TimerInterval = 12345;
  s.FPortName = "/dev/ttyUSB0";
  s.FChrgClr = true;
  s.FChrgClrDay = 31;
  s.FChrgClrLast = EncodeDate(1999, 12, 31);
  s.FMonthlyLog = true;
  s.FCurrentLog = true;
  s.FCLogBackup = 9;
  s.FATCharge = "at\\c0 ";
  s.FATDialInfo = "\"at\\l0\"";
  s.FATRxInfo = "AT\\L1";
  s.FATChrgClr = "\x83\x5C";
  formats.shortDate = "dd.MM.yy";
  ASSERT_EQ(SaveSettings(path, s, formats), std::nullopt);
  const Settings read = Load();
  EXPECT_EQ(read.Left, s.Left);
  EXPECT_EQ(read.Top, s.Top);
  EXPECT_EQ(read.TimerInterval, s.TimerInterval);
  EXPECT_EQ(read.FPortName, s.FPortName);
  EXPECT_EQ(read.FChrgClr, s.FChrgClr);
  EXPECT_EQ(read.FChrgClrDay, s.FChrgClrDay);
  EXPECT_EQ(read.FChrgClrLast, s.FChrgClrLast);
  EXPECT_EQ(read.FMonthlyLog, s.FMonthlyLog);
  EXPECT_EQ(read.FCurrentLog, s.FCurrentLog);
  EXPECT_EQ(read.FCLogBackup, s.FCLogBackup);
  EXPECT_EQ(read.FATCharge, s.FATCharge);
  EXPECT_EQ(read.FATDialInfo, s.FATDialInfo);
  EXPECT_EQ(read.FATRxInfo, s.FATRxInfo);
  EXPECT_EQ(read.FATChrgClr, s.FATChrgClr);
}

TEST_F(SettingsStore, DebugIsReadAndNeverWritten) {
  const std::string withDebug = "[Config]\r\nDebug=1\r\nPort=COM2\r\n";
  test::WriteBytes(path, withDebug);
  Settings s = Load();
  EXPECT_TRUE(s.FDebug);
  s.FDebug = false;
  ASSERT_EQ(SaveSettings(path, s, formats), std::nullopt);
  EXPECT_TRUE(Load().FDebug);
  EXPECT_NE(test::ReadBytes(path).find("Debug=1\r\nPort=COM2\r\n"), std::string::npos);

  test::WriteBytes(path, "[Config]\r\nPort=COM2\r\n");
  s = Load();
  EXPECT_FALSE(s.FDebug);
  s.FDebug = true;
  ASSERT_EQ(SaveSettings(path, s, formats), std::nullopt);
  EXPECT_FALSE(Load().FDebug);
}

// A file from a Japanese Windows system: Shift_JIS, CR LF, comments and keys of its own.
TEST_F(SettingsStore, JapaneseFileSurvivesASaveByteForByte) {
  const std::string original =
      "; \x83\x82\x83\x4E\x83\x8D\x82\xCC\x90\xDD\x92\xE8\r\n"
      "[Config]\r\n"
      "Left=120\r\n"
      "Top=80\r\n"
      "Port=COM3\r\n"
      "Timer=0x7D0\r\n"
      "ChrgClr=1\r\n"
      "ChrgClrDay=20\r\n"
      "ChrgClrLast=2026/04/20\r\n"
      "MonthlyLog=1\r\n"
      "CurrentLog=0\r\n"
      "CLogBackup=3\r\n"
      "\r\n"
      "; \x83\x52\x83\x7D\x83\x93\x83\x68\r\n"
      "[ATCommand]\r\n"
      "Charge=at\\c0\r\n"
      "DialInfo=at\\l0\r\n"
      "RxInfo=at\\l1\r\n"
      "ChrgClr=at\\c1\r\n"
      "[\x95\x5C\x8E\xA6]\r\n"
      "\x96\xBC\x91\x4F=\x95\x5C\r\n";
  test::WriteBytes(path, original);
  Settings s = Load();
  EXPECT_EQ(s.TimerInterval, 2000);
  ASSERT_EQ(SaveSettings(path, s, formats), std::nullopt);
  std::string expected = original;
  expected.replace(expected.find("0x7D0"), 5, "2000");
  EXPECT_EQ(test::ReadBytes(path), expected);

  s.FPortName = "\x83\x5C";
  ASSERT_EQ(SaveSettings(path, s, formats), std::nullopt);
  expected.replace(expected.find("COM3"), 4, "\x83\x5C");
  EXPECT_EQ(test::ReadBytes(path), expected);
}

TEST_F(SettingsStore, KeyThatCantBeWrittenEndsTheSaving) {
  Settings s = Load();
  s.FATDialInfo = "at\\l0\r\nChrgClr=at\\c1";
  EXPECT_EQ(SaveSettings(path, s, formats), path + " に書き込めません");
  const std::string written = test::ReadBytes(path);
  EXPECT_NE(written.find("CLogBackup=1\r\n[ATCommand]\r\nCharge=at\\c0\r\n"), std::string::npos) << written;
  EXPECT_EQ(written.find("DialInfo"), std::string::npos) << written;
  EXPECT_EQ(written.find("RxInfo"), std::string::npos) << written;
}

TEST_F(SettingsStore, ReadOnlyFileEndsTheSavingAndStaysAsItWas) {
  const std::string original = "[Config]\r\nPort=COM2\r\n";
  test::WriteBytes(path, original);
  ::chmod(path.c_str(), 0444);
  Settings s = Load();
  s.FPortName = "COM3";
  EXPECT_EQ(SaveSettings(path, s, formats), path + " に書き込めません");
  EXPECT_EQ(test::ReadBytes(path), original);

  const std::string inAFile = dir.File("file/") + kSettingsFileName;
  test::WriteBytes(dir.File("file"), "");
  EXPECT_EQ(SaveSettings(inAFile, s, formats), inAFile + " に書き込めません");
}

TEST_F(SettingsStore, ReadOnlyFolderEndsTheSavingAndTheFileStaysAsItWas) {
  const std::string original = "[Config]\r\nPort=COM2\r\n";
  test::WriteBytes(path, original);
  ::chmod(path.c_str(), 0666);
  ::chmod(dir.Folder().c_str(), 0555);
  Settings s = Load();
  s.FPortName = "COM3";
  const auto message = test::RunUnprivileged([&] { return SaveSettings(path, s, formats).value_or("saved"); });
  ASSERT_TRUE(message) << "the child could not give up root";
  EXPECT_EQ(*message, path + " に書き込めません");
  EXPECT_EQ(test::ReadBytes(path), original);
}

}  // namespace
}  // namespace mokuro
