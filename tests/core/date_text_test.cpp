#include "date_text.h"

#include <cctype>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "clock.h"

namespace mokuro {
namespace {

constexpr int kThisYear = 2026;

// Formats as the system locales give them, time-zone fields removed.
struct LocaleCase {
  const char* locale;
  DateFormats formats;
  const char* date;      // 2026-05-01
  const char* dateTime;  // 2026-05-01 15:04:05
};

void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.locale; }

class LocaleFormats : public testing::TestWithParam<LocaleCase> {};

const TDateTime kFriday = EncodeDate(2026, 5, 1);
const TDateTime kAfternoon = kFriday + EncodeTime(15, 4, 5, 0);

TEST_P(LocaleFormats, WritesTheLocalesText) {
  const LocaleCase& c = GetParam();
  EXPECT_EQ(DateToText(kAfternoon, c.formats), c.date);
  EXPECT_EQ(DateTimeToText(kAfternoon, c.formats), c.dateTime);
  EXPECT_EQ(DateTimeToText(kFriday, c.formats), c.date) << "no time at midnight";
}

TEST_P(LocaleFormats, WrittenDatesReadBackAsTheSameDate) {
  const DateFormats& formats = GetParam().formats;
  std::vector<TDateTime> dates = {EncodeDate(1976, 1, 1),   EncodeDate(1999, 12, 31), EncodeDate(2000, 2, 29),
                                  EncodeDate(2026, 12, 31), EncodeDate(2075, 12, 31), kAfternoon};
  if (formats.shortDate.find("yyyy") != std::string::npos) {
    dates.insert(dates.end(), {EncodeDate(1, 1, 1), EncodeDate(1899, 12, 30), EncodeDate(9999, 12, 31)});
  }
  for (const TDateTime value : dates) {
    const std::string text = DateToText(value, formats);
    TDateTime read = -1;
    ASSERT_TRUE(TextToDate(text, formats, kThisYear, read)) << text;
    EXPECT_EQ(read, DateOf(value)) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleFormats,
    testing::Values(
        LocaleCase{"ja_JP", {"yyyy/MM/dd", "H時mm分ss秒", "午前", "午後"}, "2026/05/01", "2026/05/01 15時04分05秒"},
        LocaleCase{"en_US", {"M/d/yy", "h:mm:ss AP", "AM", "PM"}, "5/1/26", "5/1/26 3:04:05 PM"},
        LocaleCase{"de_DE", {"dd.MM.yy", "HH:mm:ss", "AM", "PM"}, "01.05.26", "01.05.26 15:04:05"},
        LocaleCase{"en_GB", {"dd/MM/yyyy", "HH:mm:ss", "am", "pm"}, "01/05/2026", "01/05/2026 15:04:05"},
        LocaleCase{"zh_CN", {"yyyy/M/d", "HH:mm:ss", "上午", "下午"}, "2026/5/1", "2026/5/1 15:04:05"},
        LocaleCase{"ko_KR", {"yy. M. d.", "AP h시 m분 s초", "오전", "오후"}, "26. 5. 1.", "26. 5. 1. 오후 3시 4분 5초"},
        LocaleCase{"en_CA", {"yyyy-MM-dd", "h:mm:ss AP", "a.m.", "p.m."}, "2026-05-01", "2026-05-01 3:04:05 P.M."},
        LocaleCase{"hu_HU", {"yyyy. MM. dd.", "H:mm:ss", "de.", "du."}, "2026. 05. 01.", "2026. 05. 01. 15:04:05"},
        LocaleCase{"fi_FI", {"d.M.yyyy", "H.mm.ss", "ap.", "ip."}, "1.5.2026", "1.5.2026 15.04.05"},
        LocaleCase{"bg_BG", {"d.MM.yy 'г'.", "H:mm:ss 'ч'.", "пр.об.", "сл.об."}, "1.05.26 г.", "1.05.26 г. 15:04:05 ч."},
        LocaleCase{"ar_EG", {"d\u200f/M\u200f/yyyy", "h:mm:ss AP", "ص", "م"}, "1\u200f/5\u200f/2026",
                   "1\u200f/5\u200f/2026 3:04:05 م"},
        LocaleCase{"C", {"d MMM yyyy", "HH:mm:ss", "AM", "PM"}, "1 May 2026", "1 May 2026 15:04:05"},
        LocaleCase{"long names", {"dddd, MMMM d, yyyy", "h:mm ap", "AM", "PM"}, "Friday, May 1, 2026",
                   "Friday, May 1, 2026 3:04 pm"},
        LocaleCase{"digits only", {"yyyyMMdd", "HHmmss", "AM", "PM"}, "20260501", "20260501 150405"}),
    [](const testing::TestParamInfo<LocaleCase>& info) {
      std::string name;
      for (const char c : std::string(info.param.locale)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

struct ReadCase {
  const char* format;
  const char* text;
  CalendarDate expected;  // year 0: doesn't convert
};

// A reading against what it should give: expected year 0 for no date, which leaves the
// date as it was (-1).
void ExpectRead(bool read, TDateTime date, const CalendarDate& expected, const std::string& what) {
  if (expected.year == 0) {
    EXPECT_FALSE(read) << what;
    EXPECT_EQ(date, -1) << what << ": left as it was";
  } else {
    ASSERT_TRUE(read) << what;
    EXPECT_EQ(DecodeDate(date), expected) << what;
  }
}

TEST(TextToDate, ReadsWhatTheFormatAllowsAndNothingElse) {
  const ReadCase cases[] = {
      {"yyyy/MM/dd", "2026/5/1", {2026, 5, 1}},
      {"yyyy/MM/dd", "  2026/05/01 ", {2026, 5, 1}},
      {"yyyy/MM/dd", "26/05/01", {2026, 5, 1}},
      {"yyyy/MM/dd", "2026-05-01", {}},
      {"yyyy/MM/dd", "2026/02/30", {}},
      {"yyyy/MM/dd", "2026/13/01", {}},
      {"yyyy/MM/dd", "2026/05/01x", {}},
      {"yyyy/MM/dd", "2026/05", {}},
      {"yyyy/MM/dd", "2026/005/01", {}},
      {"yyyy/MM/dd", "", {}},
      {"yyyy/MM/dd", "abc", {}},
      {"M/d/yy", "5/1/2026", {2026, 5, 1}},
      {"M/d/yy", "12/31/75", {2075, 12, 31}},
      {"M/d/yy", "1/1/76", {1976, 1, 1}},
      {"M/d/yy", "2/29/00", {2000, 2, 29}},
      {"M/d/yy", "2/29/01", {}},
      {"yyMMdd", "260501", {2026, 5, 1}},
      {"d MMM yyyy", "1 may 2026", {2026, 5, 1}},
      {"d MMM yyyy", "1 September 2026", {2026, 9, 1}},
      {"d MMM yyyy", "1 Mai 2026", {}},
      {"ddd, d MMM yyyy", "Fri, 1 May 2026", {2026, 5, 1}},
      {"ddd, d MMM yyyy", "1 May 2026", {}},
      {"'Date' yyyy-MM-dd", "Date 2026-05-01", {2026, 5, 1}},
      {"'Date' yyyy-MM-dd", "2026-05-01", {}},
  };
  for (const ReadCase& c : cases) {
    TDateTime date = -1;
    const bool read = TextToDate(c.text, DateFormats{c.format}, kThisYear, date);
    ExpectRead(read, date, c.expected, std::string(c.format) + " / " + c.text);
  }
}

TEST(TextToDate, TwoDigitYearsFollowTheCurrentYear) {
  const DateFormats formats{"yy-MM-dd"};
  TDateTime date = 0;
  ASSERT_TRUE(TextToDate("48-01-01", formats, 2099, date));
  EXPECT_EQ(DecodeDate(date).year, 2148);
  ASSERT_TRUE(TextToDate("49-01-01", formats, 2099, date));
  EXPECT_EQ(DecodeDate(date).year, 2049);
  const TDateTime today = SystemClock().Today();
  ASSERT_TRUE(TextToDate(DateToText(today, formats), formats, date));
  EXPECT_EQ(date, today);
}

TEST(DateTimeToText, TwelveHourClockAndQuotedText) {
  const DateFormats formats{"yyyy/MM/dd", "h:mm:ss ap", "AM", "PM"};
  const TDateTime day = EncodeDate(2026, 5, 1);
  EXPECT_EQ(DateTimeToText(day + EncodeTime(0, 30, 0, 0), formats), "2026/05/01 12:30:00 am");
  EXPECT_EQ(DateTimeToText(day + EncodeTime(12, 0, 0, 0), formats), "2026/05/01 12:00:00 pm");
  EXPECT_EQ(DateTimeToText(day + EncodeTime(23, 59, 59, 999), formats), "2026/05/01 11:59:59 pm");
  EXPECT_EQ(DateTimeToText(day + EncodeTime(0, 0, 1, 0), formats), "2026/05/01 12:00:01 am");
  EXPECT_EQ(DateTimeToText(day + EncodeTime(9, 5, 7, 0), DateFormats{"yyyy", "hh'h' mm 'o''clock' ss'' HH"}),
            "2026 09h 05 o'clock 07' 09");
  EXPECT_EQ(DateToText(day, DateFormats{"'yyyy"}), "yyyy") << "an open quote runs to the end";
}

TEST(DateTimeToText, TimeIsLeftOutWhenHoursMinutesAndSecondsAreZeroWhateverTheMilliseconds) {
  const DateFormats formats{"yyyy/MM/dd", "H:mm:ss"};
  const TDateTime day = EncodeDate(2025, 1, 26);
  for (const int ms : {0, 1, 500, 999}) EXPECT_EQ(DateTimeToText(day + EncodeTime(0, 0, 0, ms), formats), "2025/01/26") << ms;
  EXPECT_EQ(DateTimeToText(day + EncodeTime(0, 0, 1, 0), formats), "2025/01/26 0:00:01");
  EXPECT_EQ(DateTimeToText(day + EncodeTime(14, 5, 9, 500), formats), "2025/01/26 14:05:09");
}

TEST(PlainLongTime, KeepsALocalesTimeFormatOnlyWithoutZoneOrWords) {
  struct Case {
    const char* locale;
    const char* pattern;  // as the locale has it
    const char* am;
    const char* pm;
    const char* plain;
  };
  const Case cases[] = {
      {"C", "HH:mm:ss t", "AM", "PM", "HH:mm:ss"},
      {"ja_JP", "H時mm分ss秒 t", "午前", "午後", "H:mm:ss"},
      {"en_US", "h:mm:ss AP t", "AM", "PM", "h:mm:ss AP"},
      {"en_CA", "h:mm:ss AP t", "a.m.", "p.m.", "h:mm:ss AP"},
      {"ko_KR", "AP h시 m분 s초 t", "오전", "오후", "H:mm:ss"},
      {"zh_CN", "t HH:mm:ss", "上午", "下午", "HH:mm:ss"},
      {"zh_TW", "Bh:mm:ss [t]", "上午", "下午", "H:mm:ss"},
      {"ar_EG", "h:mm:ss AP t", "ص", "م", "H:mm:ss"},
      {"bg_BG", "H:mm:ss 'ч'. t", "пр.об.", "сл.об.", "H:mm:ss"},
      {"th_TH", "H นาฬิกา mm นาที ss วินาที t", "ก่อนเที่ยง", "หลังเที่ยง", "H:mm:ss"},
      {"fi_FI", "H.mm.ss t", "ap.", "ip.", "H.mm.ss"},
      {"fa_IR", "H:mm:ss (t)", "قبل‌ازظهر", "بعدازظهر", "H:mm:ss"},
      {"quoted word", "HH 'h' mm", "AM", "PM", "H:mm:ss"},
  };
  for (const Case& c : cases) EXPECT_EQ(PlainLongTime(c.pattern, c.am, c.pm), c.plain) << c.locale;
}

TEST(TextToStoredDate, TheLocalesDateFirstThenTheFormatsWrittenUnderOtherLocales) {
  const DateFormats japanese{"yyyy/MM/dd"};
  const DateFormats c{"d MMM yyyy"};
  const DateFormats american{"M/d/yy"};
  const DateFormats german{"dd.MM.yy"};
  struct Case {
    const DateFormats* formats;
    const char* text;
    CalendarDate expected;  // year 0: no date
  };
  const Case cases[] = {
      {&japanese, "2026/12/11", {2026, 12, 11}},
      {&japanese, "11 Dec 2026", {2026, 12, 11}},
      {&japanese, " 2026-12-11 ", {2026, 12, 11}},
      {&c, "2026/12/11", {2026, 12, 11}},
      {&c, "11 Dec 2026", {2026, 12, 11}},
      {&american, "2026/12/11", {2026, 12, 11}},
      {&american, "12/11/26", {2026, 12, 11}},
      {&german, "2026-12-11", {2026, 12, 11}},
      {&german, "11.12.26", {2026, 12, 11}},
      // Only exactly as the program writes them: a short year or a missing zero could be
      // another locale's order of day and month.
      {&c, "26/12/11", {}},
      {&c, "2026/1/5", {}},
      {&c, "11.12.26", {}},
      {&c, "2026/13/01", {}},
      {&japanese, "abc", {}},
      {&japanese, "", {}},
  };
  for (const Case& k : cases) {
    TDateTime date = -1;
    const bool read = TextToStoredDate(k.text, *k.formats, kThisYear, date);
    ExpectRead(read, date, k.expected, k.formats->shortDate + " / " + k.text);
  }
}

TEST(RemoveTimeZoneFields, LeavesTheRestOfTheLocalesTimeFormat) {
  const std::pair<const char*, const char*> cases[] = {
      {"h:mm:ss AP t", "h:mm:ss AP"},
      {"H時mm分ss秒 t", "H時mm分ss秒"},
      {"t HH:mm:ss", "HH:mm:ss"},
      {"H:mm:ss (t)", "H:mm:ss"},
      {"Bh:mm:ss [t]", "Bh:mm:ss"},
      {"HH:mm:ss tttt", "HH:mm:ss"},
      {"H:mm:ss 'ч'. t", "H:mm:ss 'ч'."},
      {"HH 'at' mm", "HH 'at' mm"},
      {"HH:mm:ss", "HH:mm:ss"},
  };
  for (const auto& [pattern, expected] : cases) EXPECT_EQ(RemoveTimeZoneFields(pattern), expected) << pattern;
}

}  // namespace
}  // namespace mokuro
