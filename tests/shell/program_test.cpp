// The built program as a user starts it, against the simulated adapter, seen from outside.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "simulated_adapter.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using namespace std::chrono_literals;

// The program as a process of its own, with the test's folder as its data folder, its
// standard output and error in files there.
class Program {
 public:
  enum class Display { kOffscreen, kNone };

  Program(const test::TempDir& home, std::vector<std::string> arguments, Display display = Display::kOffscreen,
          const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    const std::string out = home.File("stdout.log");
    const std::string err = home.File("stderr.log");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("MOKURO_HOME", home.Folder().c_str(), 1);
      if (display == Display::kOffscreen) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      } else {
        // Had it made its window, Qt would have found no display to make it on.
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) ::unsetenv(name);
      }
      for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
      ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
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
  // Its exit status, or -1 when it is still running after the time-out.
  int WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return -1;
      std::this_thread::sleep_for(5ms);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  // Asks the program to end as a session's end does.
  int Terminate(std::chrono::milliseconds timeout) {
    ::kill(pid_, SIGTERM);
    return WaitForExit(timeout);
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

// Waits until the program's log holds `line`.
bool WaitForLog(const test::TempDir& home, const std::string& line) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (test::ReadBytes(home.File("stderr.log")).find(line) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

TEST(Program, AnswersItsSwitchLogsWhatHappensAndSavesOnTermination) {
  test::TempDir home;
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  SimulatedAdapter adapter(options);
  adapter.Call("0312345678/64");
  test::WriteBytes(home.File("Mokuro.ini"), "[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=0x7D0\r\n");
  test::WriteBytes(home.File("PhoneLst.txt"), "0312345678=Office\r\n");

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

// Started with the auto-check on, as the demonstration without a display runs, the log
// shows each call that comes in.
TEST(Program, AutoCheckSwitchLogsEachNewCall) {
  test::TempDir home;
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  SimulatedAdapter adapter(options);
  test::WriteBytes(home.File("Mokuro.ini"), "[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=50\r\n");
  test::WriteBytes(home.File("PhoneLst.txt"), "0312345678=Office\r\n");
  Program program(home, {"--log", "--auto-check"});
  ASSERT_TRUE(WaitForLog(home, "auto-check on"));
  ASSERT_TRUE(adapter.WaitForCommands(3, 10s)) << "the timer asks again and again";
  adapter.Call("0312345678");
  ASSERT_TRUE(WaitForLog(home, "new incoming-call report"));
  ASSERT_TRUE(WaitForLog(home, "caller: Office"));
  ASSERT_EQ(program.Terminate(10s), 0);
}

// --help, -h, --version and an unknown option are answered on the standard streams and
// need no display; the program doesn't start, so it writes no settings.
TEST(Program, AnswersItsOptionsWithoutADisplay) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::vector<std::string> out;
    std::vector<std::string> err;
  };
  const std::vector<std::string> usage = {"Usage: mokuro", "/c ", "/d ", "/r ", "--auto-check", "--log",
                                          "--version", "-h, --help", "MOKURO_HOME"};
  const Case cases[] = {
      {{"--help"}, 0, usage, {}},
      {{"-h"}, 0, usage, {}},
      {{"--log", "/r", "--help"}, 0, usage, {}},
      {{"--version"}, 0, {"Mokuro 1.0.3.0\n"}, {}},
      {{"--frobnicate"}, 2, {}, {"mokuro: unknown option '--frobnicate'", "mokuro --help"}},
      {{"/r", "--help", "--log=1"}, 2, {}, {"unknown option '--log=1'"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    test::TempDir home;
    Program program(home, c.arguments, Program::Display::kNone);
    ASSERT_EQ(program.WaitForExit(10s), c.status) << test::ReadBytes(home.File("stderr.log"));
    const std::string out = test::ReadBytes(home.File("stdout.log"));
    const std::string err = test::ReadBytes(home.File("stderr.log"));
    for (const std::string& part : c.out) EXPECT_NE(out.find(part), std::string::npos) << part << " in\n" << out;
    for (const std::string& part : c.err) EXPECT_NE(err.find(part), std::string::npos) << part << " in\n" << err;
    EXPECT_EQ(out.empty(), c.out.empty()) << out;
    EXPECT_EQ(err.empty(), c.err.empty()) << err;
    if (c.out == usage) {
      EXPECT_NE(out.find("\n  files in " + home.Folder() + " (named by MOKURO_HOME)\n"), std::string::npos) << out;
    }
    EXPECT_FALSE(std::filesystem::exists(home.File("Mokuro.ini")));
  }
}

// A termination signal while the start-up's message box is open ends the program there,
// normally: the window never comes up, and the settings are saved.
TEST(Program, TerminationUnderAStartUpBoxEndsTheProgramAndSaves) {
  test::TempDir home;
  test::WriteBytes(home.File("Mokuro.ini"),
                   "[Config]\r\nPort=" + home.File("no-such-port") + "\r\nLeft=30\r\nTop=40\r\nTimer=7000\r\n");
  test::WriteBytes(home.File("PhoneLst.txt"), "");
  Program program(home, {"--log", "/r"});
  ASSERT_TRUE(WaitForLog(home, "message box 確認: 通信ポートを開けません。"));
  ASSERT_EQ(program.Terminate(10s), 0);
  const std::string log = test::ReadBytes(home.File("stderr.log"));
  EXPECT_NE(log.find("termination signal"), std::string::npos) << log;
  EXPECT_NE(log.find("exit"), std::string::npos) << log;
  EXPECT_EQ(log.find("window shown"), std::string::npos) << log;
  EXPECT_EQ(log.find("command sent"), std::string::npos) << "the start ended under the box\n" << log;
  const std::string ini = test::ReadBytes(home.File("Mokuro.ini"));
  // The window never came up, so its stored position stays as it was.
  EXPECT_TRUE(ini.starts_with("[Config]\r\nPort=" + home.File("no-such-port") +
                              "\r\nLeft=30\r\nTop=40\r\nTimer=7000\r\nChrgClr=0\r\n"))
      << ini;
}

// The same while the main loop runs: a box about the cleared charges is open.
TEST(Program, TerminationUnderABoxOfTheRunningProgramEndsItAndSaves) {
  test::TempDir home;
  SimulatedAdapterOptions options;
  options.linkPath = home.File("port");
  SimulatedAdapter adapter(options);
  // Cleared last in 2000, dated as the C locale writes dates.
  test::WriteBytes(home.File("Mokuro.ini"), "[Config]\r\nPort=" + adapter.PortName() +
                                                "\r\nChrgClr=1\r\nChrgClrDay=1\r\nChrgClrLast=1 Jan 2000\r\nDebug=1\r\n");
  test::WriteBytes(home.File("PhoneLst.txt"), "");
  Program program(home, {"--log", "/c"}, Program::Display::kOffscreen, {{"LC_ALL", "C.UTF-8"}});
  ASSERT_TRUE(WaitForLog(home, "message box Mokuro: 累積料金をクリアしました"));
  ASSERT_EQ(program.Terminate(10s), 0);
  const std::string log = test::ReadBytes(home.File("stderr.log"));
  EXPECT_NE(log.find("termination signal"), std::string::npos) << log;
  EXPECT_NE(log.find("closed"), std::string::npos) << "the port was closed\n" << log;
  const std::string ini = test::ReadBytes(home.File("Mokuro.ini"));
  EXPECT_NE(ini.find("Left="), std::string::npos) << ini;
  EXPECT_NE(ini.find("ChrgClrLast="), std::string::npos) << ini;
  EXPECT_EQ(ini.find("ChrgClrLast=1 Jan 2000"), std::string::npos) << "the clearing's date was saved\n" << ini;
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
    Program program(home, {"--log", "/c"}, Program::Display::kOffscreen, {{"LC_ALL", locale}});
    ASSERT_TRUE(adapter.WaitForCommands(2, 10s));
    ASSERT_TRUE(WaitUntil([&] {
      return test::ReadBytes(home.File("Mokuro.ini")).find("ChrgClrLast=" + Today() + "\r\n") != std::string::npos;
    })) << test::ReadBytes(home.File("Mokuro.ini"));
    program.Kill();
  }
  ASSERT_TRUE(WaitUntil([&] { return adapter.Charge() == 0; }));
  adapter.Dial("0312345678", 80);

  Program again(home, {"--log", "/c"}, Program::Display::kOffscreen, {{"LC_ALL", locale}});
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
