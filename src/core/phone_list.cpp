#include "phone_list.h"

#include "ascii_text.h"
#include "file_io.h"

namespace mokuro {

TPhoneList SplitLines(std::string_view bytes) {
  TPhoneList lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const auto end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::string JoinLines(const TPhoneList& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const auto& line : lines) bytes.append(line).append("\r\n");
  return bytes;
}

CodePage PhoneListCodePage(const TPhoneList& list) {
  // The line ends between the lines are ASCII: the book is valid UTF-8 when each line is.
  for (const auto& line : list) {
    if (!IsValidUtf8(line)) return CodePage::ShiftJis;
  }
  return CodePage::Utf8;
}

std::error_code LoadPhoneList(const std::string& path, TPhoneList& list) {
  list.clear();
  std::string bytes;
  if (const auto error = ReadWholeFile(path, bytes)) return error;
  list = SplitLines(bytes);
  return {};
}

std::error_code SavePhoneList(const std::string& path, const TPhoneList& list) {
  return WriteFileAtomic(path, JoinLines(list));
}

void LoadPhoneBook(const std::string& folder, TPhoneList& list, PlainMessageBox& messages) {
  if (LoadPhoneList(folder + std::string(kPhoneListFileName), list)) {
    messages.ShowMessage("電話帳'PhoneLst.txt'の読み出しに失敗しました");
  }
}

std::string LookupName(const TPhoneList& list, std::string_view number) {
  for (const auto& line : list) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (EqualsIgnoringAsciiCase(std::string_view(line).substr(0, equals), number)) return line.substr(equals + 1);
  }
  return {};
}

}  // namespace mokuro
