#pragma once

#include <string>
#include <string_view>

namespace mokuro {

// The --log trace: one time-stamped line on standard error per event, from any thread.
void EnableEventLog(bool on);
bool EventLogEnabled();
void LogEvent(std::string_view text);

// Bytes as a readable one-line text: CR, LF, tab, backslash and other control bytes
// escaped; bytes from 0x80 up kept, since they are the user's own text.
std::string EscapeForLog(std::string_view bytes);

}  // namespace mokuro
