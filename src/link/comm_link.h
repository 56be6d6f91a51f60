#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "memo_text.h"

namespace mokuro {

// What the link needs of the main window.
class CommLinkHost {
 public:
  virtual ~CommLinkHost() = default;
  // A box owned by the main window, caption "確認", an OK button.
  virtual void ShowConfirmMessage(const std::string& text) = 0;
  // A box without owner, caption "GetLastError", the information icon, an OK button.
  virtual void ShowLastErrorMessage(const std::string& text) = 0;
  // Where write errors and the loss of the device are reported ("[CE-%u]").
  virtual MemoText& Memo() = 0;
  // Called from the reader thread: queue the task to run on the main thread, return at once.
  virtual void PostToMainThread(std::function<void()> task) = 0;
  // On the main thread, with a complete reply: it becomes FResponse and is processed.
  virtual void DeliverResponse(const std::string& reply) = 0;
};

class TCommReadThread;

// The serial port to the terminal adapter: open, line settings, the command writer and the
// reader thread that frames replies. Its methods run on the main thread only.
class CommLink {
 public:
  explicit CommLink(CommLinkHost& host);
  // Closes the port if open and joins every reader: none outlives the link.
  ~CommLink();
  CommLink(const CommLink&) = delete;
  CommLink& operator=(const CommLink&) = delete;

  // Success shows in FCommOpen; failures are shown to the user.
  void OpenComm(const std::string& portName, std::int32_t baudRate);
  // As OpenComm, but a failure is only logged: for the auto-check's ticks, which try to
  // get a lost device back without a box per tick.
  void RetryOpenComm(const std::string& portName, std::int32_t baudRate);
  bool SetCommParams(std::int32_t baudRate);
  // Only while FCommOpen. A reply not yet handed over is dropped.
  void CloseComm();
  // Writes the command and one CR; never waits for a reply.
  void SendCommand(const std::string& command);
  void ShowLastError();

  bool FCommOpen = false;
  // The line speed the adapter works at.
  static constexpr std::int32_t FBaudRate = 38400;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace mokuro
