#include "editable_bytes.h"

#include <QHash>

#include <deque>

#include "line_matching.h"
#include "phone_list.h"

namespace mokuro {

EditableBytes::EditableBytes(std::vector<std::string> originals)
    : originals_(std::move(originals)), codec_(PhoneListCodePage(originals_)) {
  shown_.reserve(static_cast<qsizetype>(originals_.size()));
  for (const auto& bytes : originals_) shown_.push_back(Show(bytes));
}

QString EditableBytes::Show(const std::string& bytes) const {
  QString text = codec_.Decode(bytes);
  // Qt's text document takes these for the end of a paragraph or its own frame marks.
  text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
  text.replace(QChar(0xFDD0), QChar::ReplacementCharacter);
  text.replace(QChar(0xFDD1), QChar::ReplacementCharacter);
  return text;
}

std::vector<std::string> EditableBytes::TakeBackLines(const QStringList& edited) const {
  // Equal texts, equal keys.
  QHash<QString, int> keys;
  const auto keysOf = [&keys](const QStringList& texts) {
    std::vector<int> result;
    result.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) {
      auto found = keys.constFind(text);
      if (found == keys.constEnd()) found = keys.insert(text, static_cast<int>(keys.size()));
      result.push_back(*found);
    }
    return result;
  };
  const std::vector<int> originalKeys = keysOf(shown_);
  const std::vector<int> editedKeys = keysOf(edited);

  const std::vector<int> match = MatchLines(originalKeys, editedKeys);
  std::vector<bool> placed(originals_.size(), false);
  for (const int i : match) {
    if (i >= 0) placed[static_cast<std::size_t>(i)] = true;
  }
  QHash<int, std::deque<std::size_t>> moved;
  for (std::size_t i = 0; i < originals_.size(); ++i) {
    if (!placed[i]) moved[originalKeys[i]].push_back(i);
  }

  std::vector<std::string> lines;
  lines.reserve(editedKeys.size());
  for (std::size_t j = 0; j < editedKeys.size(); ++j) {
    if (match[j] >= 0) {
      lines.push_back(originals_[static_cast<std::size_t>(match[j])]);
      continue;
    }
    auto& sameText = moved[editedKeys[j]];
    if (!sameText.empty()) {
      lines.push_back(originals_[sameText.front()]);
      sameText.pop_front();
    } else {
      lines.push_back(codec_.Encode(edited[static_cast<qsizetype>(j)]));
    }
  }
  return lines;
}

}  // namespace mokuro
