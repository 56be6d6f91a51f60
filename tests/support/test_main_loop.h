#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

namespace mokuro::test {

// A main thread's event loop for tests without Qt: tasks posted from any thread run on
// the thread that serves the loop, one at a time, in order. Serving may nest, as a modal
// box's loop does.
class TestMainLoop {
 public:
  using Clock = std::chrono::steady_clock;

  void Post(std::function<void()> task) {
    {
      const std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
  }

  std::size_t Pending() const {
    const std::lock_guard lock(mutex_);
    return tasks_.size();
  }

  // Waits, without running any, until so many tasks are queued.
  bool WaitUntilPending(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, timeout, [&] { return tasks_.size() >= count; });
  }

  // Runs tasks until done() holds, which is tested before each task and every
  // millisecond; false when the time runs out first.
  template <class Done>
  bool RunUntil(Done done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
      if (Clock::now() >= deadline) return false;
      RunOne(std::chrono::milliseconds(1));
    }
    return true;
  }

  // Runs the next task, waiting for one at most the given time; false when none came.
  bool RunOne(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_for(lock, wait, [this] { return !tasks_.empty(); })) return false;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
    ++ran_;
    return true;
  }

  // How many tasks have run so far.
  std::size_t Ran() const { return ran_; }

  // Runs what is queued now and what those tasks queue, until the queue is empty.
  void RunPending() {
    while (RunOne()) {
    }
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
  std::size_t ran_ = 0;  // only the serving thread touches it
};

}  // namespace mokuro::test
