#include "user_folders.h"

#include "app_paths.h"

namespace mokuro {
namespace {

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

// An XDG variable counts only when it names an absolute folder; else the default under home.
std::string XdgFolder(const std::string& variable, const std::string& home, const std::string& besideHome) {
  const std::string base =
      !variable.empty() && variable.front() == kPathSeparator ? WithSeparator(variable) : WithSeparator(home) + besideHome;
  return WithSeparator(base) + "mokuro" + kPathSeparator;
}

}  // namespace

UserFolders ChooseUserFolders(const FolderFacts& facts) {
  const auto same = [](FolderRule rule, const std::string& folder) {
    return UserFolders{rule, WithSeparator(folder), WithSeparator(folder)};
  };
  if (!facts.mokuroHome.empty()) return same(FolderRule::MokuroHome, facts.mokuroHome);
  if (facts.settingsBesideProgram) return same(FolderRule::PortableCopy, facts.executableDir);
  if (facts.inBuildFolder) return same(FolderRule::BuildFolder, facts.executableDir);
  return UserFolders{FolderRule::InstalledCopy, XdgFolder(facts.xdgConfigHome, facts.home, ".config"),
                     XdgFolder(facts.xdgDataHome, facts.home, ".local/share")};
}

std::string DescribeUserFolders(const UserFolders& folders) {
  switch (folders.rule) {
    case FolderRule::MokuroHome:
      return "files in " + folders.dataDir + " (named by MOKURO_HOME)";
    case FolderRule::PortableCopy:
      return "files in " + folders.dataDir + " (beside the program: a portable copy, " + kSettingsFileName +
             " is there)";
    case FolderRule::BuildFolder:
      return "files in " + folders.dataDir + " (beside the program: its build folder)";
    case FolderRule::InstalledCopy:
      break;
  }
  return "settings in " + folders.settingsDir + ", other files in " + folders.dataDir +
         " (an installed copy: XDG_CONFIG_HOME and XDG_DATA_HOME, by default ~/.config and ~/.local/share)";
}

}  // namespace mokuro
