#pragma once

#include <QApplication>

namespace mokuro::test {

// The one application object of a GUI test program, made on first use on the main thread.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "mokuro-test";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

}  // namespace mokuro::test
