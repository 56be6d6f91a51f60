#pragma once

#include <QObject>

class QPlainTextEdit;

namespace mokuro {

// Makes the line break that Shift+Enter types in a text edit a real one, as Enter types
// it: the text's lines then end only where a file's lines end, and a line separator
// character inside a line (a name may hold one) never ends it.
class HardLineBreaks : public QObject {
 public:
  // Acts for `edit` as long as it lives.
  explicit HardLineBreaks(QPlainTextEdit* edit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace mokuro
