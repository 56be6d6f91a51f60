#pragma once

#include <QString>

#include <string>

namespace mokuro {

// The code page of the user's text, for display only: the program keeps every text as bytes.
// Text that is valid UTF-8 is taken as UTF-8 (the code page of a Linux desktop); anything
// else as Shift_JIS (CP932), the code page of the files that come from the adapter's
// Japanese Windows users.
class DisplayCodec {
 public:
  enum class Page { Utf8, Cp932 };

  // The code page that `bytes` are in.
  static DisplayCodec For(const std::string& bytes);
  explicit DisplayCodec(Page page) : page_(page) {}

  Page page() const { return page_; }
  QString Decode(const std::string& bytes) const;
  // Characters the code page lacks become "?".
  std::string Encode(const QString& text) const;

 private:
  Page page_;
};

// Bytes from the adapter or a file, as they are shown.
QString ToDisplay(const std::string& bytes);

}  // namespace mokuro
