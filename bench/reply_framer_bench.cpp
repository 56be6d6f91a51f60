#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "reply_framer.h"

namespace mokuro {
namespace {

// A reply of the given size written in chunks of the given size: report lines, then
// the result code.
void BM_FrameReply(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const auto chunk = static_cast<std::size_t>(state.range(1));
  std::string reply;
  while (reply.size() + 40 < size) reply += "RECEIVE CALLING PARTY    = 0312345678\r\n";
  reply.resize(size - 6, '~');
  reply += "\r\nOK\r\n";
  for (auto _ : state) {
    ReplyFramer framer;
    int replies = 0;
    std::string taken;
    for (std::size_t at = 0; at < reply.size(); at += chunk) {
      framer.Append(std::string_view(reply).substr(at, chunk));
      while (framer.TakeReply(taken)) ++replies;
    }
    benchmark::DoNotOptimize(replies);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.SetComplexityN(static_cast<std::int64_t>(size));
}
BENCHMARK(BM_FrameReply)
    ->ArgNames({"bytes", "chunk"})
    ->ArgsProduct({{64 << 10, 256 << 10, 1 << 20}, {1}})
    ->Complexity(benchmark::oN);
BENCHMARK(BM_FrameReply)
    ->ArgNames({"bytes", "chunk"})
    ->ArgsProduct({{64 << 10, 256 << 10, 1 << 20}, {1024}})
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace mokuro
