#include "alt_keys.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace mokuro {
namespace {

class AltKeyFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (key->modifiers().testFlag(Qt::AltModifier) && !key->text().isEmpty()) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

template <class Control>
void Filter(QWidget& window, QObject& filter) {
  for (Control* control : window.findChildren<Control*>()) control->installEventFilter(&filter);
}

}  // namespace

void KeepAltKeysFromTyping(QWidget& window) {
  auto* filter = new AltKeyFilter(&window);
  Filter<QLineEdit>(window, *filter);
  Filter<QPlainTextEdit>(window, *filter);
  Filter<QComboBox>(window, *filter);
}

}  // namespace mokuro
