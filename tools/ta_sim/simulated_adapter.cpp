#include "simulated_adapter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace mokuro {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";
constexpr std::string_view kNoDate = "----/--/-- --:--:--";

[[noreturn]] void Fail(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

std::string Field(std::string_view name, const std::string& value) {
  std::string line(name);
  line.resize(25, ' ');
  return line + "= " + value + "\r\n";
}

std::string Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

}  // namespace

SimulatedAdapter::SimulatedAdapter(SimulatedAdapterOptions options)
    : options_(std::move(options)), clearedDate_(Now()), random_(options_.seed) {
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) Fail("eventfd");
  if (!options_.logPath.empty()) {
    logFd_ = ::open(options_.logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd_ < 0) Fail(options_.logPath.c_str());
  }
  CreateDevice();
  thread_ = std::thread([this] { Serve(); });
}

SimulatedAdapter::~SimulatedAdapter() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  Wake();
  thread_.join();
  CloseDevice();
  if (logFd_ >= 0) ::close(logFd_);
  ::close(wakeFd_);
}

void SimulatedAdapter::CreateDevice() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) Fail("posix_openpt");
  char name[128];
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0)
    Fail("pseudo-terminal");
  devicePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave_ < 0) Fail(name);
  // Raw from the start: a terminal's echo would send the replies back as commands.
  termios t{};
  if (::tcgetattr(slave_, &t) != 0) Fail("tcgetattr");
  ::cfmakeraw(&t);
  ::cfsetspeed(&t, B38400);
  t.c_cflag |= CLOCAL | CREAD;
  if (::tcsetattr(slave_, TCSANOW, &t) != 0) Fail("tcsetattr");
  if (!options_.linkPath.empty()) {
    const std::string temporary = options_.linkPath + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(name, temporary.c_str()) != 0) Fail(temporary.c_str());
    if (::rename(temporary.c_str(), options_.linkPath.c_str()) != 0) Fail(options_.linkPath.c_str());
  }
}

void SimulatedAdapter::CloseDevice() {
  if (master_ < 0) return;
  if (!options_.linkPath.empty()) ::unlink(options_.linkPath.c_str());
  ::close(master_);
  ::close(slave_);
  master_ = slave_ = -1;
  devicePath_.clear();
  output_.clear();
  line_.clear();
}

std::string SimulatedAdapter::DevicePath() const {
  const std::lock_guard lock(mutex_);
  return devicePath_;
}

std::string SimulatedAdapter::PortName() const {
  return options_.linkPath.empty() ? DevicePath() : options_.linkPath;
}

bool SimulatedAdapter::Plugged() const {
  const std::lock_guard lock(mutex_);
  return master_ >= 0;
}

std::string SimulatedAdapter::Received() const {
  const std::lock_guard lock(mutex_);
  return received_;
}

std::vector<std::string> SimulatedAdapter::Commands() const {
  const std::lock_guard lock(mutex_);
  return commands_;
}

template <class Done>
bool SimulatedAdapter::WaitFor(std::chrono::milliseconds timeout, Done done) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, done);
}

bool SimulatedAdapter::WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitFor(timeout, [&] { return commands_.size() >= count; });
}

bool SimulatedAdapter::WaitForBytes(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitFor(timeout, [&] { return received_.size() >= count; });
}

bool SimulatedAdapter::AllWritten() const {
  const std::lock_guard lock(mutex_);
  return output_.empty();
}

bool SimulatedAdapter::WaitUntilRead(std::chrono::milliseconds timeout) const {
  // The other end's reading can't be waited on, so its input queue is looked at until empty.
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    {
      const std::lock_guard lock(mutex_);
      int queued = 0;
      if (slave_ >= 0 && output_.empty() && ::ioctl(slave_, FIONREAD, &queued) == 0 && queued == 0) return true;
    }
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool SimulatedAdapter::LineSettings(termios& settings) const {
  const std::lock_guard lock(mutex_);
  return slave_ >= 0 && ::tcgetattr(slave_, &settings) == 0;
}

bool SimulatedAdapter::HeldExclusively() const {
  const std::lock_guard lock(mutex_);
  int exclusive = 0;
  return slave_ >= 0 && ::ioctl(slave_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

std::string SimulatedAdapter::ReplyTo(std::string_view commandLine) const {
  const std::lock_guard lock(mutex_);
  return Reply(commandLine);
}

std::string SimulatedAdapter::Reply(std::string_view commandLine) const {
  std::string reply(commandLine);
  reply += '\r';
  const std::string command = Lower(commandLine);
  std::string report;
  if (command == "at\\c0") {
    report = Field("CHARGE TOTAL", std::to_string(charge_)) + Field("CHARGE CALLS", std::to_string(chargedCalls_)) +
             Field("CHARGE CLEARED", clearedDate_);
  } else if (command == "at\\l0") {
    report = Field("TRANSMIT CALL COUNT", std::to_string(dialled_.count)) +
             Field("TRANSMIT DATE", dialled_.count ? dialled_.date : std::string(kNoDate)) +
             Field("TRANSMIT CALLING PARTY", std::string(kOwnNumber)) +
             Field("TRANSMIT CALLED PARTY", dialled_.number) +
             Field("TRANSMIT CHARGE", std::to_string(lastDialCharge_));
  } else if (command == "at\\l1") {
    report = Field("RECEIVE CALL COUNT", std::to_string(incoming_.count)) +
             Field("RECEIVE DATE", incoming_.count ? incoming_.date : std::string(kNoDate)) +
             Field("RECEIVE CALLED PARTY", std::string(kOwnNumber)) +
             Field("RECEIVE CALLING PARTY", incoming_.number) + Field("RECEIVE BEARER", "SPEECH");
  } else if (command != "at\\c1") {
    return reply.append(kError);
  }
  if (!report.empty()) reply.append("\r\n").append(report);
  return reply.append(kOk);
}

void SimulatedAdapter::Call(const std::string& number) {
  const std::lock_guard lock(mutex_);
  incoming_ = {incoming_.count + 1, Now(), number};
}

void SimulatedAdapter::Dial(const std::string& number, unsigned yen) {
  const std::lock_guard lock(mutex_);
  dialled_ = {dialled_.count + 1, Now(), number};
  lastDialCharge_ = yen;
  charge_ += yen;
  ++chargedCalls_;
}

unsigned SimulatedAdapter::Charge() const {
  const std::lock_guard lock(mutex_);
  return charge_;
}

void SimulatedAdapter::Send(std::string bytes) {
  {
    const std::lock_guard lock(mutex_);
    if (master_ < 0) return;
    output_ += bytes;
  }
  Wake();
}

void SimulatedAdapter::StreamReplies(std::chrono::microseconds gap) {
  {
    const std::lock_guard lock(mutex_);
    streamGap_ = gap;
    nextStream_ = Clock::now();
  }
  Wake();
}

std::size_t SimulatedAdapter::RepliesStreamed() const {
  const std::lock_guard lock(mutex_);
  return streamed_;
}

std::chrono::steady_clock::time_point SimulatedAdapter::LastByteWritten() const {
  const std::lock_guard lock(mutex_);
  return lastByteWritten_;
}

void SimulatedAdapter::SetByteDelay(std::chrono::milliseconds delay) {
  {
    const std::lock_guard lock(mutex_);
    options_.byteDelay = delay;
  }
  Wake();
}

void SimulatedAdapter::SetNoise(bool on) {
  const std::lock_guard lock(mutex_);
  options_.noise = on;
}

void SimulatedAdapter::SetZeroBytes(bool on) {
  const std::lock_guard lock(mutex_);
  options_.zeroBytes = on;
}

void SimulatedAdapter::SetReading(bool on) {
  {
    const std::lock_guard lock(mutex_);
    reading_ = on;
  }
  Wake();
}

void SimulatedAdapter::Unplug() {
  std::unique_lock lock(mutex_);
  if (master_ < 0) return;
  // The serving thread may be polling the device: it closes it itself.
  unplugRequested_ = true;
  Wake();
  changed_.wait(lock, [this] { return !unplugRequested_; });
}

void SimulatedAdapter::Plug() {
  {
    const std::lock_guard lock(mutex_);
    if (master_ >= 0) return;
    CreateDevice();
  }
  Wake();
}

void SimulatedAdapter::Wake() const {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

void SimulatedAdapter::Serve() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    if (unplugRequested_) {
      CloseDevice();
      unplugRequested_ = false;
      changed_.notify_all();
    }
    const auto now = Clock::now();
    if (master_ >= 0 && streamGap_.count() > 0 && output_.empty() && now >= nextStream_) {
      output_ = Garbled(Reply("at\\l1"));
      ++streamed_;
      nextStream_ = now + streamGap_;
    }
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {master_, 0, 0}};
    auto wakeAt = Clock::time_point::max();
    if (master_ >= 0) {
      if (reading_) fds[1].events |= POLLIN;
      if (!output_.empty()) {
        if (options_.byteDelay.count() > 0 && now < nextByte_)
          wakeAt = nextByte_;
        else
          fds[1].events |= POLLOUT;
      } else if (streamGap_.count() > 0) {
        wakeAt = nextStream_;
      }
    }
    timespec timeout{};
    if (wakeAt != Clock::time_point::max()) {
      const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(wakeAt - now, Clock::duration{}));
      timeout.tv_sec = static_cast<time_t>(left.count() / 1000000000);
      timeout.tv_nsec = static_cast<long>(left.count() % 1000000000);
    }
    const nfds_t polled = master_ >= 0 ? 2 : 1;
    lock.unlock();
    ::ppoll(fds, polled, wakeAt == Clock::time_point::max() ? nullptr : &timeout, nullptr);
    lock.lock();
    std::uint64_t count;
    while (::read(wakeFd_, &count, sizeof count) > 0) {
    }
    if (master_ < 0) continue;
    if ((fds[1].revents & POLLIN) != 0 && reading_) ReadInput();
    WriteOutput(Clock::now());
  }
}

void SimulatedAdapter::ReadInput() {
  char buffer[4096];
  const ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) return;
  const std::string_view bytes(buffer, static_cast<std::size_t>(n));
  received_.append(bytes);
  if (logFd_ >= 0 && ::write(logFd_, bytes.data(), bytes.size()) != n) {
    std::perror(options_.logPath.c_str());
    ::close(logFd_);
    logFd_ = -1;
  }
  for (const char c : bytes) {
    if (c == '\r') {
      commands_.push_back(line_);
      if (!line_.empty()) Answer(line_);
      line_.clear();
    } else if (c != '\n') {
      line_ += c;
    }
  }
  changed_.notify_all();
}

void SimulatedAdapter::Answer(const std::string& commandLine) {
  output_ += Garbled(Reply(commandLine));
  if (Lower(commandLine) == "at\\c1") {
    charge_ = 0;
    chargedCalls_ = 0;
    clearedDate_ = Now();
  }
}

std::string SimulatedAdapter::Garbled(std::string reply) {
  if (options_.noise) {
    std::uniform_int_distribution<int> length(1, 8), byte(1, 255);
    std::string noise;
    for (int i = length(random_); i > 0; --i) {
      char c;
      do c = static_cast<char>(byte(random_));
      while (c == '\r' || c == '\n');
      noise += c;
    }
    reply.insert(0, noise);
  }
  if (options_.zeroBytes) {
    std::bernoulli_distribution zero(1.0 / 8);
    std::string scattered;
    for (const char c : reply) {
      scattered += c;
      if (zero(random_)) scattered += '\0';
    }
    reply = std::move(scattered);
  }
  return reply;
}

void SimulatedAdapter::WriteOutput(Clock::time_point now) {
  if (output_.empty()) return;
  const bool slow = options_.byteDelay.count() > 0;
  if (slow && now < nextByte_) return;
  const std::size_t size = slow ? 1 : output_.size();
  const auto before = Clock::now();
  const ssize_t n = ::write(master_, output_.data(), size);
  if (n <= 0) return;
  lastByteWritten_ = before;
  output_.erase(0, static_cast<std::size_t>(n));
  if (slow) nextByte_ = before + options_.byteDelay;
}

}  // namespace mokuro
