#include "hard_line_breaks.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>

namespace mokuro {

HardLineBreaks::HardLineBreaks(QPlainTextEdit* edit) : QObject(edit) { edit->installEventFilter(this); }

bool HardLineBreaks::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!key->matches(QKeySequence::InsertLineSeparator)) return false;
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), key->isAutoRepeat());
  QCoreApplication::sendEvent(watched, &enter);
  return true;
}

}  // namespace mokuro
