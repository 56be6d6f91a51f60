#pragma once

#include <QApplication>

namespace mokuro {

// The application object: an error that escapes a handler is shown in a box and the
// program goes on.
class MokuroApplication : public QApplication {
 public:
  MokuroApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace mokuro
