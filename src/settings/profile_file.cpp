#include "profile_file.h"

#include <utility>

#include "ascii_text.h"
#include "file_io.h"

namespace mokuro {
namespace {

// Editors on Linux may start the file with a UTF-8 byte order mark; it is no part of the
// first line's name.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;  // end of the text, before the line end
  std::size_t next = 0;
};

bool LineAt(std::string_view bytes, std::size_t pos, Line& line) {
  if (pos >= bytes.size()) return false;
  const std::size_t lf = bytes.find('\n', pos);
  line.begin = pos;
  line.next = lf == std::string_view::npos ? bytes.size() : lf + 1;
  line.end = lf == std::string_view::npos ? bytes.size() : lf > pos && bytes[lf - 1] == '\r' ? lf - 1 : lf;
  return true;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;
  std::size_t valueBegin = 0;  // offset in the file of the value, after the blanks that follow "="
};

ParsedLine Parse(std::string_view bytes, const Line& line) {
  std::string_view text = bytes.substr(line.begin, line.end - line.begin);
  if (line.begin == 0 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  const std::size_t textBegin = line.end - text.size();
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos || text[first] == ';') return {};
  if (text[first] == '[') {
    // The last "]" closes the name: a second byte of a double-byte character may be a "]".
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) return {};
    return {LineKind::Section, TrimBlanks(text.substr(first + 1, close - first - 1)), 0};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  std::size_t value = equals + 1;
  while (value < text.size() && IsBlank(text[value])) ++value;
  return {LineKind::Key, TrimBlanks(text.substr(0, equals)), textBegin + value};
}

// Where a key is, or where it would go.
struct Place {
  bool sectionFound = false;
  bool keyFound = false;
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
  // After the last key line of the section, or its header when it has no keys.
  std::size_t insertAt = 0;
  bool insertAfterLastLine = false;  // that line has no line end
};

Place Locate(std::string_view bytes, std::string_view section, std::string_view key) {
  Place place;
  bool inSection = false;
  Line line;
  for (std::size_t pos = 0; LineAt(bytes, pos, line); pos = line.next) {
    const ParsedLine parsed = Parse(bytes, line);
    if (parsed.kind == LineKind::Section) {
      if (place.sectionFound) break;
      inSection = EqualsIgnoringAsciiCase(parsed.name, section);
    } else if (!inSection || parsed.kind != LineKind::Key) {
      continue;
    } else if (EqualsIgnoringAsciiCase(parsed.name, key)) {
      place.keyFound = true;
      place.valueBegin = parsed.valueBegin;
      place.valueEnd = line.end;
      return place;
    }
    if (inSection) {
      place.sectionFound = true;
      place.insertAt = line.next;
      place.insertAfterLastLine = line.next == line.end;
    }
  }
  return place;
}

// The line end of new lines: the file's own, CR LF for a file that has none yet.
std::string_view LineEndOf(std::string_view bytes) {
  const std::size_t lf = bytes.find('\n');
  return lf == std::string_view::npos || (lf > 0 && bytes[lf - 1] == '\r') ? "\r\n" : "\n";
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool IsQuoted(std::string_view value) { return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front(); }

std::string Encoded(std::string_view value) {
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value))) {
    return "\"" + std::string(value) + "\"";
  }
  return std::string(value);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
  const std::error_code error = ReadWholeFile(path_, bytes_);
  if (error != std::errc::no_such_file_or_directory && error != std::errc::not_a_directory) readError_ = error;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const Place place = Locate(bytes_, section, key);
  if (!place.keyFound) return std::string(fallback);
  std::string_view value = TrimBlanks(std::string_view(bytes_).substr(place.valueBegin, place.valueEnd - place.valueBegin));
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kMaxValueLength));
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  const Place place = Locate(bytes_, section, key);
  const std::string text = Encoded(value);
  if (place.keyFound) {
    bytes_.replace(place.valueBegin, place.valueEnd - place.valueBegin, text);
    return true;
  }
  const std::string lineEnd(LineEndOf(bytes_));
  const std::string keyLine = std::string(key) + "=" + text + lineEnd;
  if (place.sectionFound) {
    bytes_.insert(place.insertAt, (place.insertAfterLastLine ? lineEnd : "") + keyLine);
    return true;
  }
  if (!bytes_.empty() && bytes_.back() != '\n') bytes_ += lineEnd;
  bytes_ += "[" + std::string(section) + "]" + lineEnd + keyLine;
  return true;
}

std::error_code ProfileFile::Save() const {
  if (readError_) return readError_;
  return WriteFileAtomic(path_, bytes_);
}

}  // namespace mokuro
