#include "application.h"

#include <QLocale>

#include <exception>

#include "event_log.h"
#include "message_boxes.h"
#include "qt_translations.h"
#include "version_info.h"

namespace mokuro {

MokuroApplication::MokuroApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(kApplicationTitle);
  InstallQtTranslations(*this, QLocale::system());
  setDesktopFileName(kDesktopEntryName);
  // Hidden in the tray the window is not closed; the program ends only by closing it.
  setQuitOnLastWindowClosed(false);
}

bool MokuroApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    LogEvent(std::string("error: ") + error.what());
    ShowErrorBox(error.what());
  } catch (...) {
    LogEvent("error: unknown");
    ShowErrorBox("予期しないエラーが発生しました");
  }
  return false;
}

}  // namespace mokuro
