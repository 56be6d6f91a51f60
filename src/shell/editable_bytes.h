#pragma once

#include <QHash>
#include <QString>

#include <string>
#include <vector>

#include "display_text.h"

namespace mokuro {

// The user's byte texts put up for editing. They are shown decoded in the code page that
// all of them are in; an edited text comes back in that code page, and a text that reads
// as one of the originals comes back as that original's bytes, so that what the user left
// alone stays byte for byte as it was.
class EditableBytes {
 public:
  explicit EditableBytes(const std::vector<std::string>& originals);

  QString Show(const std::string& bytes) const { return codec_.Decode(bytes); }
  std::string TakeBack(const QString& text) const;

 private:
  DisplayCodec codec_;
  QHash<QString, std::string> shown_;
};

}  // namespace mokuro
