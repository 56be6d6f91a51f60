// The program's entry: the application, the main window, the message loop.
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_paths.h"
#include "application.h"
#include "clock.h"
#include "event_log.h"
#include "locale_formats.h"
#include "main_form.h"
#include "termination_signals.h"
#include "version_info.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  for (const std::string& argument : arguments) {
    if (argument == "--version") {
      std::printf("%s %s\n%s\n", mokuro::kProductName, mokuro::kFileVersion, mokuro::kFileDescription);
      return 0;
    }
    if (argument == "--log") mokuro::EnableEventLog(true);
  }

  mokuro::MokuroApplication app(argc, argv);
  mokuro::QuitOnTerminationSignals(app);
  mokuro::SystemClock clock;
  mokuro::MainFormOptions options;
  options.arguments = std::move(arguments);
  const mokuro::UserFolders folders = mokuro::FindUserFolders();
  options.settingsDir = folders.settingsDir;
  options.dataDir = folders.dataDir;
  options.clock = &clock;
  options.formats = mokuro::SystemDateFormats();
  mokuro::LogEvent("start, " + mokuro::DescribeUserFolders(folders));
  if (const std::string problem = mokuro::MakeUserFolders(folders); !problem.empty()) mokuro::LogEvent(problem);

  mokuro::TMainForm form(std::move(options));
  form.show();
  // The first turn of the loop after showing: the window is on the screen.
  QTimer::singleShot(0, [] { mokuro::LogEvent("window shown"); });
  const int status = app.exec();
  mokuro::LogEvent("exit");
  return status;
}
