#pragma once

#include <QApplication>

namespace mokuro::test {

// The one application object of a GUI test program, made by its main().
inline QApplication& TestApplication() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

}  // namespace mokuro::test
