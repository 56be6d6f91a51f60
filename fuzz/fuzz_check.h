#pragma once

#include <cstdio>
#include <cstdlib>

namespace mokuro::fuzz {

// A broken invariant ends the run as a crash does, so that libFuzzer keeps the input.
inline void Check(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

}  // namespace mokuro::fuzz
