#pragma once

#include <optional>
#include <string>

#include "clock.h"
#include "date_text.h"
#include "settings.h"
#include "user_folders.h"

namespace mokuro {

// Reads every key of the settings file into `settings`, with the defaults for what is
// missing or doesn't convert; the default of the last clearing date is today.
void LoadSettings(const std::string& iniPath, Settings& settings, const DateFormats& formats, const Clock& clock);

// Writes the keys in their fixed order. On a key that can't be written it stops there and
// returns the message for the user ("<path> に書き込めません"); nothing when all went well.
std::optional<std::string> SaveSettings(const std::string& iniPath, const Settings& settings,
                                        const DateFormats& formats);

}  // namespace mokuro
