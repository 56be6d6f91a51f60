#pragma once

#include <string>

namespace mokuro {

// The folder of the running program's file, with its trailing separator. The program's
// own files (the help pages) live here.
std::string ExecutableDir();

// The folder of the user's files (settings, phone book, charge files, logs, memo dump),
// with its trailing separator: the folder named by MOKURO_HOME, created when missing,
// else the folder of the program.
std::string DataDir();

// The path separator of the platform.
inline constexpr char kPathSeparator = '/';

}  // namespace mokuro
