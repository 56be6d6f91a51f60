#include <gtest/gtest.h>

#include <QStandardPaths>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "file_io.h"
#include "help.h"
#include "modal_watcher.h"
#include "qt_application.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const char* const kNoAssociation = "*.htmがWebブラウザに関連付けられていないため\nHelpを表示することが出来ません";
const char* const kOpenFailed = "Helpファイル(help\\index.htm)の実行に失敗しました";

class RecordingMessages : public PlainMessageBox {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// Sets environment variables (unsets those given no value) for one test, and puts the old
// values back afterwards.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::map<std::string, std::optional<std::string>>& values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
      Set(name, value);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) Set(name, value);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  static void Set(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.File("help"));
    WriteBytes(Page(), "<html><body>help</body></html>\n");
    for (const char* folder : {"config", "data", "home"}) std::filesystem::create_directories(dir.File(folder));
  }

  std::string HelpFolder() const { return dir.File("help"); }
  std::string Page() const { return dir.File("help/index.htm"); }

  // A desktop whose settings and program lists are the empty folders of this test: no
  // program is associated with anything, on no desktop, without a display.
  std::map<std::string, std::optional<std::string>> BareDesktop() const {
    return {{"HOME", dir.File("home")},
            {"XDG_CONFIG_HOME", dir.File("config")},
            {"XDG_CONFIG_DIRS", dir.File("config")},
            {"XDG_DATA_HOME", dir.File("data")},
            {"XDG_DATA_DIRS", dir.File("data")},
            {"XDG_CURRENT_DESKTOP", std::nullopt},
            {"XDG_SESSION_DESKTOP", std::nullopt},
            {"DESKTOP_SESSION", std::nullopt},
            {"KDE_FULL_SESSION", std::nullopt},
            {"GNOME_DESKTOP_SESSION_ID", std::nullopt},
            {"MATE_DESKTOP_SESSION_ID", std::nullopt},
            {"BROWSER", std::nullopt},
            {"DISPLAY", std::nullopt},
            {"WAYLAND_DISPLAY", std::nullopt}};
  }

  test::TempDir dir;
  RecordingMessages messages;
};

TEST_F(HelpTest, MissingHelpFolderGivesTheFailureMessage) {
  OpenHelp(nullptr, messages, SystemDocumentOpener(), dir.File("nohelp"));
  EXPECT_EQ(messages.texts, std::vector<std::string>{kOpenFailed});
}

TEST_F(HelpTest, PageWithoutAProgramForWebPagesGivesTheAssociationMessageOnly) {
  auto withoutOpener = BareDesktop();
  withoutOpener["PATH"] = dir.File("home");
  const std::pair<const char*, std::map<std::string, std::optional<std::string>>> environments[] = {
      {"nothing associated", BareDesktop()}, {"no opener on the path", withoutOpener}};
  for (const auto& [name, environment] : environments) {
    ScopedEnvironment scoped(environment);
    messages.texts.clear();
    OpenHelp(nullptr, messages, SystemDocumentOpener(), HelpFolder());
    EXPECT_EQ(messages.texts, std::vector<std::string>{kNoAssociation}) << name;
  }
}

// The desktop's program for web pages is a script of this test that notes where it was
// started and with what, in place of a browser.
TEST_F(HelpTest, PageOpensWithTheAssociatedProgramInTheHelpFolder) {
  if (QStandardPaths::findExecutable("xdg-open").isEmpty() || QStandardPaths::findExecutable("xdg-mime").isEmpty()) {
    GTEST_SKIP() << "xdg-utils is not installed";
  }
  const std::string script = dir.File("record-open");
  const std::string record = dir.File("opened");
  WriteBytes(script, "#!/bin/sh\nprintf '%s|%s' \"$PWD\" \"$1\" > '" + record + ".part' && mv '" + record +
                         ".part' '" + record + "'\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  std::filesystem::create_directories(dir.File("data/applications"));
  WriteBytes(dir.File("data/applications/mokuro-record.desktop"),
             "[Desktop Entry]\nType=Application\nName=Record\nExec=" + script + " %f\nMimeType=text/html;\n");
  WriteBytes(dir.File("config/mimeapps.list"), "[Default Applications]\ntext/html=mokuro-record.desktop\n");
  auto desktop = BareDesktop();
  desktop["DISPLAY"] = ":99999";  // a display that is set, though no server is there

  ScopedEnvironment scoped(desktop);
  OpenHelp(nullptr, messages, SystemDocumentOpener(), HelpFolder());
  EXPECT_TRUE(messages.texts.empty());
  ASSERT_TRUE(test::ModalWatcher::WaitFor([&] { return FileExists(record); }));
  EXPECT_EQ(ReadBytes(record), HelpFolder() + "|" + Page());
}

TEST(HelpPages, StandBesideTheBuiltProgramAndTheirLinksLeadToPagesThatAreThere) {
  const std::filesystem::path folder = MOKURO_BUILT_HELP_DIR;
  ASSERT_TRUE(FileExists((folder / "index.htm").string()));
  const std::regex link(R"re((?:href|src)="([^"#:]+))re");
  int links = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".htm") continue;
    const std::string page = ReadBytes(entry.path().string());
    EXPECT_NE(page.find("<meta charset=\"UTF-8\">"), std::string::npos) << entry.path();
    for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it, ++links) {
      EXPECT_TRUE(FileExists((folder / (*it)[1].str()).string())) << entry.path() << " -> " << (*it)[1];
    }
  }
  EXPECT_GT(links, 0);
}

}  // namespace
}  // namespace mokuro
