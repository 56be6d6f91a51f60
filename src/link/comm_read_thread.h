#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "comm_link.h"
#include "reply_framer.h"
#include "serial_port.h"

namespace mokuro {

// The reader of one open port: waits for characters, frames them into replies and hands
// each complete reply to the main thread, waiting until it has been processed. Replies are
// so processed one at a time and in order, in whatever loop the main thread is serving.
class TCommReadThread {
 public:
  static constexpr std::uint32_t kChunkLimit = 1024;

  // onLost runs on the main thread, with the error number, when the device has gone.
  TCommReadThread(SerialPort& port, CommLinkHost& host, std::function<void(int error)> onLost);
  // Terminates and joins.
  ~TCommReadThread();
  TCommReadThread(const TCommReadThread&) = delete;
  TCommReadThread& operator=(const TCommReadThread&) = delete;

  void Start();
  // From the main thread, also from inside a hand-off of this reader: a hand-off that has
  // not run yet never will, and the reader stops waiting for one that runs. The reader
  // then leaves without touching the port again.
  void Terminate();

 private:
  struct HandOff;
  struct Chunk {
    std::size_t count = 0;
    int error = 0;  // non-zero: the device is gone
  };

  void Execute();
  // Reads what is queued, at most limit bytes.
  Chunk ReadChunk(char* buffer, std::uint32_t limit);
  // False when the reader has been terminated.
  bool ReadQueued();
  // Hands each reply the chunk completes to the main thread, in order.
  bool AppendChunk(std::size_t count);
  bool DeliverResponse(std::string reply);
  void ReportLost(int error);
  // Runs the method on the main thread and waits until it has returned; false, at once,
  // when the reader is terminated before or meanwhile.
  bool Synchronize(std::function<void()> method);
  bool Terminated() const;

  SerialPort& port_;
  CommLinkHost& host_;
  std::function<void(int)> onLost_;
  const std::shared_ptr<HandOff> handOff_;
  std::array<char, kChunkLimit> FReadBuffer{};
  ReplyFramer FReceived;
  std::thread thread_;
};

}  // namespace mokuro
