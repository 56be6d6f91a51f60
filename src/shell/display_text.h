#pragma once

#include <QString>

#include <string>

#include "code_page.h"

namespace mokuro {

// The user's byte texts as Qt shows them, and typed text back as bytes. The program keeps
// every text as bytes in its own code page; only the display converts.
class DisplayCodec {
 public:
  // The code page that `bytes` are in, decided on all of them.
  static DisplayCodec For(const std::string& bytes) { return DisplayCodec(CodePageOf(bytes)); }
  explicit DisplayCodec(CodePage page) : page_(page) {}

  QString Decode(const std::string& bytes) const;
  // Characters the code page lacks become "?".
  std::string Encode(const QString& text) const;

 private:
  CodePage page_;
};

// Bytes from the adapter or a file, as they are shown.
QString ToDisplay(const std::string& bytes);

}  // namespace mokuro
