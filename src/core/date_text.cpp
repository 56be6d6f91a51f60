#include "date_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ascii_text.h"
#include "clock.h"

namespace mokuro {
namespace {

constexpr std::array<std::string_view, 12> kLongMonths = {"January", "February", "March",     "April",
                                                          "May",     "June",     "July",      "August",
                                                          "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kShortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kLongDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 7> kShortDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// One piece of a pattern: literal text (letter 0) or a field, the pattern letter repeated
// `width` times. AP and ap are fields of width 2.
struct Item {
  char letter = 0;
  int width = 0;
  std::string text;
};

bool IsNameField(const Item& item) { return (item.letter == 'd' || item.letter == 'M') && item.width >= 3; }

std::vector<Item> Tokenize(std::string_view pattern) {
  std::vector<Item> items;
  auto literal = [&items](std::string_view text) {
    if (items.empty() || items.back().letter != 0) items.emplace_back();
    items.back().text += text;
  };
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') {
      if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
        literal("'");
        i += 2;
        continue;
      }
      // Quoted text runs to the next lone quote; two quotes inside stand for one.
      for (++i; i < pattern.size(); ++i) {
        if (pattern[i] != '\'') {
          literal(pattern.substr(i, 1));
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
          literal("'");
          ++i;
        } else {
          ++i;
          break;
        }
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    int width = 0;
    switch (c) {
      case 'd':
      case 'M':
        width = static_cast<int>(std::min<std::size_t>(run, 4));
        break;
      case 'y':
        width = run >= 4 ? 4 : run >= 2 ? 2 : 0;
        break;
      case 'h':
      case 'H':
      case 'm':
      case 's':
        width = static_cast<int>(std::min<std::size_t>(run, 2));
        break;
      case 'A':
      case 'a':
        width = i + 1 < pattern.size() && pattern[i + 1] == (c == 'A' ? 'P' : 'p') ? 2 : 1;
        break;
      default:
        break;
    }
    if (width == 0) {
      literal(pattern.substr(i, 1));
      ++i;
    } else {
      items.push_back({c, width, {}});
      i += static_cast<std::size_t>(width);
    }
  }
  return items;
}

void AppendNumber(std::string& out, int value, int minDigits) {
  const std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < minDigits) out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
  out += digits;
}

// 0 for Sunday; day 0 of the count was a Saturday.
int WeekDay(TDateTime value) {
  const auto day = static_cast<std::int64_t>(std::trunc(value));
  return static_cast<int>(((day + 6) % 7 + 7) % 7);
}

std::string AmPmText(bool pm, char letter, const DateFormats& formats) {
  std::string text = pm ? formats.pmText : formats.amText;
  for (char& c : text) c = letter == 'A' ? AsciiUpper(c) : AsciiLower(c);
  return text;
}

std::string Format(std::string_view pattern, TDateTime value, const DateFormats& formats) {
  const std::vector<Item> items = Tokenize(pattern);
  bool twelveHour = false;
  for (const Item& item : items) twelveHour = twelveHour || item.letter == 'A' || item.letter == 'a';
  const CalendarDate date = DecodeDate(value);
  const TimeOfDay time = DecodeTime(value);
  std::string out;
  for (const Item& item : items) {
    switch (item.letter) {
      case 0:
        out += item.text;
        break;
      case 'd':
        if (item.width <= 2) {
          AppendNumber(out, date.day, item.width);
        } else {
          out += (item.width == 3 ? kShortDays : kLongDays)[static_cast<std::size_t>(WeekDay(value))];
        }
        break;
      case 'M':
        if (item.width <= 2) {
          AppendNumber(out, date.month, item.width);
        } else {
          out += (item.width == 3 ? kShortMonths : kLongMonths)[static_cast<std::size_t>(date.month - 1)];
        }
        break;
      case 'y':
        AppendNumber(out, item.width == 2 ? date.year % 100 : date.year, item.width);
        break;
      case 'h':
        AppendNumber(out, twelveHour ? (time.hour + 11) % 12 + 1 : time.hour, item.width);
        break;
      case 'H':
        AppendNumber(out, time.hour, item.width);
        break;
      case 'm':
        AppendNumber(out, time.minute, item.width);
        break;
      case 's':
        AppendNumber(out, time.second, item.width);
        break;
      default:
        out += AmPmText(time.hour >= 12, item.letter, formats);
        break;
    }
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// Reads the longest of `names` that starts the text, without regard to ASCII case.
template <std::size_t N>
bool ReadName(std::string_view text, std::size_t& pos, const std::array<std::string_view, N>& names, int& index) {
  std::size_t best = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const std::string_view name = names[i];
    if (name.size() > best && EqualsIgnoringAsciiCase(text.substr(pos, name.size()), name)) {
      best = name.size();
      index = static_cast<int>(i);
    }
  }
  pos += best;
  return best > 0;
}

bool ReadMonthOrDayName(std::string_view text, std::size_t& pos, char letter, int& month) {
  int index = 0;
  if (letter == 'M') {
    if (!ReadName(text, pos, kLongMonths, index) && !ReadName(text, pos, kShortMonths, index)) return false;
    month = index + 1;
    return true;
  }
  // The weekday follows from the date; it is only skipped.
  return ReadName(text, pos, kLongDays, index) || ReadName(text, pos, kShortDays, index);
}

bool ReadAmPm(std::string_view text, std::size_t& pos, const DateFormats& formats) {
  for (const std::string& mark : {formats.amText, formats.pmText}) {
    if (!mark.empty() && EqualsIgnoringAsciiCase(text.substr(pos, mark.size()), mark)) {
      pos += mark.size();
      return true;
    }
  }
  return false;
}

int ExpandYear(int twoDigits, int currentYear) {
  int year = currentYear - currentYear % 100 + twoDigits;
  if (year > currentYear + 49) year -= 100;
  if (year < currentYear - 50) year += 100;
  return year;
}

}  // namespace

std::string DateToText(TDateTime value, const DateFormats& formats) { return Format(formats.shortDate, value, formats); }

std::string DateTimeToText(TDateTime value, const DateFormats& formats) {
  std::string text = DateToText(value, formats);
  const TimeOfDay time = DecodeTime(value);
  if (time.hour != 0 || time.minute != 0 || time.second != 0) text += " " + Format(formats.longTime, value, formats);
  return text;
}

bool TextToDate(std::string_view text, const DateFormats& formats, int currentYear, TDateTime& date) {
  text = TrimBlanks(text);
  const std::vector<Item> items = Tokenize(formats.shortDate);
  int year = -1;
  int month = -1;
  int day = -1;
  std::size_t pos = 0;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Item& item = items[k];
    if (item.letter == 0) {
      if (text.substr(pos, item.text.size()) != item.text) return false;
      pos += item.text.size();
      continue;
    }
    if (IsNameField(item)) {
      if (!ReadMonthOrDayName(text, pos, item.letter, month)) return false;
      continue;
    }
    if (item.letter == 'A' || item.letter == 'a') {
      if (!ReadAmPm(text, pos, formats)) return false;
      continue;
    }
    // Between two fields with nothing to part them only the field's own width is read.
    const bool nextIsField = k + 1 < items.size() && items[k + 1].letter != 0;
    const std::size_t maxDigits = item.letter == 'y' && (item.width == 4 || !nextIsField) ? 4 : 2;
    std::size_t digits = 0;
    int value = 0;
    while (digits < maxDigits && pos < text.size() && IsDigit(text[pos])) {
      value = value * 10 + (text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0) return false;
    if (item.letter == 'd') day = value;
    if (item.letter == 'M') month = value;
    if (item.letter == 'y') year = digits <= 2 ? ExpandYear(value, currentYear) : value;
  }
  if (pos != text.size() || !IsValidDate(year, month, day)) return false;
  date = EncodeDate(year, month, day);
  return true;
}

bool TextToDate(std::string_view text, const DateFormats& formats, TDateTime& date) {
  return TextToDate(text, formats, DecodeDate(SystemClock().Now()).year, date);
}

bool TextToStoredDate(std::string_view text, const DateFormats& formats, int currentYear, TDateTime& date) {
  if (TextToDate(text, formats, currentYear, date)) return true;
  text = TrimBlanks(text);
  for (const char* pattern : {"yyyy/MM/dd", "yyyy-MM-dd", "d MMM yyyy"}) {
    const DateFormats other{pattern};
    TDateTime read = 0;
    if (TextToDate(text, other, currentYear, read) && DateToText(read, other) == text) {
      date = read;
      return true;
    }
  }
  return false;
}

std::string PlainLongTime(std::string_view pattern, std::string_view amText, std::string_view pmText) {
  const std::string plain = RemoveTimeZoneFields(pattern);
  const auto isWordChar = [](char c) { return AsciiLower(c) != AsciiUpper(c) || !IsAscii(c); };
  const bool asciiMarks = std::ranges::all_of(amText, IsAscii) && std::ranges::all_of(pmText, IsAscii);
  for (const Item& item : Tokenize(plain)) {
    const bool words = item.letter == 0 ? std::ranges::any_of(item.text, isWordChar)
                                        : (item.letter == 'A' || item.letter == 'a') && !asciiMarks;
    if (words) return "H:mm:ss";
  }
  return plain;
}

std::string RemoveTimeZoneFields(std::string_view pattern) {
  std::string out;
  bool quoted = false;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') quoted = !quoted;
    if (c != 't' || quoted) {
      out += c;
      ++i;
      continue;
    }
    while (i < pattern.size() && pattern[i] == 't') ++i;
    if (!out.empty() && (out.back() == '(' || out.back() == '[') && i < pattern.size() &&
        pattern[i] == (out.back() == '(' ? ')' : ']')) {
      out.pop_back();
      ++i;
    }
    while (!out.empty() && IsBlank(out.back())) out.pop_back();
    if (out.empty()) {
      while (i < pattern.size() && IsBlank(pattern[i])) ++i;
    }
  }
  return out;
}

}  // namespace mokuro
