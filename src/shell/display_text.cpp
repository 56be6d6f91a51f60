#include "display_text.h"

namespace mokuro {

QString DisplayCodec::Decode(const std::string& bytes) const {
  const std::string utf8 = ToUtf8(bytes, page_);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string DisplayCodec::Encode(const QString& text) const {
  const QByteArray utf8 = text.toUtf8();
  return FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), page_);
}

QString ToDisplay(const std::string& bytes) { return DisplayCodec::For(bytes).Decode(bytes); }

}  // namespace mokuro
