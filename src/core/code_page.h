#pragma once

#include <string>
#include <string_view>

namespace mokuro {

// The code pages the user's texts come in: UTF-8 from a Linux desktop, Shift_JIS (as
// Windows has it, CP932) from the Japanese Windows machines the files and adapters were
// first used with.
enum class CodePage { Utf8, ShiftJis };

bool IsValidUtf8(std::string_view bytes);
// Bytes that are valid UTF-8 are taken as UTF-8, anything else as Shift_JIS. A text is
// decided as a whole: its lines don't each go their own way.
CodePage CodePageOf(std::string_view bytes);

// Text in `page` as UTF-8; a byte that is no character there becomes U+FFFD.
std::string ToUtf8(std::string_view bytes, CodePage page);
// UTF-8 text in `page`; a character that the page lacks becomes "?".
std::string FromUtf8(std::string_view utf8, CodePage page);

// The program's own words (UTF-8) in the code page of `bytes`, for putting beside them.
std::string InCodePageOf(std::string_view bytes, std::string_view utf8);

}  // namespace mokuro
