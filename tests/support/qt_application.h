#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace mokuro::test {

// The one application object of a GUI test program: made before the first test and
// destroyed after the last, while the library's own globals are still there (an object
// destroyed at exit would outlive them).
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[12] = "mokuro-test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace mokuro::test
