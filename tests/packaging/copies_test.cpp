// The program as a user gets it: installed into a prefix, or as a portable copy, started
// with a fresh home.
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_paths.h"
#include "file_bytes.h"
#include "program_process.h"
#include "simulated_adapter.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using namespace std::chrono_literals;
using test::ProgramProcess;
using test::ReadBytes;
using test::WriteBytes;

namespace fs = std::filesystem;

// Every file and folder below the folder, by its path relative to it.
std::set<std::string> EntriesBelow(const std::string& folder) {
  std::set<std::string> entries;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
    entries.insert(fs::relative(entry.path(), folder).string());
  }
  return entries;
}

// A tool run to its end; its exit status, with what it printed.
struct ToolRun {
  int status;
  std::string output;
};

ToolRun RunTool(const std::string& tool, std::vector<std::string> arguments, const test::TempDir& scratch) {
  ProgramProcess process(tool, std::move(arguments), {}, scratch.File("tool.out"), scratch.File("tool.err"));
  const int status = process.Wait(120s);
  return {status, ReadBytes(scratch.File("tool.out")) + ReadBytes(scratch.File("tool.err"))};
}

// A user with a fresh home, no MOKURO_HOME and no XDG variables, and a terminal adapter on
// a pseudo-terminal with an incoming call from a number in the phone book.
class FreshUser {
 public:
  FreshUser() : adapter_(AdapterOptions(scratch_)) { adapter_.Call("0312345678/64"); }

  std::string Home() const { return home_.Folder(); }
  ProgramProcess::Environment Environment(ProgramProcess::Environment more = {}) const {
    more.emplace("HOME", home_.Folder());
    more.emplace("MOKURO_HOME", std::nullopt);
    more.emplace("XDG_CONFIG_HOME", std::nullopt);
    more.emplace("XDG_DATA_HOME", std::nullopt);
    more.emplace("QT_QPA_PLATFORM", "offscreen");
    return more;
  }

  // The settings that name the adapter's port and the phone book that names the caller:
  // without them the start would stop at a message box.
  void PlaceFiles(const std::string& settingsDir, const std::string& dataDir) const {
    fs::create_directories(settingsDir);
    fs::create_directories(dataDir);
    WriteBytes(settingsDir + kSettingsFileName, "[Config]\r\nPort=" + adapter_.PortName() + "\r\nTimer=0x7D0\r\n");
    WriteBytes(dataDir + "PhoneLst.txt", "0312345678=Office\r\n");
  }

  // Starts the program asking for the incoming numbers, waits until it has named the
  // caller, and ends it as a session's end does. Returns its log.
  std::string RunOnce(const std::string& program, const ProgramProcess::Environment& environment) {
    const std::string log = scratch_.File("stderr.log");
    ProgramProcess process(program, {"--log", "/r"}, environment, scratch_.File("stdout.txt"), log);
    EXPECT_TRUE(adapter_.WaitForCommands(1, 20s)) << ReadBytes(log);
    EXPECT_TRUE(test::WaitForTextInFile(log, "caller: Office", 20s)) << ReadBytes(log);
    EXPECT_EQ(process.Terminate(20s), 0) << ReadBytes(log);
    return ReadBytes(log);
  }

 private:
  static SimulatedAdapterOptions AdapterOptions(const test::TempDir& scratch) {
    SimulatedAdapterOptions options;
    options.linkPath = scratch.File("port");
    return options;
  }

  test::TempDir home_;
  test::TempDir scratch_;
  SimulatedAdapter adapter_;
};

// The settings as the program writes them at exit, from what it read.
void ExpectSettingsSaved(const std::string& path) {
  const std::string ini = ReadBytes(path);
  EXPECT_NE(ini.find("Timer=2000\r\n"), std::string::npos) << path << ":\n" << ini;
  EXPECT_NE(ini.find("[ATCommand]\r\nCharge=at\\c0\r\n"), std::string::npos) << path << ":\n" << ini;
}

// The build installed into a staging prefix, once for all tests of the suite.
class InstalledCopy : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    stage_ = new test::TempDir;
    const ToolRun install = RunTool(MOKURO_CMAKE, {"--install", MOKURO_BUILD_DIR, "--prefix", Stage()}, *stage_);
    ASSERT_EQ(install.status, 0) << install.output;
  }
  static void TearDownTestSuite() {
    delete stage_;
    stage_ = nullptr;
  }

  static std::string Stage() { return stage_->Folder() + "prefix/"; }
  static std::string Program() { return Stage() + "bin/mokuro"; }
  static std::string AppFile(const std::string& folder, const std::string& suffix) {
    return Stage() + folder + "/" + MOKURO_APP_ID + suffix;
  }

  static test::TempDir* stage_;
  test::TempDir scratch_;
};

test::TempDir* InstalledCopy::stage_ = nullptr;

// Width and height from a PNG file's header.
std::pair<unsigned, unsigned> PngSize(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  const auto number = [&](std::size_t at) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
  };
  return {number(16), number(20)};
}

TEST_F(InstalledCopy, PutsEachFileWhereTheDesktopLooksForIt) {
  EXPECT_EQ(EntriesBelow(Stage() + "bin"), std::set<std::string>{"mokuro"}) << "the program alone in bin";
  EXPECT_NE(fs::status(Program()).permissions() & fs::perms::others_exec, fs::perms::none);
  for (const std::string& file :
       {AppFile("share/applications", ".desktop"), AppFile("share/metainfo", ".metainfo.xml"),
        AppFile("share/icons/hicolor/scalable/apps", ".svg"), Stage() + "share/man/man1/mokuro.1.gz",
        Stage() + "share/doc/mokuro/copyright", Stage() + "share/doc/mokuro/changelog.gz"}) {
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
  }
  for (const unsigned size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
    const std::string dimension = std::to_string(size) + "x" + std::to_string(size);
    const std::string icon = AppFile("share/icons/hicolor/" + dimension + "/apps", ".png");
    EXPECT_EQ(PngSize(icon), std::make_pair(size, size)) << icon;
  }
  // The installed program finds its help pages from where it stands.
  const std::string help = HelpDirOf(Stage() + "bin/");
  EXPECT_TRUE(fs::is_regular_file(help + "/index.htm")) << help;
  EXPECT_TRUE(fs::equivalent(help, Stage() + "share/mokuro/help")) << help;
}

TEST_F(InstalledCopy, DesktopEntryAndMetadataPassTheirValidators) {
  const std::string entry = AppFile("share/applications", ".desktop");
  const ToolRun desktop = RunTool(MOKURO_DESKTOP_FILE_VALIDATE, {entry}, scratch_);
  EXPECT_EQ(desktop.status, 0) << desktop.output;
  EXPECT_EQ(desktop.output, "") << "no hints either";
  const ToolRun appstream =
      RunTool(MOKURO_APPSTREAMCLI, {"validate", "--no-net", AppFile("share/metainfo", ".metainfo.xml")}, scratch_);
  EXPECT_EQ(appstream.status, 0) << appstream.output;

  const std::string text = ReadBytes(entry);
  for (const std::string line : {"Exec=mokuro\n", "Icon=" MOKURO_APP_ID "\n", "StartupWMClass=" MOKURO_PRODUCT_NAME "\n",
                                 "Name[ja]=", "Comment[ja]=", "Categories="}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST_F(InstalledCopy, ManPageRendersWithoutWarnings) {
  const ToolRun man = RunTool(MOKURO_MAN, {"--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z",
                                           Stage() + "share/man/man1/mokuro.1.gz"}, scratch_);
  EXPECT_EQ(man.status, 0);
  const std::string page = ReadBytes(scratch_.File("tool.out"));
  EXPECT_EQ(ReadBytes(scratch_.File("tool.err")), "");
  for (const char* word : {"MOKURO_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "Mokuro.ini", "PhoneLst.txt"}) {
    EXPECT_NE(page.find(word), std::string::npos) << word;
  }
}

TEST_F(InstalledCopy, VersionWithAFreshHomeWritesNothing) {
  FreshUser user;
  const auto before = EntriesBelow(Stage());
  ProgramProcess process(Program(), {"--version"}, user.Environment(), scratch_.File("out"), scratch_.File("err"));
  ASSERT_EQ(process.Wait(20s), 0) << ReadBytes(scratch_.File("err"));
  EXPECT_TRUE(ReadBytes(scratch_.File("out")).starts_with(MOKURO_PRODUCT_NAME " ")) << ReadBytes(scratch_.File("out"));
  EXPECT_EQ(EntriesBelow(user.Home()), std::set<std::string>{});
  EXPECT_EQ(EntriesBelow(Stage()), before);
}

struct XdgCase {
  const char* name;
  // Relative to the home; empty for the variable unset.
  std::string configHome;
  std::string dataHome;
  std::string settingsDir;
  std::string dataDir;
};

void PrintTo(const XdgCase& xdgCase, std::ostream* out) { *out << xdgCase.name; }

class InstalledCopyFolders : public InstalledCopy, public ::testing::WithParamInterface<XdgCase> {};

TEST_P(InstalledCopyFolders, KeepTheSettingsAndTheOtherFilesInTheUsersXdgFolders) {
  FreshUser user;
  const XdgCase& folders = GetParam();
  const std::string settingsDir = user.Home() + folders.settingsDir;
  const std::string dataDir = user.Home() + folders.dataDir;
  user.PlaceFiles(settingsDir, dataDir);
  ProgramProcess::Environment environment;
  if (!folders.configHome.empty()) environment.emplace("XDG_CONFIG_HOME", user.Home() + folders.configHome);
  if (!folders.dataHome.empty()) environment.emplace("XDG_DATA_HOME", user.Home() + folders.dataHome);
  const auto before = EntriesBelow(Stage());

  const std::string log = user.RunOnce(Program(), user.Environment(environment));

  EXPECT_NE(log.find("start, settings in " + settingsDir + ", other files in " + dataDir), std::string::npos) << log;
  ExpectSettingsSaved(settingsDir + kSettingsFileName);
  EXPECT_EQ(EntriesBelow(settingsDir), std::set<std::string>{kSettingsFileName});
  EXPECT_EQ(EntriesBelow(dataDir), std::set<std::string>{"PhoneLst.txt"});
  EXPECT_EQ(EntriesBelow(Stage()), before) << "nothing written beside the program";
}

INSTANTIATE_TEST_SUITE_P(
    Xdg, InstalledCopyFolders,
    ::testing::Values(XdgCase{"Defaults", "", "", ".config/mokuro/", ".local/share/mokuro/"},
                      XdgCase{"FromTheVariables", "cfg", "data/", "cfg/mokuro/", "data/mokuro/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PortableCopy, KeepsItsFilesBesideItself) {
  FreshUser user;
  test::TempDir copy;
  const std::string program = copy.File("mokuro");
  fs::copy_file(MOKURO_PROGRAM, program);
  user.PlaceFiles(copy.Folder(), copy.Folder());

  const std::string log = user.RunOnce(program, user.Environment());

  EXPECT_NE(log.find("start, files in " + copy.Folder() + " (beside the program: a portable copy"), std::string::npos)
      << log;
  ExpectSettingsSaved(copy.File(kSettingsFileName));
  EXPECT_EQ(EntriesBelow(copy.Folder()), (std::set<std::string>{"mokuro", kSettingsFileName, "PhoneLst.txt"}));
  EXPECT_FALSE(fs::exists(user.Home() + ".config/mokuro"));
  EXPECT_FALSE(fs::exists(user.Home() + ".local/share/mokuro"));
}

}  // namespace
}  // namespace mokuro
