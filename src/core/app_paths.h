#pragma once

#include <string>

#include "user_folders.h"

namespace mokuro {

// The folder of the running program's file, with its trailing separator.
std::string ExecutableDir();

// The folder of the help pages, without a trailing separator: "help" beside the program
// when it is there (the build folder, a portable copy), else where the installation puts
// them relative to the program.
std::string HelpDirOf(const std::string& executableDir);
inline std::string HelpDir() { return HelpDirOf(ExecutableDir()); }

// The user's folders for this program and this environment; nothing is made.
UserFolders FindUserFolders();

// Makes the folders that are missing, private to the user. Returns what went wrong, for
// the log; empty when they are there. A folder that can't be made shows up later as the
// file that can't be written.
std::string MakeUserFolders(const UserFolders& folders);

// The path separator of the platform.
inline constexpr char kPathSeparator = '/';

}  // namespace mokuro
