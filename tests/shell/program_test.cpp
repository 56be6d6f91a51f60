// The built program as a user starts it, against the simulated adapter, seen from outside.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "simulated_adapter.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using namespace std::chrono_literals;

class Program {
 public:
  Program(const test::TempDir& home, std::vector<std::string> arguments, const char* locale = nullptr) {
    const std::string log = home.File("stderr.log");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("MOKURO_HOME", home.Folder().c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      if (locale != nullptr) ::setenv("LC_ALL", locale, 1);
      const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, 2);
      std::vector<char*> argv{const_cast<char*>(MOKURO_PROGRAM)};
      for (auto& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(MOKURO_PROGRAM, argv.data());
      ::_exit(127);
    }
  }
  ~Program() { Kill(); }
  // As a crash or a power cut ends it: nothing more is written.
  void Kill() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }
  // Asks the program to end as a session's end does; its exit status, or -1 on a time-out.
  int Terminate(std::chrono::milliseconds timeout) {
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return -1;
      std::this_thread::sleep_for(5ms);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
};

SimulatedAdapterOptions AdapterOptions(const test::TempDir& home) {
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  return options;
}

// The settings, naming the adapter's port before the `more` keys, and the phone book.
void WriteDataFolder(const test::TempDir& home, const SimulatedAdapter& adapter, const std::string& more,
                     const std::string& book) {
  test::WriteBytes(home.File("Mokuro.ini"), "[Config]\r\nPort=" + adapter.PortName() + "\r\n" + more);
  test::WriteBytes(home.File("PhoneLst.txt"), book);
}

// Waits until the program's log holds `text`; false when it doesn't come.
bool WaitForLog(const test::TempDir& home, const std::string& text) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (test::ReadBytes(home.File("stderr.log")).find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

TEST(Program, AnswersItsSwitchLogsWhatHappensAndSavesOnTermination) {
  test::TempDir home;
  SimulatedAdapter adapter(AdapterOptions(home));
  adapter.Call("0312345678/64");
  WriteDataFolder(home, adapter, "Timer=0x7D0\r\n", "0312345678=Office\r\n");

  Program program(home, {"--log", "/R"});
  ASSERT_TRUE(adapter.WaitForCommands(1, 10s));
  EXPECT_EQ(adapter.Commands(), (std::vector<std::string>{"at\\l1"}));
  ASSERT_TRUE(adapter.WaitUntilRead(10s));
  // The reply was read; the log line about its caller follows it at once.
  WaitForLog(home, "caller: Office");
  ASSERT_EQ(program.Terminate(10s), 0);

  const std::string log = test::ReadBytes(home.File("stderr.log"));
  for (const char* line : {"opened at 38400", "command sent: at\\\\l1\\r", "reply qkRxInfo", "caller: Office", "closed"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << " in\n" << log;
  }
  const std::string ini = test::ReadBytes(home.File("Mokuro.ini"));
  EXPECT_TRUE(ini.starts_with("[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=2000\r\n")) << ini;
  EXPECT_NE(ini.find("[ATCommand]\r\nCharge=at\\c0\r\n"), std::string::npos) << ini;
}

// Serves nothing: the program runs in a process of its own.
bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y/%m/%d", &local);
  return text;
}

// Killed while it says that the counter was cleared: the next start doesn't clear the
// month again.
TEST(Program, ClearingSurvivesACrashRightAfterIt) {
  test::TempDir home;
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  SimulatedAdapter adapter(options);
  adapter.Dial("0312345678", 120);
  test::WriteBytes(home.File("Mokuro.ini"), "[Config]\r\nPort=" + adapter.PortName() +
                                                "\r\nChrgClr=1\r\nChrgClrDay=1\r\nChrgClrLast=2000/01/15\r\nMonthlyLog=1\r\n");
  test::WriteBytes(home.File("PhoneLst.txt"), "");
  // A locale whose short date is the one written above.
  const char* locale = "ja_JP.UTF-8";
  {
    Program program(home, {"--log", "/c"}, locale);
    ASSERT_TRUE(adapter.WaitForCommands(2, 10s));
    ASSERT_TRUE(WaitUntil([&] {
      return test::ReadBytes(home.File("Mokuro.ini")).find("ChrgClrLast=" + Today() + "\r\n") != std::string::npos;
    })) << test::ReadBytes(home.File("Mokuro.ini"));
    program.Kill();
  }
  ASSERT_TRUE(WaitUntil([&] { return adapter.Charge() == 0; }));
  adapter.Dial("0312345678", 80);

  Program again(home, {"--log", "/c"}, locale);
  ASSERT_TRUE(adapter.WaitForCommands(3, 10s));
  ASSERT_TRUE(WaitUntil([&] {
    return test::ReadBytes(home.File("stderr.log")).find("reply qkCharge") != std::string::npos;
  }));
  ASSERT_EQ(again.Terminate(10s), 0);
  EXPECT_EQ(adapter.Commands(), (std::vector<std::string>{"at\\c0", "at\\c1", "at\\c0"}));
  EXPECT_EQ(adapter.Charge(), 80u);
  const std::string log = test::ReadBytes(home.File("ChrgLog.txt"));
  EXPECT_EQ(log.find("=========================", 1), std::string::npos) << "one block:\n" << log;
}

// The log is UTF-8, so that a terminal shows it: a name from a Shift_JIS phone book is
// converted from the book's code page, though its bytes alone would pass for UTF-8 (ж).
TEST(Program, LogsAShiftJisCallerInUtf8) {
  test::TempDir home;
  SimulatedAdapter adapter(AdapterOptions(home));
  adapter.Call("09011110001/64");
  WriteDataFolder(home, adapter, "", "0312345678=\x83\x7C\x83\x7C\r\n09011110001=\xD0\xB6\r\n");

  Program program(home, {"--log", "/r"});
  EXPECT_TRUE(WaitForLog(home, "caller: ﾐｶ\n")) << test::ReadBytes(home.File("stderr.log"));
  ASSERT_EQ(program.Terminate(10s), 0);
}

}  // namespace
}  // namespace mokuro
