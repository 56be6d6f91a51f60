#pragma once

#include <string>
#include <string_view>

#include "date_time.h"

namespace mokuro {

// The user's date and time formats, as patterns of the kind Qt's QLocale gives:
// d dd M MM yy yyyy for dates, h hh H HH m mm s ss AP ap for times, text in single quotes
// taken literally, any other character literal.
struct DateFormats {
  std::string shortDate = "yyyy/MM/dd";
  std::string longTime = "H:mm:ss";
};

// The date alone, in the short date format.
std::string DateToText(TDateTime value, const DateFormats& formats);
// Short date, a blank and long time; the time is left out when it is exactly midnight.
std::string DateTimeToText(TDateTime value, const DateFormats& formats);
// Reads a date written in the short date format; false when the text doesn't convert.
bool TextToDate(std::string_view text, const DateFormats& formats, TDateTime& date);

}  // namespace mokuro
