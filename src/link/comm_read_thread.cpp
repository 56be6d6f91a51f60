#include "comm_read_thread.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>

#include "event_log.h"

namespace mokuro {

// Shared with the tasks posted to the main thread, which may run after the reader is gone.
struct TCommReadThread::HandOff {
  std::mutex mutex;
  std::condition_variable changed;
  bool terminated = false;
  bool finished = false;
};

TCommReadThread::TCommReadThread(SerialPort& port, CommLinkHost& host, std::function<void(int)> onLost)
    : port_(port), host_(host), onLost_(std::move(onLost)), handOff_(std::make_shared<HandOff>()) {}

TCommReadThread::~TCommReadThread() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

void TCommReadThread::Start() { thread_ = std::thread([this] { Execute(); }); }

void TCommReadThread::Terminate() {
  {
    const std::lock_guard lock(handOff_->mutex);
    handOff_->terminated = true;
  }
  handOff_->changed.notify_all();
  port_.Wake();
}

bool TCommReadThread::Terminated() const {
  const std::lock_guard lock(handOff_->mutex);
  return handOff_->terminated;
}

void TCommReadThread::Execute() {
  for (;;) {
    const PortWaitResult wait = port_.WaitForInput();
    if (Terminated()) return;
    if (!ReadQueued()) return;
    if (wait.hungUp) {
      ReportLost(wait.error);
      return;
    }
  }
}

bool TCommReadThread::ReadQueued() {
  for (;;) {
    const Chunk chunk = ReadChunk(FReadBuffer.data(), kChunkLimit);
    if (chunk.error != 0) {
      ReportLost(chunk.error);
      return false;
    }
    if (chunk.count == 0) return true;
    if (!AppendChunk(chunk.count)) return false;
  }
}

TCommReadThread::Chunk TCommReadThread::ReadChunk(char* buffer, std::uint32_t limit) {
  std::uint32_t flags = 0;
  if (port_.TakeErrorFlags(flags) && flags != 0) LogEvent("line errors on reading: " + std::to_string(flags));
  const PortReadResult queued = port_.QueuedBytes();
  if (queued.error != 0) return {0, queued.error};
  const std::size_t count = std::min<std::size_t>(limit, queued.count);
  if (count == 0) return {};
  const PortReadResult read = port_.Read(buffer, count);
  return {read.count, read.error};
}

bool TCommReadThread::AppendChunk(std::size_t count) {
  FReceived.Append({FReadBuffer.data(), count});
  for (std::string reply; FReceived.TakeReply(reply);) {
    if (!DeliverResponse(std::move(reply))) return false;
  }
  return true;
}

bool TCommReadThread::DeliverResponse(std::string reply) {
  return Synchronize([host = &host_, reply = std::move(reply)] { host->DeliverResponse(reply); });
}

void TCommReadThread::ReportLost(int error) { Synchronize([onLost = onLost_, error] { onLost(error); }); }

bool TCommReadThread::Synchronize(std::function<void()> method) {
  {
    const std::lock_guard lock(handOff_->mutex);
    if (handOff_->terminated) return false;
    handOff_->finished = false;
  }
  host_.PostToMainThread([handOff = handOff_, method = std::move(method)] {
    {
      const std::lock_guard lock(handOff->mutex);
      if (handOff->terminated) return;
    }
    // Nothing else runs on the main thread meanwhile, so nothing can terminate the reader
    // between the test and the call, but the method itself.
    method();
    {
      const std::lock_guard lock(handOff->mutex);
      handOff->finished = true;
    }
    handOff->changed.notify_all();
  });
  std::unique_lock lock(handOff_->mutex);
  handOff_->changed.wait(lock, [this] { return handOff_->finished || handOff_->terminated; });
  return !handOff_->terminated;
}

}  // namespace mokuro
