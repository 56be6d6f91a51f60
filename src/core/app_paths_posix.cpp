#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app_paths.h"

namespace mokuro {
namespace {

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

}  // namespace

std::string ExecutableDir() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return WithSeparator(std::filesystem::current_path(error).string());
  return WithSeparator(exe.parent_path().string());
}

std::string DataDir() {
  const char* home = std::getenv("MOKURO_HOME");
  if (home == nullptr || *home == '\0') return ExecutableDir();
  std::error_code error;
  std::filesystem::create_directories(home, error);
  return WithSeparator(home);
}

}  // namespace mokuro
