#include "memo_text.h"

#include "file_io.h"

namespace mokuro {
namespace {
constexpr std::string_view kLineBreak = "\r\n";
}

void MemoText::SetText(std::string text) {
  // The same report again, as the auto-check gets it while nobody calls, changes nothing
  // on the screen.
  if (text == text_) return;
  text_ = std::move(text);
  Changed();
}

void MemoText::DeleteLine0() {
  if (text_.empty()) return;
  const auto end = text_.find(kLineBreak);
  text_.erase(0, end == std::string::npos ? std::string::npos : end + kLineBreak.size());
  Changed();
}

void MemoText::InsertLine0(std::string_view line) {
  std::string text;
  text.reserve(line.size() + kLineBreak.size() + text_.size());
  text.append(line).append(kLineBreak).append(text_);
  text_ = std::move(text);
  Changed();
}

std::string MemoText::Line(std::size_t i) const {
  std::size_t start = 0;
  for (; i > 0; --i) {
    const auto end = text_.find(kLineBreak, start);
    if (end == std::string::npos) return {};
    start = end + kLineBreak.size();
  }
  const auto end = text_.find(kLineBreak, start);
  return text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::error_code MemoText::WriteToFile(const std::string& path) const { return WriteFileAtomic(path, text_); }

std::error_code MemoText::AppendToFile(const std::string& path) const { return AppendFileAtomic(path, text_); }

void MemoText::Changed() {
  if (onChange_) onChange_();
}

}  // namespace mokuro
