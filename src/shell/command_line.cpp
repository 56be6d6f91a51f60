#include "command_line.h"

#include <cstdio>

#include "app_paths.h"
#include "user_folders.h"
#include "version_info.h"

namespace mokuro {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine command;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      command.help = true;
    } else if (argument == "--version") {
      command.version = true;
    } else if (argument == "--log") {
      command.log = true;
    } else if (argument == "--auto-check") {
      command.autoCheck = true;
    } else if (argument.starts_with("--") && command.unknownOption.empty()) {
      command.unknownOption = argument;
    }
  }
  return command;
}

std::string UsageText(const std::string& folders) {
  return "Usage: mokuro [/c | /d | /r] [--auto-check] [--log]\n"
         "       mokuro --help | --version\n"
         "\n"
         "Watches a telephone terminal adapter on a serial port: the last caller, the numbers\n"
         "last dialled and the call charges.\n"
         "\n"
         "  /c            ask the adapter for the cumulative charges at start\n"
         "  /d            ask for the numbers last dialled at start\n"
         "  /r            ask for the incoming numbers at start\n"
         "                (the first argument that is no option counts; /R and /rx are /r)\n"
         "  --auto-check  start with the automatic incoming-call check on; it asks for the\n"
         "                incoming numbers at once, in place of a /c, /d or /r\n"
         "  --log         write every command, reply, caller, message and port event to\n"
         "                standard error, one time-stamped line each\n"
         "  -h, --help    print this help and exit\n"
         "  --version     print the version and exit\n"
         "\n"
         "Files (settings Mokuro.ini; phone book PhoneLst.txt, charge files, monthly log):\n"
         "  " + folders + "\n"
         "The environment variable MOKURO_HOME names one folder for all of them. Otherwise a\n"
         "copy with a Mokuro.ini beside it, or in its build folder, keeps them beside itself,\n"
         "and an installed copy keeps the settings in $XDG_CONFIG_HOME/mokuro/ (~/.config/mokuro/)\n"
         "and the rest in $XDG_DATA_HOME/mokuro/ (~/.local/share/mokuro/).\n";
}

std::optional<int> AnswerWithoutWindow(const CommandLine& command) {
  if (!command.unknownOption.empty()) {
    std::fprintf(stderr, "mokuro: unknown option '%s'\nTry 'mokuro --help' for the options.\n",
                 command.unknownOption.c_str());
    return 2;
  }
  if (command.help) {
    std::fputs(UsageText(DescribeUserFolders(FindUserFolders())).c_str(), stdout);
    return 0;
  }
  if (command.version) {
    std::printf("%s %s\n%s\n", kProductName, kFileVersion, kFileDescription);
    return 0;
  }
  return std::nullopt;
}

}  // namespace mokuro
