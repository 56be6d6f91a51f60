#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <mutex>

#include "serial_port.h"

namespace mokuro {
namespace {

// How a pseudo-terminal, or a port without modem lines, answers an ioctl it has no use for.
bool Unsupported(int error) { return error == ENOTTY || error == EINVAL; }

bool RetryCall(int result) { return result < 0 && errno == EINTR; }

speed_t SpeedFor(std::int32_t baudRate) {
  struct Speed {
    std::int32_t rate;
    speed_t value;
  };
  static constexpr Speed kSpeeds[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},
                                      {9600, B9600},     {19200, B19200},   {38400, B38400},
                                      {57600, B57600},   {115200, B115200}, {230400, B230400}};
  for (const Speed& s : kSpeeds)
    if (s.rate == baudRate) return s.value;
  return B0;
}

void MakeRaw(termios& t, speed_t speed) {
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                      IXANY | INPCK);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
}

// tcsetattr succeeds when any one change took, so the settings are compared as read back.
bool SameLine(const termios& want, const termios& got) {
  constexpr tcflag_t kInput = IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | PARMRK;
  constexpr tcflag_t kControl = CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD;
  constexpr tcflag_t kLocal = ECHO | ICANON | ISIG | IEXTEN;
  return cfgetispeed(&got) == cfgetispeed(&want) && cfgetospeed(&got) == cfgetospeed(&want) &&
         (got.c_iflag & kInput) == (want.c_iflag & kInput) && (got.c_cflag & kControl) == (want.c_cflag & kControl) &&
         (got.c_lflag & kLocal) == (want.c_lflag & kLocal) && (got.c_oflag & OPOST) == (want.c_oflag & OPOST);
}

class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {
    std::uint32_t ignored;
    TakeErrorFlags(ignored);
  }
  ~PosixSerialPort() override {
    // The flag can outlast the descriptor (a pseudo-terminal whose other end stays open),
    // and would keep everybody but root out.
    ::ioctl(fd_, TIOCNXCL);
    ::close(wakeFd_);
    ::close(fd_);
  }
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool SetLine(std::int32_t baudRate) override {
    const speed_t speed = SpeedFor(baudRate);
    if (speed == B0) {
      errno = EINVAL;
      return false;
    }
    termios want{};
    if (::tcgetattr(fd_, &want) != 0) return false;
    MakeRaw(want, speed);
    if (::tcsetattr(fd_, TCSANOW, &want) != 0) return false;
    termios got{};
    if (::tcgetattr(fd_, &got) != 0) return false;
    if (!SameLine(want, got)) {
      errno = EINVAL;
      return false;
    }
    return ModemLines(TIOCM_RTS, true);
  }

  bool SetDtr(bool on) override { return ModemLines(TIOCM_DTR, on); }

  bool Purge() override { return ::tcflush(fd_, TCIOFLUSH) == 0; }

  PortWaitResult WaitForInput() override {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    int n;
    do n = ::poll(fds, 2, -1);
    while (RetryCall(n));
    if (n < 0) return {true, errno};
    if (fds[1].revents != 0) return {};
    if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return {true, EIO};
    return {};
  }

  void Wake() override {
    const std::uint64_t one = 1;
    // The counter only grows, so the descriptor stays readable: no wait after this blocks.
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
  }

  PortReadResult QueuedBytes() override {
    int count = 0;
    if (::ioctl(fd_, FIONREAD, &count) != 0) return {0, errno};
    return {static_cast<std::size_t>(count), 0};
  }

  PortReadResult Read(char* buffer, std::size_t count) override {
    ssize_t n;
    do n = ::read(fd_, buffer, count);
    while (RetryCall(static_cast<int>(n)));
    if (n > 0) return {static_cast<std::size_t>(n), 0};
    if (n == 0) return {0, EIO};  // a hung-up terminal reads as end of file
    if (errno == EAGAIN) return {};
    return {0, errno};
  }

  PortWriteResult Write(std::string_view bytes, std::chrono::milliseconds totalTimeout) override {
    const auto deadline = std::chrono::steady_clock::now() + totalTimeout;
    bool waited = false;
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n >= 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
        continue;
      }
      if (errno == EINTR) continue;
      if (errno != EAGAIN) return {waited ? PortWriteResult::kFailedPending : PortWriteResult::kFailed, errno};
      waited = true;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {PortWriteResult::kFailedPending, ETIMEDOUT};
      pollfd fd{fd_, POLLOUT, 0};
      if (RetryCall(::poll(&fd, 1, static_cast<int>(left.count())))) continue;
    }
    return {};
  }

  bool TakeErrorFlags(std::uint32_t& flags) override {
    serial_icounter_struct now{};
    if (::ioctl(fd_, TIOCGICOUNT, &now) != 0) return false;
    const std::lock_guard lock(countsMutex_);
    flags = 0;
    if (now.overrun != counts_.overrun) flags |= kLineOverrun;
    if (now.buf_overrun != counts_.buf_overrun) flags |= kLineBufferOverrun;
    if (now.parity != counts_.parity) flags |= kLineParity;
    if (now.frame != counts_.frame) flags |= kLineFraming;
    if (now.brk != counts_.brk) flags |= kLineBreak;
    counts_ = now;
    return true;
  }

 private:
  bool ModemLines(int lines, bool on) {
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &lines) == 0) return true;
    return Unsupported(errno);
  }

  const int fd_;
  const int wakeFd_;
  std::mutex countsMutex_;
  serial_icounter_struct counts_{};
};

}  // namespace

std::string SerialDevicePath(const std::string& portName) {
  if (!portName.empty() && portName[0] == '/') return portName;
  if (portName.size() < 4) return {};
  for (std::size_t i = 0; i < 3; ++i)
    if ((portName[i] | 0x20) != "com"[i]) return {};
  unsigned number = 0;
  const char* first = portName.data() + 3;
  const char* last = portName.data() + portName.size();
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || *first == '0' || number == 0) return {};
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& portName) {
  const std::string path = SerialDevicePath(portName);
  if (path.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  // Close-on-exec, so that no program started from here (the help browser) holds the port.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  auto fail = [fd](int error) {
    ::close(fd);
    errno = error;
    return nullptr;
  };
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno == EWOULDBLOCK ? EBUSY : errno);
  if (::ioctl(fd, TIOCEXCL) != 0 && !Unsupported(errno)) return fail(errno);
  const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd < 0) return fail(errno);
  return std::make_unique<PosixSerialPort>(fd, wakeFd);
}

}  // namespace mokuro
