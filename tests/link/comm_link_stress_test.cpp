#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "comm_link.h"
#include "simulated_adapter.h"
#include "temp_dir.h"
#include "test_link_host.h"

namespace mokuro {
namespace {

using std::chrono::seconds;

// The port opened and closed a thousand times while the adapter streams replies: closed
// at once, closed with a hand-off waiting for the main thread, closed after a delivery,
// and closed and reopened from inside a hand-off. No reply may be delivered by a reader
// whose port has been closed.
TEST(CommLinkStressTest, OpenAndCloseWhileRepliesStream) {
  test::TempDir dir;
  SimulatedAdapterOptions options;
  options.linkPath = dir.File("port");
  SimulatedAdapter adapter(options);
  test::TestMainLoop loop;
  test::TestLinkHost host(loop);
  CommLink link(host);
  adapter.StreamReplies(std::chrono::milliseconds(1));

  int afterClose = 0;
  bool reopenInside = false;
  host.onReply = [&](const std::string&) {
    if (!link.FCommOpen) ++afterClose;
    if (!reopenInside) return;
    reopenInside = false;
    link.CloseComm();
    link.OpenComm(adapter.PortName(), CommLink::FBaudRate);
  };
  auto closeAndCheck = [&] {
    link.CloseComm();
    loop.RunPending();
  };

  for (int cycle = 0; cycle < 1000; ++cycle) {
    link.OpenComm(adapter.PortName(), CommLink::FBaudRate);
    ASSERT_TRUE(link.FCommOpen) << cycle;
    const std::size_t before = host.replies.size();
    switch (cycle % 4) {
      case 0:
        break;
      case 1:
        ASSERT_TRUE(loop.WaitUntilPending(1, seconds(10))) << cycle;
        break;
      case 2:
        ASSERT_TRUE(loop.RunUntil([&] { return host.replies.size() > before; }, seconds(10))) << cycle;
        break;
      case 3:
        reopenInside = true;
        ASSERT_TRUE(loop.RunUntil([&] { return !reopenInside; }, seconds(10))) << cycle;
        ASSERT_TRUE(link.FCommOpen) << cycle;
        ASSERT_TRUE(loop.RunUntil([&] { return host.replies.size() > before + 1; }, seconds(10))) << cycle;
        break;
    }
    closeAndCheck();
    ASSERT_EQ(afterClose, 0) << cycle;
  }
  EXPECT_GE(host.replies.size(), 500u);
  for (const std::string& reply : host.replies) EXPECT_NE(reply.find("\r\nOK\r\n"), std::string::npos);
}

}  // namespace
}  // namespace mokuro
