// The entry of the GUI tests: a real application object on the offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>

#include "application.h"

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  mokuro::MokuroApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
