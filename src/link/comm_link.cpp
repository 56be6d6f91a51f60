#include "comm_link.h"

#include <cerrno>
#include <chrono>
#include <string_view>

#include "comm_read_thread.h"
#include "event_log.h"
#include "port_failure_text.h"
#include "serial_port.h"
#include "system_error.h"

namespace mokuro {
namespace {

constexpr std::string_view kOpenFailed = "通信ポートを開けません。";
constexpr std::string_view kSetupFailed = "通信ポートの初期化ができませんでした。";
constexpr std::chrono::milliseconds kWriteTimeout{1000};

std::string ErrorTag(unsigned number) { return "[CE-" + std::to_string(number) + "]"; }

std::string Described(int error) { return ErrorTag(static_cast<unsigned>(error)) + " " + SystemErrorText(error); }

}  // namespace

struct CommLink::Impl {
  Impl(CommLink& link, CommLinkHost& host) : link(link), host(host) {}

  void Open(const std::string& portName, std::int32_t baudRate, bool showFailures);
  // The error number of a refusal, 0 on success.
  int ApplyLine(std::int32_t baudRate, bool showFailure);
  void Lost(int error);

  CommLink& link;
  CommLinkHost& host;
  std::string FPortName;
  std::unique_ptr<SerialPort> FCommHandle;
  std::unique_ptr<TCommReadThread> FReadThread;
};

CommLink::CommLink(CommLinkHost& host) : impl_(std::make_unique<Impl>(*this, host)) {}

CommLink::~CommLink() {
  if (FCommOpen) CloseComm();
}

void CommLink::OpenComm(const std::string& portName, std::int32_t baudRate) { impl_->Open(portName, baudRate, true); }

void CommLink::RetryOpenComm(const std::string& portName, std::int32_t baudRate) {
  impl_->Open(portName, baudRate, false);
}

void CommLink::Impl::Open(const std::string& portName, std::int32_t baudRate, bool showFailures) {
  // Only one reader per link: a second open replaces the first.
  if (link.FCommOpen) link.CloseComm();
  FCommHandle = OpenSerialPort(portName);
  if (!FCommHandle) {
    const int error = LastSystemError();
    LogEvent("port " + portName + ": open failed: " + Described(error));
    if (showFailures) host.ShowConfirmMessage(PortFailureText(kOpenFailed, portName, error));
    return;
  }
  FCommHandle->Purge();
  if (const int error = ApplyLine(baudRate, showFailures); error != 0) {
    FCommHandle.reset();
    if (showFailures) host.ShowConfirmMessage(PortFailureText(kSetupFailed, portName, error));
    return;
  }
  if (!FCommHandle->SetDtr(true)) LogEvent("port " + portName + ": DTR not raised: " + Described(LastSystemError()));
  FPortName = portName;
  FReadThread = std::make_unique<TCommReadThread>(*FCommHandle, host, [this](int error) { Lost(error); });
  FReadThread->Start();
  link.FCommOpen = true;
  LogEvent("port " + portName + " (" + SerialDevicePath(portName) + ") opened at " + std::to_string(baudRate) +
           " bit/s");
}

bool CommLink::SetCommParams(std::int32_t baudRate) { return impl_->ApplyLine(baudRate, true) == 0; }

int CommLink::Impl::ApplyLine(std::int32_t baudRate, bool showFailure) {
  if (FCommHandle && FCommHandle->SetLine(baudRate)) return 0;
  if (!FCommHandle) SetLastSystemError(EBADF);
  const int error = LastSystemError();
  if (showFailure) link.ShowLastError();
  LogEvent("port line settings refused: " + Described(error));
  return error != 0 ? error : EIO;
}

void CommLink::CloseComm() {
  if (!FCommOpen) return;
  impl_->FReadThread.reset();
  impl_->FCommHandle->SetDtr(false);
  impl_->FCommHandle->Purge();
  impl_->FCommHandle.reset();
  FCommOpen = false;
  LogEvent("port " + impl_->FPortName + " closed");
}

void CommLink::Impl::Lost(int error) {
  LogEvent("port " + FPortName + " lost: " + Described(error));
  host.Memo().SetText(ErrorTag(static_cast<unsigned>(error)));
  link.CloseComm();
}

void CommLink::SendCommand(const std::string& command) {
  const std::string bytes = command + '\r';
  if (!FCommOpen) {
    LogEvent("command not sent, the port is closed: " + EscapeForLog(bytes));
    return;
  }
  LogEvent("command sent: " + EscapeForLog(bytes));
  SerialPort& port = *impl_->FCommHandle;
  const PortWriteResult result = port.Write(bytes, kWriteTimeout);
  if (result.status == PortWriteResult::kDone) return;
  LogEvent("command write failed: " + Described(result.error));
  MemoText& memo = impl_->host.Memo();
  std::uint32_t flags = 0;
  if (result.status == PortWriteResult::kFailedPending) {
    memo.SetText(ErrorTag(static_cast<unsigned>(result.error)));
    if (port.TakeErrorFlags(flags) && flags != 0) memo.SetText(memo.Text() + ErrorTag(flags));
  } else if (port.TakeErrorFlags(flags) && flags != 0) {
    memo.SetText(ErrorTag(flags));
  }
}

void CommLink::ShowLastError() { impl_->host.ShowLastErrorMessage(SystemErrorText(LastSystemError())); }

}  // namespace mokuro
