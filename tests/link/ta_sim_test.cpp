#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "comm_link.h"
#include "file_bytes.h"
#include "temp_dir.h"
#include "test_link_host.h"

extern char** environ;

namespace mokuro {
namespace {

using std::chrono::seconds;

// ta-sim as its users start it, with a pipe to its standard input and one from its output.
class TaSimProcess {
 public:
  explicit TaSimProcess(std::vector<std::string> args) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    args.insert(args.begin(), MOKURO_TA_SIM);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, MOKURO_TA_SIM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = ::fdopen(out[0], "r");
    if (spawned != 0) throw std::runtime_error("posix_spawn");
  }
  ~TaSimProcess() {
    if (pid_ > 0) Stop();
    ::close(input_);
    std::fclose(output_);
  }

  std::string Line() {
    char line[512];
    if (std::fgets(line, sizeof line, output_) == nullptr) return {};
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  void Say(const std::string& line) {
    const std::string bytes = line + "\n";
    ASSERT_EQ(::write(input_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // The exit status after a TERM.
  int Stop() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  std::FILE* output_ = nullptr;
};

TEST(TaSimTest, ServesThePortNamedByItsLink) {
  test::TempDir dir;
  const std::string port = dir.File("port");
  const std::string log = dir.File("received.log");
  const std::string control = dir.File("control");
  TaSimProcess sim({"--link", port, "--log", log, "--control", control});
  const std::string device = sim.Line();
  EXPECT_TRUE(device.starts_with("/dev/")) << device;
  EXPECT_EQ(std::filesystem::read_symlink(port).string(), device);

  test::TestMainLoop loop;
  test::TestLinkHost host(loop);
  CommLink link(host);
  link.OpenComm(port, CommLink::FBaudRate);
  ASSERT_TRUE(link.FCommOpen);
  auto caller = [&] {
    MemoText memo;
    memo.SetText(host.replies.back());
    memo.DeleteLine0();
    return memo.Line(3);
  };
  auto ask = [&] {
    link.SendCommand("at\\l1");
    return loop.RunUntil([&, count = host.replies.size()] { return host.replies.size() > count; });
  };

  ASSERT_TRUE(ask());
  EXPECT_EQ(caller(), "RECEIVE CALLING PARTY    = ");
  sim.Say("call 0312345678");
  ASSERT_TRUE(loop.RunUntil([&] { return ask() && caller() == "RECEIVE CALLING PARTY    = 0312345678"; }));
  test::WriteBytes(control, "call 09012345678/64\n");
  ASSERT_TRUE(loop.RunUntil([&] { return ask() && caller() == "RECEIVE CALLING PARTY    = 09012345678/64"; }));
  link.CloseComm();

  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(port));
  const std::string received = test::ReadBytes(log);
  EXPECT_TRUE(received.starts_with("at\\l1\rat\\l1\r")) << received;
  EXPECT_EQ(received.find_first_not_of("at\\l1\r"), std::string::npos) << received;
}

}  // namespace
}  // namespace mokuro
