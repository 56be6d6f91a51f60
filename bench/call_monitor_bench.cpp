#include <benchmark/benchmark.h>

#include <string>

#include "call_monitor.h"
#include "test_window.h"

namespace mokuro {
namespace {

const std::string kReport =
    "RECEIVE CALL COUNT        = 12\r\nRECEIVE DATE              = 12/11 10:15\r\n"
    "RECEIVE CALLED PARTY      = 0311112222\r\nRECEIVE CALLING PARTY     = 0312345678/64\r\n"
    "RECEIVE BEARER            = SPEECH\r\n\r\nOK\r\n";

// One incoming-number reply through the dispatch, with every command of the program
// sent: finding the echo, the memo, the caller from the phone book.
void BM_ProcessResponse(benchmark::State& state, std::string reply) {
  test::TestWindow window;
  CallMonitor monitor(window);
  monitor.SetPhoneList(TPhoneList{"0312345678=Office"});
  monitor.QuerySent(qkCharge, "at\\c0");
  monitor.QuerySent(qkDialInfo, "at\\l0");
  monitor.QuerySent(qkChrgClr, "at\\c1");
  monitor.QuerySent(qkRxInfo, "at\\l1");
  monitor.FResponse = reply;
  for (auto _ : state) {
    monitor.ProcessResponse();
    benchmark::DoNotOptimize(window.caller);
  }
}
BENCHMARK_CAPTURE(BM_ProcessResponse, echo_first, "at\\l1\r\r\n" + kReport);
BENCHMARK_CAPTURE(BM_ProcessResponse, ring_before_echo, "\r\nRING\r\n\r\nRING\r\nat\\l1\r\r\n" + kReport);
BENCHMARK_CAPTURE(BM_ProcessResponse, no_echo, "\r\n" + kReport);

}  // namespace
}  // namespace mokuro
