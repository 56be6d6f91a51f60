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
// then looks at what the child left. `span` is the time one write takes, measured by the
// caller: the delay is not a wait for anything.
inline void KillWritersAtRandom(int rounds, std::chrono::microseconds span, const std::function<void()>& write,
                                const std::function<void(int round)>& afterKill) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, span.count() + 1);
  for (int round = 0; round < rounds; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(ready[0]);
      if (::write(ready[1], "r", 1) != 1) ::_exit(1);
      write();
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char started = 0;
    ASSERT_EQ(::read(ready[0], &started, 1), 1);
    ::close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    afterKill(round);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// How long `write` takes once, for the span of the kills.
inline std::chrono::microseconds TimeOf(const std::function<void()>& write) {
  const auto start = std::chrono::steady_clock::now();
  write();
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

}  // namespace mokuro::test
