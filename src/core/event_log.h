#pragma once

#include <string>
#include <string_view>

#include "code_page.h"

namespace mokuro {

// The --log trace: one time-stamped line on standard error per event, from any thread.
void EnableEventLog(bool on);
bool EventLogEnabled();
void LogEvent(std::string_view text);

// Text in `page` as a readable one-line UTF-8 text, so that a terminal shows it: CR, LF,
// tab, backslash and other control characters escaped; the rest kept, since it is the
// user's own text.
std::string EscapeForLog(std::string_view bytes, CodePage page);
// The same, in the code page the bytes are shown in.
std::string EscapeForLog(std::string_view bytes);

}  // namespace mokuro
