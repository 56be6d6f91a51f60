#pragma once

#include <string>
#include <string_view>

#include "date_time.h"

namespace mokuro {

// The user's date and time formats, as patterns of the kind Qt's QLocale gives:
// d dd M MM yy yyyy for dates, h hh H HH m mm s ss AP ap for times, text in single quotes
// taken literally ('' is one quote), any other character literal. Month and weekday names
// (MMM MMMM ddd dddd) are written in English, the only names known without a locale.
// AP and A write the AM or PM text in capitals, ap and a in small letters (ASCII letters
// only); with either, h and hh count the hours from 1 to 12.
struct DateFormats {
  std::string shortDate = "yyyy/MM/dd";
  std::string longTime = "H:mm:ss";
  std::string amText = "AM";
  std::string pmText = "PM";
};

// The date alone, in the short date format.
std::string DateToText(TDateTime value, const DateFormats& formats);
// Short date, a blank and long time; the time is left out when hours, minutes and seconds
// are all zero, whatever the milliseconds.
std::string DateTimeToText(TDateTime value, const DateFormats& formats);

// Reads a date written in the short date format; false when the text doesn't convert.
// Leading zeros may be left out, and a year may have all its digits even where the format
// has two. A year of one or two digits is taken within the 100 years from 50 years before
// `currentYear`, so that a date written with a two-digit year reads back as the same date
// when it lies in that range.
bool TextToDate(std::string_view text, const DateFormats& formats, int currentYear, TDateTime& date);
// The same, around the year of the system clock.
bool TextToDate(std::string_view text, const DateFormats& formats, TDateTime& date);

// Reads a date that the program stored: in the short date format first; else in one of
// the formats the program writes under other locales (yyyy/MM/dd, the ISO yyyy-MM-dd, the
// C locale's d MMM yyyy), exactly as it writes them, so that a settings file outlives a
// change of locale. False when the text is no date in any of them.
bool TextToStoredDate(std::string_view text, const DateFormats& formats, int currentYear, TDateTime& date);

// The locale's long time format as the program writes the time: without its time-zone
// fields, and "H:mm:ss" (as a Japanese Windows system writes its long time) where the
// format has words of its locale: letters or non-ASCII text outside its fields, or AM and
// PM texts that are not ASCII.
std::string PlainLongTime(std::string_view pattern, std::string_view amText, std::string_view pmText);

// A time pattern without its time-zone fields (runs of t outside quotes), with the
// brackets around such a field and the blanks that set it off.
std::string RemoveTimeZoneFields(std::string_view pattern);

}  // namespace mokuro
