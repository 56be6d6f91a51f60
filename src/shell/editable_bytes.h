#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "display_text.h"

namespace mokuro {

// The lines of a byte text put up for editing. They are shown decoded in the code page
// that all of them are in. Taken back, every line that the user left alone is its
// original's bytes, whatever they hold, and only a line that the user typed or changed is
// encoded, in that code page.
class EditableBytes {
 public:
  explicit EditableBytes(std::vector<std::string> originals);

  // The originals as shown, one text a line.
  const QStringList& Shown() const { return shown_; }
  // A line as shown. Characters that an editor takes for the end of a line are shown as a
  // break within it (U+2028) or as U+FFFD: a line stays one line.
  QString Show(const std::string& bytes) const;
  // The edited lines as bytes. Lines are compared with the shown ones as a line-by-line
  // difference does, so that each original keeps its bytes where it stayed; a shown text
  // that moved takes the bytes of a moved original with that text.
  std::vector<std::string> TakeBackLines(const QStringList& edited) const;
  // One edited text, for a single original.
  std::string TakeBack(const QString& edited) const { return TakeBackLines({edited}).front(); }

 private:
  std::vector<std::string> originals_;
  DisplayCodec codec_;
  QStringList shown_;
};

}  // namespace mokuro
