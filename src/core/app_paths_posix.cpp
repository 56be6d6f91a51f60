#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app_paths.h"
#include "file_io.h"

namespace mokuro {
namespace {

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) return home;
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    home = found->pw_dir;
  }
  return home;
}

// Makes the folder and its missing parents with owner-only access.
std::string MakeFolder(const std::string& folder) {
  for (std::size_t end = folder.find(kPathSeparator, 1);; end = folder.find(kPathSeparator, end + 1)) {
    const std::string path = folder.substr(0, end);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return "cannot make " + path + ": " + std::strerror(errno);
    if (end == std::string::npos || end + 1 >= folder.size()) break;
  }
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return folder + " is no folder";
  return {};
}

}  // namespace

std::string ExecutableDir() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return WithSeparator(std::filesystem::current_path(error).string());
  return WithSeparator(exe.parent_path().string());
}

std::string HelpDirOf(const std::string& executableDir) {
  const std::string beside = executableDir + "help";
  if (FileExists(beside + kPathSeparator + "index.htm")) return beside;
  return executableDir + MOKURO_HELP_FROM_BINDIR;
}

UserFolders FindUserFolders() {
  FolderFacts facts;
  facts.executableDir = ExecutableDir();
  facts.mokuroHome = Environment("MOKURO_HOME");
  facts.settingsBesideProgram = FileExists(facts.executableDir + kSettingsFileName);
  // The build puts the program at the top of its build folder, beside CMake's cache.
  facts.inBuildFolder = FileExists(facts.executableDir + "CMakeCache.txt");
  facts.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  facts.xdgDataHome = Environment("XDG_DATA_HOME");
  facts.home = HomeFolder();
  return ChooseUserFolders(facts);
}

std::string MakeUserFolders(const UserFolders& folders) {
  std::string problem = MakeFolder(folders.settingsDir);
  if (problem.empty() && folders.dataDir != folders.settingsDir) problem = MakeFolder(folders.dataDir);
  return problem;
}

}  // namespace mokuro
