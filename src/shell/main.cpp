// The program's entry: the application, the main window, the message loop.
#include <QTimer>

#include <string>
#include <vector>

#include "app_paths.h"
#include "application.h"
#include "clock.h"
#include "command_line.h"
#include "event_log.h"
#include "locale_formats.h"
#include "main_form.h"
#include "termination_signals.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const mokuro::CommandLine command = mokuro::ParseCommandLine(arguments);
  if (const auto status = mokuro::AnswerWithoutWindow(command)) return *status;
  mokuro::EnableEventLog(command.log);

  mokuro::MokuroApplication app(argc, argv);
  mokuro::QuitOnTerminationSignals(app);
  mokuro::SystemClock clock;
  mokuro::ProgramOptions options;
  options.arguments = std::move(arguments);
  options.autoCheck = command.autoCheck;
  const mokuro::UserFolders folders = mokuro::FindUserFolders();
  options.settingsDir = folders.settingsDir;
  options.dataDir = folders.dataDir;
  options.clock = &clock;
  options.formats = mokuro::SystemDateFormats();
  mokuro::LogEvent("start, " + mokuro::DescribeUserFolders(folders));
  if (const std::string problem = mokuro::MakeUserFolders(folders); !problem.empty()) mokuro::LogEvent(problem);

  mokuro::TMainForm form(std::move(options));
  int status = 0;
  // A termination signal under a start-up message box has already ended the start.
  if (!mokuro::TerminationRequested()) {
    form.show();
    // The first turn of the loop after showing: the window is on the screen.
    QTimer::singleShot(0, [] { mokuro::LogEvent("window shown"); });
    status = app.exec();
  }
  mokuro::LogEvent("exit");
  return status;
}
