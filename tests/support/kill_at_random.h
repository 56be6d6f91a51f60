#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace mokuro::test {

// Kills writers at random moments: for each round a child process runs `write` (and then
// waits), and is killed with SIGKILL after a random delay of up to `span` from its start,
// so that the kill falls anywhere inside the writing or after it; `afterKill(round)`
// then looks at what the child left and tells whether the kill fell inside the writing.
// `span` is the time one write takes, measured by the caller: the delay is not a wait for
// anything. On a slow or busy machine the child may start late, so the rounds go on past
// `rounds` until a kill has fallen inside, up to ten times as many; returns how many did.
inline int KillWritersAtRandom(int rounds, std::chrono::microseconds span, const std::function<void()>& write,
                               const std::function<bool(int round)>& afterKill) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, span.count() + 1);
  int inside = 0;
  for (int round = 0; round < rounds || (inside == 0 && round < 10 * rounds); ++round) {
    int ready[2];
    if (::pipe(ready) != 0) {
      ADD_FAILURE() << "pipe";
      return inside;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
      ADD_FAILURE() << "fork";
      return inside;
    }
    if (pid == 0) {
      ::close(ready[0]);
      if (::write(ready[1], "r", 1) != 1) ::_exit(1);
      write();
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char started = 0;
    EXPECT_EQ(::read(ready[0], &started, 1), 1);
    ::close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    EXPECT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status));
    if (afterKill(round)) ++inside;
    if (::testing::Test::HasFailure()) return inside;
  }
  return inside;
}

// How long `write` takes once, for the span of the kills.
inline std::chrono::microseconds TimeOf(const std::function<void()>& write) {
  const auto start = std::chrono::steady_clock::now();
  write();
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

}  // namespace mokuro::test
