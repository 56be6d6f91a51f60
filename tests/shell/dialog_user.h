#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

#include "modal_watcher.h"

namespace mokuro::test {

// Acts as the user, once, on the first modal dialog of type `Dialog` that opens while it
// lives; `act` ends by pressing one of its buttons. Message boxes are answered as the
// watcher does.
template <class Dialog>
class DialogUser {
 public:
  explicit DialogUser(std::function<void(Dialog&)> act) : act_(std::move(act)) {
    watcher.onDialog = [this](QWidget* modal) {
      auto* dialog = dynamic_cast<Dialog*>(modal);
      if (dialog == nullptr || acted_) return;
      acted_ = true;
      act_(*dialog);
    };
  }

  bool acted() const { return acted_; }

  ModalWatcher watcher;

 private:
  std::function<void(Dialog&)> act_;
  bool acted_ = false;
};

// A key pressed as a user presses it: to the control that has the focus.
inline void PressOn(QWidget* control, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  control->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), control);
  QTest::keyClick(control, key, modifiers);
}

}  // namespace mokuro::test
