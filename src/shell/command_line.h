#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mokuro {

// The program's own "--" options; the slash switches are the window's (TMainForm).
struct CommandLine {
  bool help = false;
  bool version = false;
  bool log = false;
  bool autoCheck = false;
  // The first option that the program doesn't know, as given.
  std::string unknownOption;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage that --help prints; `folders` says where the user's files are kept and why.
std::string UsageText(const std::string& folders);

// Answers --help, --version and an unknown option on the standard streams, without a
// display: the exit status, or nothing when the program is to start.
std::optional<int> AnswerWithoutWindow(const CommandLine& command);

}  // namespace mokuro
