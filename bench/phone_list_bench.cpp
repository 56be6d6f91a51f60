// A phone book of 100,000 entries: loading it at start-up and naming a caller from it.
#include <benchmark/benchmark.h>

#include <string>

#include "file_bytes.h"
#include "phone_index.h"
#include "phone_list.h"
#include "temp_dir.h"

namespace {

constexpr int kEntries = 100000;

std::string Number(int i) { return "090" + std::to_string(10000000 + i); }

// Names in Shift_JIS (ポポ) unless given.
std::string Book(const std::string& name = "\x83\x7c\x83\x7c") {
  std::string bytes;
  for (int i = 0; i < kEntries; ++i) bytes += Number(i) + "=" + name + std::to_string(i) + "\r\n";
  return bytes;
}

void BM_LoadPhoneList(benchmark::State& state) {
  mokuro::test::TempDir dir;
  const auto path = dir.File("PhoneLst.txt");
  mokuro::test::WriteBytes(path, Book());
  mokuro::TPhoneList list;
  for (auto _ : state) {
    benchmark::DoNotOptimize(mokuro::LoadPhoneList(path, list));
  }
  state.counters["lines"] = static_cast<double>(list.size());
}
BENCHMARK(BM_LoadPhoneList)->Unit(benchmark::kMillisecond);

// The worst case: the caller is the last entry, or in no entry at all.
void BM_LookupName(benchmark::State& state) {
  const mokuro::TPhoneList list = mokuro::SplitLines(Book());
  const std::string number = state.range(0) ? Number(kEntries - 1) : std::string("0312345678");
  for (auto _ : state) {
    benchmark::DoNotOptimize(mokuro::LookupName(list, number));
  }
}
BENCHMARK(BM_LookupName)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// What the program does per incoming call: the index, built at load and at each save.
void BM_IndexLookup(benchmark::State& state) {
  const mokuro::PhoneIndex index(mokuro::SplitLines(Book()));
  const std::string number = state.range(0) ? Number(kEntries - 1) : std::string("0312345678");
  for (auto _ : state) {
    benchmark::DoNotOptimize(index.Lookup(number));
  }
}
BENCHMARK(BM_IndexLookup)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_BuildIndex(benchmark::State& state) {
  const mokuro::TPhoneList list = mokuro::SplitLines(Book());
  for (auto _ : state) {
    mokuro::PhoneIndex index(list);
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

// The code page of the book, decided when the index is built: at worst, in a UTF-8 book,
// by reading every line.
void BM_PhoneListCodePage(benchmark::State& state) {
  const mokuro::TPhoneList list = mokuro::SplitLines(state.range(0) ? Book("ポポ") : Book());
  for (auto _ : state) {
    benchmark::DoNotOptimize(mokuro::PhoneListCodePage(list));
  }
}
BENCHMARK(BM_PhoneListCodePage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
