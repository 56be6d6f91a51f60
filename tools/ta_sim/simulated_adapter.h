#pragma once

#include <termios.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace mokuro {

struct SimulatedAdapterOptions {
  // A symbolic link made to the device and moved to each new one: the port name that
  // stays the same when the device is pulled and comes back. Empty for none.
  std::string linkPath;
  // Slow writing: one byte at a time, with this delay before each.
  std::chrono::milliseconds byteDelay{0};
  // A few random bytes (never CR or LF) before each reply, as a noisy line gives.
  bool noise = false;
  // Zero bytes scattered through each reply.
  bool zeroBytes = false;
  // Every byte received is appended to this file as it comes. Empty for none.
  std::string logPath;
  std::uint32_t seed = 1;
};

// A terminal adapter on the far end of a pseudo-terminal, served on a thread of its own.
// It echoes each CR-ended command line, then answers with its report lines and
// "\r\nOK\r\n", or "\r\nERROR\r\n" for a command it doesn't know.
//
// Commands (any letter case) and their report lines, each "NAME = value" with the
// name padded to 25 characters:
//   at\c0  charges:         CHARGE TOTAL (yen), CHARGE CALLS, CHARGE CLEARED (date)
//   at\l0  dialled numbers: TRANSMIT CALL COUNT, TRANSMIT DATE, TRANSMIT CALLING PARTY,
//                           TRANSMIT CALLED PARTY, TRANSMIT CHARGE
//   at\l1  incoming calls:  RECEIVE CALL COUNT, RECEIVE DATE, RECEIVE CALLED PARTY,
//                           RECEIVE CALLING PARTY (line 3 of the report), RECEIVE BEARER
//   at\c1  clears the charge counter; no report lines.
// So "at\l1" is answered as
//   at\l1 CR, CR LF, five report lines each ending CR LF, CR LF "OK" CR LF.
class SimulatedAdapter {
 public:
  static constexpr std::string_view kOwnNumber = "0311112222";

  explicit SimulatedAdapter(SimulatedAdapterOptions options = {});
  ~SimulatedAdapter();
  SimulatedAdapter(const SimulatedAdapter&) = delete;
  SimulatedAdapter& operator=(const SimulatedAdapter&) = delete;

  // The pseudo-terminal's device; empty while unplugged.
  std::string DevicePath() const;
  // The link path when there is one, else the device.
  std::string PortName() const;
  bool Plugged() const;

  // Every byte received so far.
  std::string Received() const;
  // The command lines received so far, without their CR.
  std::vector<std::string> Commands() const;
  bool WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForBytes(std::size_t count, std::chrono::milliseconds timeout) const;
  // Everything sent so far has been written to the device.
  bool AllWritten() const;
  // Waits until everything sent has been written and the other end has read it.
  bool WaitUntilRead(std::chrono::milliseconds timeout) const;
  // The line settings the other end has made.
  bool LineSettings(termios& settings) const;
  // Whether the other end has made the device its own (no further opens but root's).
  bool HeldExclusively() const;

  // The answer to a command line as things stand, without noise or zero bytes.
  std::string ReplyTo(std::string_view commandLine) const;
  // An incoming call from the number (with "/" and a subaddress, if wanted).
  void Call(const std::string& number);
  // An outgoing call: its charge is added to the counter.
  void Dial(const std::string& number, unsigned yen);
  unsigned Charge() const;

  // Bytes sent as they are, after what is already queued.
  void Send(std::string bytes);
  // Sends the incoming-call reply again and again, the gap after each; zero stops it.
  void StreamReplies(std::chrono::microseconds gap);
  std::size_t RepliesStreamed() const;
  // When the last byte so far went out.
  std::chrono::steady_clock::time_point LastByteWritten() const;

  void SetByteDelay(std::chrono::milliseconds delay);
  void SetNoise(bool on);
  void SetZeroBytes(bool on);
  // Off: input is left unread, as by a stalled device, so the other end's writes back up.
  void SetReading(bool on);

  // The device goes away: both ends close and the link is removed.
  void Unplug();
  // A new device, with the link pointing to it.
  void Plug();

 private:
  struct CallRecord {
    unsigned count = 0;
    std::string date;
    std::string number;
  };

  void CreateDevice();
  void CloseDevice();
  void Serve();
  void ReadInput();
  void WriteOutput(std::chrono::steady_clock::time_point now);
  void Answer(const std::string& commandLine);
  std::string Reply(std::string_view commandLine) const;
  std::string Garbled(std::string reply);
  void Wake() const;
  template <class Done>
  bool WaitFor(std::chrono::milliseconds timeout, Done done) const;

  SimulatedAdapterOptions options_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  int master_ = -1;
  int slave_ = -1;  // held open, so that the line stays up while the other end closes it
  std::string devicePath_;
  int wakeFd_ = -1;
  int logFd_ = -1;
  bool stop_ = false;
  bool unplugRequested_ = false;
  bool reading_ = true;

  std::string received_;
  std::string line_;
  std::vector<std::string> commands_;
  std::string output_;
  std::chrono::steady_clock::time_point nextByte_{};
  std::chrono::steady_clock::time_point lastByteWritten_{};
  std::chrono::microseconds streamGap_{0};
  std::chrono::steady_clock::time_point nextStream_{};
  std::size_t streamed_ = 0;

  CallRecord incoming_;
  CallRecord dialled_;
  unsigned lastDialCharge_ = 0;
  unsigned charge_ = 0;
  unsigned chargedCalls_ = 0;
  std::string clearedDate_;
  std::mt19937 random_;

  std::thread thread_;
};

}  // namespace mokuro
