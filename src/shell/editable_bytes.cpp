#include "editable_bytes.h"

#include "phone_list.h"

namespace mokuro {

EditableBytes::EditableBytes(const std::vector<std::string>& originals) : codec_(DisplayCodec::For(JoinLines(originals))) {
  for (const auto& bytes : originals) {
    const QString text = codec_.Decode(bytes);
    if (!shown_.contains(text)) shown_.insert(text, bytes);
  }
}

std::string EditableBytes::TakeBack(const QString& text) const {
  const auto found = shown_.constFind(text);
  return found != shown_.constEnd() ? *found : codec_.Encode(text);
}

}  // namespace mokuro
