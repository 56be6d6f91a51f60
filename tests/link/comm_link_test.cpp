#include "comm_link.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "call_monitor.h"
#include "file_bytes.h"
#include "simulated_adapter.h"
#include "system_error.h"
#include "temp_dir.h"
#include "test_link_host.h"
#include "test_window.h"

namespace mokuro {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr const char* kOpenFailed = "通信ポートを開けません。";
constexpr const char* kSetupFailed = "通信ポートの初期化ができませんでした。";

SimulatedAdapterOptions LinkedTo(const std::string& path) {
  SimulatedAdapterOptions options;
  options.linkPath = path;
  return options;
}

// The link on a pseudo-terminal with the simulated adapter at the far end, reached by a
// symbolic link as the port name, as a user's device would be.
class CommLinkTest : public ::testing::Test {
 protected:
  void Open() {
    link.OpenComm(adapter.PortName(), CommLink::FBaudRate);
    ASSERT_TRUE(link.FCommOpen);
  }
  bool RunUntilReplies(std::size_t count) {
    return loop.RunUntil([&] { return host.replies.size() >= count; });
  }
  void TearDown() override { EXPECT_EQ(host.nestedDeliveries, 0); }

  test::TempDir dir;
  SimulatedAdapter adapter{LinkedTo(dir.File("port"))};
  test::TestMainLoop loop;
  test::TestLinkHost host{loop};
  CommLink link{host};
};

TEST_F(CommLinkTest, EachCommandGoesOutWithOneCrAndItsReplyComesBackWhole) {
  Open();
  const std::vector<std::string> commands = {"at\\c0", "at\\l0", "at\\l1", "AT\\L1", "at\\c1", "at\\x9", "at\\l1"};
  std::string sent;
  for (const std::string& command : commands) {
    const std::string reply = adapter.ReplyTo(command);
    link.SendCommand(command);
    ASSERT_TRUE(RunUntilReplies(host.replies.size() + 1)) << command;
    // A rejected command's reply stands alone, and so does the one after it.
    EXPECT_EQ(host.replies.back(), reply) << command;
    sent += command + "\r";
  }
  EXPECT_EQ(adapter.Received(), sent);
  EXPECT_TRUE(host.confirms.empty());
}

TEST_F(CommLinkTest, CallerComesFromTheIncomingReport) {
  Open();
  test::TestWindow window;
  CallMonitor monitor(window);
  monitor.SetPhoneList(TPhoneList{"09012345678=Shop"});
  monitor.FQueryKind = qkRxInfo;
  host.onReply = [&](const std::string& reply) {
    monitor.FResponse = reply;
    monitor.ProcessResponse();
  };
  adapter.Call("09012345678/64");
  link.SendCommand("at\\l1");
  ASSERT_TRUE(RunUntilReplies(1));
  EXPECT_EQ(window.caller, "Shop");
}

TEST_F(CommLinkTest, OpensWithTheAdaptersLineSettings) {
  Open();
  termios t{};
  ASSERT_TRUE(adapter.LineSettings(t));
  EXPECT_EQ(cfgetispeed(&t), B38400);
  EXPECT_EQ(cfgetospeed(&t), B38400);
  EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD), CS8 | CLOCAL | CREAD);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

TEST_F(CommLinkTest, ReplySplitOverManyChunksIsDeliveredOnceWhenComplete) {
  Open();
  const std::string reply = adapter.ReplyTo("at\\l1");
  for (std::size_t at = 0; at < reply.size(); at += 7) {
    adapter.Send(reply.substr(at, 7));
    ASSERT_TRUE(adapter.WaitUntilRead(seconds(5)));
    loop.RunPending();
    if (at + 7 < reply.size()) {
      EXPECT_TRUE(host.replies.empty()) << at;
    }
  }
  ASSERT_TRUE(RunUntilReplies(1));
  EXPECT_EQ(host.replies, std::vector<std::string>{reply});
}

TEST_F(CommLinkTest, SlowAdapterWithNoiseAndZeroBytes) {
  adapter.SetByteDelay(milliseconds(1));
  adapter.SetNoise(true);
  adapter.SetZeroBytes(true);
  adapter.Call("0312345678");
  Open();
  link.SendCommand("at\\l1");
  ASSERT_TRUE(RunUntilReplies(1));
  ASSERT_EQ(host.replies.size(), 1u);
  const std::string& reply = host.replies[0];
  EXPECT_EQ(reply.find('\0'), std::string::npos);
  // The noise sits before the echo, on the line the program drops.
  MemoText memo;
  memo.SetText(reply);
  memo.DeleteLine0();
  EXPECT_EQ(memo.Line(3), "RECEIVE CALLING PARTY    = 0312345678");
  EXPECT_TRUE(reply.ends_with("\r\nOK\r\n"));
}

// Two replies, an unsolicited line and the start of a third in one write: each reply is
// handed over on its own, in order, and the rest waits for its end.
TEST_F(CommLinkTest, WhatFollowsTheResultCodeStartsTheNextReply) {
  Open();
  const std::string reply = adapter.ReplyTo("at\\l1");
  const std::string charge = adapter.ReplyTo("at\\c0");
  adapter.Send(reply + charge + "\r\nRING\r\n" + reply.substr(0, 7));
  ASSERT_TRUE(RunUntilReplies(2));
  ASSERT_TRUE(adapter.WaitUntilRead(seconds(5)));
  adapter.Send(reply.substr(7));
  ASSERT_TRUE(RunUntilReplies(3));
  EXPECT_EQ(host.replies, (std::vector<std::string>{reply, charge, "\r\nRING\r\n" + reply}));
}

TEST_F(CommLinkTest, OkInsideALineDoesNotEndTheReply) {
  Open();
  const std::string start = "at\\l0\r\r\nBOOK\r\nOKAY\r\n OK\r\n";
  adapter.Send(start);
  ASSERT_TRUE(adapter.WaitUntilRead(seconds(5)));
  adapter.Send("\r\nOK\r\n");
  ASSERT_TRUE(RunUntilReplies(1));
  EXPECT_EQ(host.replies, std::vector<std::string>{start + "\r\nOK\r\n"});
}

TEST_F(CommLinkTest, RepliesAreHandedOverOneAtATimeWhileAModalLoopRuns) {
  Open();
  const std::string first = adapter.ReplyTo("at\\c0");
  const std::string second = adapter.ReplyTo("at\\l0");
  host.onReply = [&](const std::string& reply) {
    if (reply != first) return;
    // A message box's loop: the second reply is on the line while the first is processed.
    adapter.Send(second);
    loop.RunUntil([&] { return adapter.AllWritten(); });
    loop.RunPending();
  };
  adapter.Send(first);
  ASSERT_TRUE(RunUntilReplies(2));
  EXPECT_EQ(host.replies, (std::vector<std::string>{first, second}));
}

TEST_F(CommLinkTest, ClosingWhileAReplyIsHalfReceivedDeliversNothing) {
  Open();
  const std::string reply = adapter.ReplyTo("at\\l1");
  adapter.Send(reply.substr(0, reply.size() / 2));
  ASSERT_TRUE(adapter.WaitUntilRead(seconds(5)));
  link.CloseComm();
  EXPECT_FALSE(link.FCommOpen);
  Open();
  link.SendCommand("at\\l1");
  ASSERT_TRUE(RunUntilReplies(1));
  EXPECT_EQ(host.replies, std::vector<std::string>{reply});
}

TEST_F(CommLinkTest, ClosingAbandonsAHandOffNotYetRun) {
  Open();
  adapter.Send(adapter.ReplyTo("at\\l1"));
  // The reader has posted the reply and waits for the main thread, which closes instead.
  ASSERT_TRUE(loop.WaitUntilPending(1, seconds(5)));
  link.CloseComm();
  loop.RunPending();
  EXPECT_TRUE(host.replies.empty());
}

TEST_F(CommLinkTest, ClosingAndReopeningInsideAHandOff) {
  // The settings dialog, opened under a box while a reply is processed, changes the port.
  Open();
  const std::string first = adapter.ReplyTo("at\\c0");
  const std::string second = adapter.ReplyTo("at\\l1");
  host.onReply = [&](const std::string& reply) {
    if (reply != first) return;
    link.CloseComm();
    link.OpenComm(adapter.PortName(), CommLink::FBaudRate);
    link.SendCommand("at\\l1");
    loop.RunUntil([&] { return host.replies.size() == 2; });
  };
  link.SendCommand("at\\c0");
  ASSERT_TRUE(RunUntilReplies(2));
  host.nestedDeliveries = 0;  // the new reader's reply came inside the first one's processing
  host.onReply = nullptr;
  EXPECT_EQ(host.replies, (std::vector<std::string>{first, second}));
  ASSERT_TRUE(link.FCommOpen);
  link.SendCommand("at\\l0");
  ASSERT_TRUE(RunUntilReplies(3));
  EXPECT_EQ(host.replies[2], adapter.ReplyTo("at\\l0"));
}

TEST_F(CommLinkTest, CommandWhileClosedReportsNothing) {
  host.memo.SetText("before");
  link.SendCommand("at\\c0");
  EXPECT_EQ(host.memo.Text(), "before");
  EXPECT_TRUE(host.confirms.empty());
  Open();
  link.SendCommand("at\\l1");
  ASSERT_TRUE(RunUntilReplies(1));
  // Had the first command gone anywhere, it would have come first.
  EXPECT_EQ(adapter.Received(), "at\\l1\r");
}

TEST_F(CommLinkTest, BusyPortGivesTheOpenMessage) {
  Open();
  test::TestLinkHost otherHost(loop);
  CommLink other(otherHost);
  other.RetryOpenComm(adapter.PortName(), CommLink::FBaudRate);
  EXPECT_FALSE(other.FCommOpen);
  EXPECT_TRUE(otherHost.confirms.empty());
  other.OpenComm(adapter.PortName(), CommLink::FBaudRate);
  EXPECT_FALSE(other.FCommOpen);
  EXPECT_EQ(otherHost.confirms,
            std::vector<std::string>{std::string(kOpenFailed) + "\n" + adapter.PortName() + ": " + SystemErrorText(EBUSY)});
  EXPECT_TRUE(adapter.HeldExclusively());
  link.CloseComm();
  // Released for everybody, also where the device outlives the close.
  EXPECT_FALSE(adapter.HeldExclusively());
  other.OpenComm(adapter.PortName(), CommLink::FBaudRate);
  EXPECT_TRUE(other.FCommOpen);
}

TEST_F(CommLinkTest, MissingPortGivesTheOpenMessage) {
  for (const std::string& name : {dir.File("none"), std::string("notaport"), std::string("COM0")}) {
    test::TestLinkHost otherHost(loop);
    CommLink other(otherHost);
    other.OpenComm(name, CommLink::FBaudRate);
    EXPECT_FALSE(other.FCommOpen) << name;
    EXPECT_EQ(otherHost.confirms,
              std::vector<std::string>{std::string(kOpenFailed) + "\n" + name + ": " + SystemErrorText(ENOENT)})
        << name;
    EXPECT_TRUE(otherHost.lastErrors.empty()) << name;
  }
}

TEST_F(CommLinkTest, RefusedLineSettingsGiveTheReasonAndTheSetupMessage) {
  const std::string file = dir.File("not-a-terminal");
  test::WriteBytes(file, "");
  link.OpenComm(file, CommLink::FBaudRate);
  EXPECT_FALSE(link.FCommOpen);
  EXPECT_EQ(host.lastErrors, std::vector<std::string>{SystemErrorText(ENOTTY)});
  EXPECT_EQ(host.confirms,
            std::vector<std::string>{std::string(kSetupFailed) + "\n" + file + ": " + SystemErrorText(ENOTTY)});
  link.RetryOpenComm(file, CommLink::FBaudRate);
  EXPECT_EQ(host.confirms.size(), 1u);
  EXPECT_EQ(host.lastErrors.size(), 1u);
  // The failed open let the file go.
  link.OpenComm(adapter.PortName(), CommLink::FBaudRate);
  EXPECT_TRUE(link.FCommOpen);
}

TEST_F(CommLinkTest, PulledDeviceEndsTheReaderAndComesBack) {
  Open();
  adapter.Unplug();
  ASSERT_TRUE(loop.RunUntil([&] { return !link.FCommOpen; }));
  EXPECT_EQ(host.memo.Text(), "[CE-" + std::to_string(EIO) + "]");
  loop.RunPending();
  // The auto-check's ticks try again without a box each.
  for (int tick = 0; tick < 3; ++tick) link.RetryOpenComm(adapter.PortName(), CommLink::FBaudRate);
  EXPECT_FALSE(link.FCommOpen);
  EXPECT_TRUE(host.confirms.empty());
  adapter.Plug();
  link.RetryOpenComm(adapter.PortName(), CommLink::FBaudRate);
  ASSERT_TRUE(link.FCommOpen);
  link.SendCommand("at\\l1");
  ASSERT_TRUE(RunUntilReplies(1));
  EXPECT_EQ(host.replies, std::vector<std::string>{adapter.ReplyTo("at\\l1")});
}

TEST_F(CommLinkTest, WriteThatTimesOutShowsInTheMemo) {
  Open();
  adapter.SetReading(false);
  // More than the line's queues hold, with nobody reading.
  link.SendCommand(std::string(1 << 20, 'a'));
  EXPECT_EQ(host.memo.Text(), "[CE-" + std::to_string(ETIMEDOUT) + "]");
}

}  // namespace
}  // namespace mokuro
