#pragma once

namespace mokuro {

// Days since 30 December 1899; the fraction is the time of day. For days before that
// date the integer part counts back and the fraction still adds forward in time, as in
// the settings files of the program's Windows users.
using TDateTime = double;

struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const CalendarDate&) const = default;
};

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  bool operator==(const TimeOfDay&) const = default;
};

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

// Undefined for an invalid date: check it with IsValidDate first.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
CalendarDate DecodeDate(TDateTime value);
TimeOfDay DecodeTime(TDateTime value);
// The date alone, its time of day dropped.
TDateTime DateOf(TDateTime value);

}  // namespace mokuro
