// The entry of the GUI test programs: the application object lives in main(), so that it
// goes before Qt's own statics at exit.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  app.setApplicationName("Mokuro");
  return RUN_ALL_TESTS();
}
