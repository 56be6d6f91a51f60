#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <string>

namespace mokuro::test {

// Permissions bind everybody but a superuser, and the tests may run as root. This runs
// `work` in a child process that has given up root (as the user "nobody") and returns
// what it returned; nothing when the child couldn't drop root or died.
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& work) {
  constexpr uid_t kNobody = 65534;
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    ::close(fds[0]);
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(2);
    }
    const std::string result = work();
    const bool written = ::write(fds[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    ::_exit(written ? 0 : 3);
  }
  ::close(fds[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) result.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR) break;
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return result;
}

}  // namespace mokuro::test
