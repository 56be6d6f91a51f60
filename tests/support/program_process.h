#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "file_bytes.h"

namespace mokuro::test {

// A program started as a user starts it, with changes to the environment (a variable given
// no value is removed) and its standard output and error going to files.
class ProgramProcess {
 public:
  using Environment = std::map<std::string, std::optional<std::string>>;

  ProgramProcess(const std::string& program, std::vector<std::string> arguments, const Environment& changes,
                 const std::string& outputPath, const std::string& errorPath) {
    // Everything is made before the fork: the child of a threaded process may only call
    // what is safe in a signal handler.
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text = *entry;
      const auto equals = text.find('=');
      if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes) {
      if (value) {
        variables[name] = *value;
      } else {
        variables.erase(name);
      }
    }
    std::vector<std::string> texts;
    for (const auto& [name, value] : variables) texts.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& text : texts) envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ != 0) return;
    ::dup2(::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ~ProgramProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  // Its exit status once it has ended by itself, 128 + the signal when a signal ended it,
  // or -1 when it is still running at the deadline.
  int Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  // Asks it to end as a session's end does; then as Wait.
  int Terminate(std::chrono::milliseconds timeout) {
    ::kill(pid_, SIGTERM);
    return Wait(timeout);
  }

 private:
  pid_t pid_ = -1;
};

// Waits until the file holds the text; false when it doesn't by the deadline.
inline bool WaitForTextInFile(const std::string& path, const std::string& text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (ReadBytes(path).find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace mokuro::test
