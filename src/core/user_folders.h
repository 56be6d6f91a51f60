#pragma once

#include <string>

namespace mokuro {

inline constexpr const char* kSettingsFileName = "Mokuro.ini";

// What the choice of the user's folders depends on: where the program stands and what the
// environment says.
struct FolderFacts {
  // The program's folder, with its trailing separator.
  std::string executableDir;
  // MOKURO_HOME; empty when unset.
  std::string mokuroHome;
  // A "Mokuro.ini" stands beside the program.
  bool settingsBesideProgram = false;
  // The program's folder is the build folder it was made in.
  bool inBuildFolder = false;
  // XDG_CONFIG_HOME and XDG_DATA_HOME as set; empty when unset.
  std::string xdgConfigHome;
  std::string xdgDataHome;
  // The user's home folder; empty when unknown.
  std::string home;
};

enum class FolderRule { MokuroHome, PortableCopy, BuildFolder, InstalledCopy };

// Where the user's files live. Both folders end with a separator.
struct UserFolders {
  FolderRule rule = FolderRule::InstalledCopy;
  // The settings file.
  std::string settingsDir;
  // The phone book, the charge files, the monthly log and the memo dump.
  std::string dataDir;

  bool operator==(const UserFolders&) const = default;
};

// MOKURO_HOME first; then a portable copy or the build folder keep the files beside the
// program; any other copy is installed and keeps them in the user's XDG folders, since the
// folder of an installed program is not the user's to write.
UserFolders ChooseUserFolders(const FolderFacts& facts);

// One line that says which folders are used and why, for the usage text and the log.
std::string DescribeUserFolders(const UserFolders& folders);

}  // namespace mokuro
