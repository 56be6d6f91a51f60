#include "user_folders.h"

#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "app_paths.h"
#include "file_bytes.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

struct FolderCase {
  const char* name;
  FolderFacts facts;
  UserFolders expected;
};

FolderFacts Facts(const char* mokuroHome, bool settingsBeside, bool buildFolder, const char* xdgConfig,
                  const char* xdgData) {
  return FolderFacts{"/opt/mokuro/", mokuroHome, settingsBeside, buildFolder, xdgConfig, xdgData, "/home/u"};
}

void PrintTo(const FolderCase& folderCase, std::ostream* out) { *out << folderCase.name; }

class ChooseUserFoldersTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ChooseUserFoldersTest, FollowsTheFirstRuleThatApplies) {
  EXPECT_EQ(ChooseUserFolders(GetParam().facts), GetParam().expected);
}

const UserFolders kXdgDefaults{FolderRule::InstalledCopy, "/home/u/.config/mokuro/", "/home/u/.local/share/mokuro/"};

INSTANTIATE_TEST_SUITE_P(
    Rules, ChooseUserFoldersTest,
    ::testing::Values(
        FolderCase{"MokuroHomeBeforeAll", Facts("/srv/calls", true, true, "/x", "/y"),
                   {FolderRule::MokuroHome, "/srv/calls/", "/srv/calls/"}},
        FolderCase{"MokuroHomeWithItsSeparator", Facts("/srv/calls/", false, false, "", ""),
                   {FolderRule::MokuroHome, "/srv/calls/", "/srv/calls/"}},
        FolderCase{"PortableCopyBeforeBuildFolder", Facts("", true, true, "/x", "/y"),
                   {FolderRule::PortableCopy, "/opt/mokuro/", "/opt/mokuro/"}},
        FolderCase{"BuildFolder", Facts("", false, true, "/x", "/y"),
                   {FolderRule::BuildFolder, "/opt/mokuro/", "/opt/mokuro/"}},
        FolderCase{"InstalledWithoutXdgVariables", Facts("", false, false, "", ""), kXdgDefaults},
        FolderCase{"InstalledWithXdgVariables", Facts("", false, false, "/cfg/", "/data"),
                   {FolderRule::InstalledCopy, "/cfg/mokuro/", "/data/mokuro/"}},
        FolderCase{"RelativeXdgVariablesDoNotCount", Facts("", false, false, "cfg", "./data"), kXdgDefaults}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChooseUserFolders, HomeWithItsSeparatorAndUnknownHome) {
  FolderFacts facts;
  facts.executableDir = "/usr/bin/";
  facts.home = "/root/";
  EXPECT_EQ(ChooseUserFolders(facts).settingsDir, "/root/.config/mokuro/");
  // Without a home the folders are taken from the current one rather than the root's.
  facts.home.clear();
  EXPECT_EQ(ChooseUserFolders(facts).dataDir, ".local/share/mokuro/");
}

TEST(DescribeUserFolders, NamesTheFoldersAndTheReason) {
  const std::string installed = DescribeUserFolders(kXdgDefaults);
  for (const char* part : {"/home/u/.config/mokuro/", "/home/u/.local/share/mokuro/", "installed", "XDG_CONFIG_HOME"}) {
    EXPECT_NE(installed.find(part), std::string::npos) << part << " in " << installed;
  }
  EXPECT_NE(DescribeUserFolders({FolderRule::MokuroHome, "/a/", "/a/"}).find("MOKURO_HOME"), std::string::npos);
  EXPECT_NE(DescribeUserFolders({FolderRule::PortableCopy, "/a/", "/a/"}).find("Mokuro.ini"), std::string::npos);
  EXPECT_NE(DescribeUserFolders({FolderRule::BuildFolder, "/a/", "/a/"}).find("build folder"), std::string::npos);
}

TEST(MakeUserFolders, MakesMissingFoldersForTheUserAlone) {
  test::TempDir dir;
  const UserFolders folders{FolderRule::InstalledCopy, dir.File("home/.config/mokuro/"),
                            dir.File("home/.local/share/mokuro/")};
  ASSERT_EQ(MakeUserFolders(folders), "");
  for (const std::string& folder : {folders.settingsDir, folders.dataDir, dir.File("home/.local")}) {
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0) << folder;
    EXPECT_TRUE(S_ISDIR(status.st_mode)) << folder;
    EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
  }
  EXPECT_EQ(MakeUserFolders(folders), "") << "a second start finds them there";
}

TEST(MakeUserFolders, TellsWhatCouldNotBeMade) {
  test::TempDir dir;
  test::WriteBytes(dir.File("file"), "");
  const std::string problem = MakeUserFolders({FolderRule::MokuroHome, dir.File("file/sub/"), dir.File("file/sub/")});
  EXPECT_NE(problem.find(dir.File("file/sub")), std::string::npos) << problem;
  EXPECT_NE(MakeUserFolders({FolderRule::MokuroHome, dir.File("file"), dir.File("file")}), "");
}

TEST(HelpDirOf, BesideTheProgramWhenThereElseWhereTheInstallationPutsIt) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.File("portable/help"));
  test::WriteBytes(dir.File("portable/help/index.htm"), "");
  EXPECT_EQ(HelpDirOf(dir.Folder() + "portable/"), dir.File("portable/help"));

  std::filesystem::create_directories(dir.File("usr/bin"));
  std::filesystem::create_directories(dir.File("usr/share/mokuro/help"));
  test::WriteBytes(dir.File("usr/share/mokuro/help/index.htm"), "");
  const std::string installed = HelpDirOf(dir.Folder() + "usr/bin/");
  EXPECT_TRUE(std::filesystem::equivalent(installed, dir.File("usr/share/mokuro/help"))) << installed;
}

}  // namespace
}  // namespace mokuro
