// The built program as a user starts it, against the simulated adapter, seen from outside.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
  Program(const test::TempDir& home, std::vector<std::string> arguments) {
    const std::string log = home.File("stderr.log");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("MOKURO_HOME", home.Folder().c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, 2);
      std::vector<char*> argv{const_cast<char*>(MOKURO_PROGRAM)};
      for (auto& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(MOKURO_PROGRAM, argv.data());
      ::_exit(127);
    }
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
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
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (test::ReadBytes(home.File("stderr.log")).find("caller: Office") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_EQ(program.Terminate(10s), 0);

  const std::string log = test::ReadBytes(home.File("stderr.log"));
  for (const char* line : {"opened at 38400", "command sent: at\\\\l1\\r", "reply qkRxInfo", "caller: Office", "closed"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << " in\n" << log;
  }
  const std::string ini = test::ReadBytes(home.File("Mokuro.ini"));
  EXPECT_TRUE(ini.starts_with("[Config]\r\nPort=" + adapter.PortName() + "\r\nTimer=2000\r\n")) << ini;
  EXPECT_NE(ini.find("[ATCommand]\r\nCharge=at\\c0\r\n"), std::string::npos) << ini;
}

}  // namespace
}  // namespace mokuro
