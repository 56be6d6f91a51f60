// ta-sim: a simulated terminal adapter on a pseudo-terminal, for trying the program
// without the device.

#include <fcntl.h>
#include <pthread.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "simulated_adapter.h"

namespace mokuro {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kHelp = R"(Usage: ta-sim [OPTION]...
A simulated terminal adapter on a pseudo-terminal. Its device path is the first line
on standard output; point the program's port at it (or at the --link path).

Options:
  --link PATH          make PATH a symbolic link to the device (moved to each new device)
  --call-every SEC     an incoming call every SEC seconds
  --dial-every SEC     an outgoing call every SEC seconds, 10 yen each
  --control FIFO       read commands from FIFO too (made if it doesn't exist)
  --slow MS            write one byte at a time, MS milliseconds apart
  --noise              a few random bytes (never CR or LF) before each reply
  --zeros              zero bytes scattered through each reply
  --log FILE           append every byte received to FILE, as it comes
  --seed N             seed of the noise and the zero bytes (default 1)
  --help               this text

Commands, one a line, on standard input or the control FIFO:
  call NUMBER          an incoming call; NUMBER may carry "/" and a subaddress
  dial NUMBER [YEN]    an outgoing call with its charge (default 10 yen)
  unplug               the device goes away (both ends close, the link is removed)
  plug                 a new device comes (its path is printed on standard error)
  quit                 end; so do the signals INT, TERM and HUP, but not the end
                       of standard input

The adapter echoes each command line ended by CR (CR included), then answers with
CR LF, its report lines each ended by CR LF, and CR LF "OK" CR LF; a command it
doesn't know gets CR LF "ERROR" CR LF after the echo. Commands, in any letter case:
  at\c0   charges:
            CHARGE TOTAL             = yen counted since the last clearing
            CHARGE CALLS             = outgoing calls counted
            CHARGE CLEARED           = YYYY/MM/DD HH:MM:SS of the last clearing
  at\l0   the last dialled number:
            TRANSMIT CALL COUNT      = outgoing calls so far
            TRANSMIT DATE            = YYYY/MM/DD HH:MM:SS (----/--/-- --:--:-- before any)
            TRANSMIT CALLING PARTY   = 0311112222 (the adapter's own number)
            TRANSMIT CALLED PARTY    = the number dialled
            TRANSMIT CHARGE          = yen of that call
  at\l1   the last incoming call:
            RECEIVE CALL COUNT       = incoming calls so far
            RECEIVE DATE             = YYYY/MM/DD HH:MM:SS (----/--/-- --:--:-- before any)
            RECEIVE CALLED PARTY     = 0311112222
            RECEIVE CALLING PARTY    = the caller's number (empty before any call)
            RECEIVE BEARER           = SPEECH
  at\c1   clears the charge counter; no report lines.
)";

struct Settings {
  SimulatedAdapterOptions adapter;
  std::optional<std::chrono::seconds> callEvery;
  std::optional<std::chrono::seconds> dialEvery;
  std::string control;
};

[[noreturn]] void Usage(const std::string& problem) {
  std::cerr << "ta-sim: " << problem << "\nTry 'ta-sim --help'.\n";
  std::exit(2);
}

long Number(const char* text, const char* option) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < 0) Usage(std::string("bad number for ") + option);
  return value;
}

Settings Parse(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage(std::string(arg) + " needs a value");
      return argv[++i];
    };
    if (arg == "--help") {
      std::cout << kHelp;
      std::exit(0);
    } else if (arg == "--link") {
      settings.adapter.linkPath = value();
    } else if (arg == "--call-every") {
      settings.callEvery = std::chrono::seconds(Number(value(), "--call-every"));
    } else if (arg == "--dial-every") {
      settings.dialEvery = std::chrono::seconds(Number(value(), "--dial-every"));
    } else if (arg == "--control") {
      settings.control = value();
    } else if (arg == "--slow") {
      settings.adapter.byteDelay = std::chrono::milliseconds(Number(value(), "--slow"));
    } else if (arg == "--noise") {
      settings.adapter.noise = true;
    } else if (arg == "--zeros") {
      settings.adapter.zeroBytes = true;
    } else if (arg == "--log") {
      settings.adapter.logPath = value();
    } else if (arg == "--seed") {
      settings.adapter.seed = static_cast<std::uint32_t>(Number(value(), "--seed"));
    } else {
      Usage("unknown option " + std::string(arg));
    }
  }
  for (const auto& every : {settings.callEvery, settings.dialEvery})
    if (every && every->count() == 0) Usage("a period must be at least one second");
  return settings;
}

// Lines from a descriptor, however the bytes come.
class LineReader {
 public:
  // False at end of input.
  template <class OnLine>
  bool ReadFrom(int fd, OnLine onLine) {
    char buffer[512];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n') {
        onLine(pending_);
        pending_.clear();
      } else {
        pending_ += buffer[i];
      }
    }
    return true;
  }

 private:
  std::string pending_;
};

// The signals that end the simulator, taken as events rather than by handlers.
const sigset_t& EndingSignals() {
  static const sigset_t signals = [] {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
    return set;
  }();
  return signals;
}

class Simulator {
 public:
  explicit Simulator(const Settings& settings) : settings_(settings), adapter_(settings.adapter) {}

  int Run() {
    std::cout << adapter_.DevicePath() << std::endl;
    const int signalFd = ::signalfd(-1, &EndingSignals(), SFD_CLOEXEC);
    if (signalFd < 0) return Fail("signalfd");
    int controlFd = -1;
    if (!settings_.control.empty()) {
      if (::mkfifo(settings_.control.c_str(), 0600) != 0 && errno != EEXIST) return Fail(settings_.control.c_str());
      // Open for writing too, so that the FIFO never reads as ended when a writer leaves.
      controlFd = ::open(settings_.control.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
      if (controlFd < 0) return Fail(settings_.control.c_str());
    }
    bool stdinOpen = true;
    const auto start = Clock::now();
    auto nextCall = settings_.callEvery ? start + *settings_.callEvery : Clock::time_point::max();
    auto nextDial = settings_.dialEvery ? start + *settings_.dialEvery : Clock::time_point::max();
    while (!quit_) {
      pollfd fds[3] = {{signalFd, POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}, {controlFd, POLLIN, 0}};
      const auto next = std::min(nextCall, nextDial);
      int timeout = -1;
      if (next != Clock::time_point::max())
        timeout = static_cast<int>(
            std::max<long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count() + 1));
      if (::poll(fds, 3, timeout) < 0 && errno != EINTR) return Fail("poll");
      if (fds[0].revents != 0) break;
      auto onLine = [this](const std::string& line) { Command(line); };
      if (fds[1].revents != 0 && !stdin_.ReadFrom(0, onLine)) stdinOpen = false;
      if (fds[2].revents != 0) control_.ReadFrom(controlFd, onLine);
      const auto now = Clock::now();
      if (now >= nextCall) {
        static constexpr const char* kCallers[] = {"0312345678", "09012345678/64", "0452223333"};
        Command(std::string("call ") + kCallers[calls_++ % std::size(kCallers)]);
        nextCall += *settings_.callEvery;
      }
      if (now >= nextDial) {
        static constexpr const char* kDialled[] = {"0398765432", "0120444555"};
        Command(std::string("dial ") + kDialled[dials_++ % std::size(kDialled)]);
        nextDial += *settings_.dialEvery;
      }
    }
    if (controlFd >= 0) ::close(controlFd);
    ::close(signalFd);
    return 0;
  }

 private:
  static int Fail(const char* what) {
    std::perror(what);
    return 1;
  }

  void Command(const std::string& line) {
    std::istringstream words(line);
    std::string verb, number;
    words >> verb >> number;
    if (verb == "call" && !number.empty()) {
      adapter_.Call(number);
    } else if (verb == "dial" && !number.empty()) {
      unsigned yen = 10;
      words >> yen;
      adapter_.Dial(number, yen);
    } else if (verb == "unplug") {
      adapter_.Unplug();
    } else if (verb == "plug") {
      adapter_.Plug();
      std::cerr << "ta-sim: device " << adapter_.DevicePath() << "\n";
      return;
    } else if (verb == "quit") {
      quit_ = true;
    } else if (!verb.empty()) {
      std::cerr << "ta-sim: unknown command: " << line << "\n";
      return;
    }
    if (!verb.empty()) std::cerr << "ta-sim: " << line << "\n";
  }

  const Settings& settings_;
  SimulatedAdapter adapter_;
  LineReader stdin_;
  LineReader control_;
  unsigned calls_ = 0;
  unsigned dials_ = 0;
  bool quit_ = false;
};

}  // namespace
}  // namespace mokuro

int main(int argc, char** argv) {
  const mokuro::Settings settings = mokuro::Parse(argc, argv);
  // Blocked before the adapter's thread starts, which inherits the mask.
  pthread_sigmask(SIG_BLOCK, &mokuro::EndingSignals(), nullptr);
  try {
    mokuro::Simulator simulator(settings);
    return simulator.Run();
  } catch (const std::exception& e) {
    std::cerr << "ta-sim: " << e.what() << "\n";
    return 1;
  }
}
