#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace mokuro {

// The monitor memo's text, byte for byte. Lines are the text's CR LF lines, whatever the
// width of the window that shows them: the adapter's report lines keep their numbers
// when one of them is too long for the screen.
class MemoText {
 public:
  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  // Removes line 0 together with its CR LF; without a CR LF the whole text goes.
  void DeleteLine0();
  // Puts the line and a CR LF before everything else.
  void InsertLine0(std::string_view line);
  // Line i without its line break; empty when the text has no such line.
  std::string Line(std::size_t i) const;

  std::error_code WriteToFile(const std::string& path) const;
  std::error_code AppendToFile(const std::string& path) const;

  // Called after every change, so that a display can follow the text; setting the text it
  // already has is no change.
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

 private:
  void Changed();

  std::string text_;
  std::function<void()> onChange_;
};

}  // namespace mokuro
