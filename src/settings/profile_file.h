#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace mokuro {

// An INI file read and written key by key, as Windows programs keep their settings:
// "[Section]" lines, "Key=Value" lines, anything else (comments, blank lines) kept.
// Section and key names match without regard to ASCII case; the first section of a name
// and the first key of a name in it count. Values are bytes in the user's code page.
//
// The file is read once, when the object is made; WriteString changes the text in memory,
// and Save replaces the file in one piece, so that a failed or interrupted save leaves the
// old file. Every byte that no write touches stays as it was: line ends, comments, order.
class ProfileFile {
 public:
  // A reader sees at most this many bytes of a value.
  static constexpr std::size_t kMaxValueLength = 2047;

  // A missing file reads as empty.
  explicit ProfileFile(std::string path);

  const std::string& Path() const { return path_; }

  // The value, without the blanks around it and one pair of enclosing quotation marks
  // (" or '); `fallback` when the section or the key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

  // Sets the value of an existing key in its line, or adds the key at the end of its
  // section, or the section at the end of the file. A value with blanks at its ends or in
  // quotation marks of its own is written in quotation marks, so that it reads back whole.
  // False, and nothing changed, for a value with a line break: the file can't hold it.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Replaces the file with the text; on failure the old file stays as it was. A file that
  // exists but couldn't be read is never replaced.
  std::error_code Save() const;

 private:
  std::string path_;
  std::string bytes_;
  std::error_code readError_;
};

}  // namespace mokuro
