#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "code_page.h"
#include "plain_message_box.h"

namespace mokuro {

// The phone book: lines "number=name" in the user's order, duplicates allowed; lines
// without "=" are kept but never match.
using TPhoneList = std::vector<std::string>;

inline constexpr std::string_view kPhoneListFileName = "PhoneLst.txt";

// Splits bytes into lines; CR LF, a lone CR and a lone LF each end a line.
TPhoneList SplitLines(std::string_view bytes);
// Every line, the last one too, ends with CR LF.
std::string JoinLines(const TPhoneList& lines);

// The code page of the book, decided once for all its lines: every name from it is shown
// and edited in it.
CodePage PhoneListCodePage(const TPhoneList& list);

// Replaces `list` by the file's lines; on failure `list` is empty.
std::error_code LoadPhoneList(const std::string& path, TPhoneList& list);
// Replaces the file as a whole or not at all.
std::error_code SavePhoneList(const std::string& path, const TPhoneList& list);

// Loads "PhoneLst.txt" from the folder (with its trailing separator); a missing or
// unreadable file is reported in a message box and leaves the book empty.
void LoadPhoneBook(const std::string& folder, TPhoneList& list, PlainMessageBox& messages);

// The name of the first line whose text before its first "=" equals the number, ASCII
// letters compared without regard to case, nothing trimmed; empty when none matches.
std::string LookupName(const TPhoneList& list, std::string_view number);

}  // namespace mokuro
