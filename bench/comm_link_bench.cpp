#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "comm_link.h"
#include "simulated_adapter.h"
#include "test_link_host.h"

namespace mokuro {
namespace {

using Clock = std::chrono::steady_clock;

struct OpenLink {
  OpenLink() { link.OpenComm(adapter.DevicePath(), CommLink::FBaudRate); }
  SimulatedAdapter adapter;
  test::TestMainLoop loop;
  test::TestLinkHost host{loop};
  CommLink link{host};
};

// From the adapter's write of a reply's last byte to the reply's processing on the main
// thread, over a pseudo-terminal.
void BM_ReplyLatency(benchmark::State& state) {
  OpenLink open;
  if (!open.link.FCommOpen) {
    state.SkipWithError("port not opened");
    return;
  }
  Clock::time_point delivered;
  open.host.onReply = [&](const std::string&) { delivered = Clock::now(); };
  const std::string reply = open.adapter.ReplyTo("at\\l1");
  for (auto _ : state) {
    const std::size_t before = open.host.replies.size();
    open.adapter.Send(reply);
    if (!open.loop.RunUntil([&] { return open.host.replies.size() > before; })) {
      state.SkipWithError("no reply");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(delivered - open.adapter.LastByteWritten()).count());
  }
}
BENCHMARK(BM_ReplyLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Processor time of the whole process (the reader and the adapter's thread) while the
// port is open and the line idle.
void BM_IdlePortProcessorTime(benchmark::State& state) {
  OpenLink open;
  if (!open.link.FCommOpen) {
    state.SkipWithError("port not opened");
    return;
  }
  double used = 0;
  for (auto _ : state) {
    const double start = ProcessSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    used += ProcessSeconds() - start;
  }
  state.counters["cpu_ms_per_10s"] = used * 1000 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_IdlePortProcessorTime)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace mokuro
