// The entry of the GUI test programs: the application object lives in main(), so that it
// goes before Qt's own statics at exit.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // No display needed, unless the caller names one (the tray tests run on Xvfb).
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  app.setApplicationName("Mokuro");
  return RUN_ALL_TESTS();
}
