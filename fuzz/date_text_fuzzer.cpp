// The date text parser: a text read in the fuzzer's format and in the short date formats
// of common locales; a date read must be valid and read back from its own text.
// Input: a format, zero byte, a text, zero byte, the current year in digits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "date_text.h"
#include "date_time.h"
#include "fuzz_check.h"
#include "fuzz_fields.h"

namespace mokuro {
namespace {

using fuzz::Check;

// Short date formats as the system locales give them.
constexpr std::string_view kLocaleFormats[] = {
    "yyyy/MM/dd", "yyyy/M/d", "M/d/yy",     "dd/MM/yyyy",     "dd.MM.yy",
    "d.M.yyyy",   "yyyy-MM-dd", "d. M. yyyy", "yyyy. M. d.",  "d MMM yyyy",
    "dddd, d MMMM yyyy", "yyyy'\xE5\xB9\xB4'M'\xE6\x9C\x88'd'\xE6\x97\xA5'",
};

// The year the clock would give: digits only, and a year whose 100-year window for
// two-digit years holds only years a date can have.
int CurrentYear(std::string_view digits) {
  int year = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') break;
    year = year * 10 + (c - '0');
    if (year > 9999) break;
  }
  return year >= 51 && year <= 9950 ? year : 2024;
}

bool HasFourDigitYear(std::string_view format) { return format.find("yyyy") != std::string_view::npos; }

void CheckRead(std::string_view text, const DateFormats& formats, int currentYear, bool readsBack) {
  TDateTime date = 0;
  if (!TextToDate(text, formats, currentYear, date)) return;
  Check(std::trunc(date) == date, "a date read has no time of day");
  const CalendarDate read = DecodeDate(date);
  Check(IsValidDate(read.year, read.month, read.day), "a date read is a valid date");
  TDateTime padded = 0;
  Check(TextToDate(" \t" + std::string(text) + "\t ", formats, currentYear, padded) && padded == date,
        "blanks around a date don't change it");
  if (!readsBack) return;
  // Two digits of a year far from now name another century's year (whose 29 February
  // may not exist); the year itself reads back when the format has all its digits or
  // the year is within 50 years of now.
  const bool yearInWindow = read.year >= currentYear - 50 && read.year <= currentYear + 49;
  const bool exact = HasFourDigitYear(formats.shortDate) || yearInWindow;
  const std::string written = DateToText(date, formats);
  TDateTime again = 0;
  const bool readAgain = TextToDate(written, formats, currentYear, again);
  Check(readAgain || !exact, "a date's own text reads");
  if (!readAgain) return;
  const CalendarDate back = DecodeDate(again);
  Check(back.month == read.month && back.day == read.day, "a date's own text reads as its day and month");
  Check(back.year == read.year || !exact, "a date's own text reads as its year");
}

}  // namespace
}  // namespace mokuro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mokuro;
  const std::vector<std::string_view> fields = fuzz::SplitFields(fuzz::AsText(data, size), 3);
  if (fields.size() < 2) return 0;
  const std::string_view text = fields[1];
  const int currentYear = CurrentYear(fields.size() > 2 ? fields[2] : std::string_view());

  // Any format: only what holds for every format is checked.
  DateFormats formats;
  formats.shortDate = fields[0];
  CheckRead(text, formats, currentYear, false);
  for (const std::string_view format : kLocaleFormats) {
    formats.shortDate = format;
    CheckRead(text, formats, currentYear, true);
  }
  return 0;
}
