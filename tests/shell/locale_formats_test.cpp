#include "locale_formats.h"

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "settings_store.h"
#include "temp_dir.h"

namespace mokuro {
namespace {

void ExpectFormats(const DateFormats& formats, const DateFormats& expected) {
  EXPECT_EQ(formats.shortDate, expected.shortDate);
  EXPECT_EQ(formats.longTime, expected.longTime);
  EXPECT_EQ(formats.amText, expected.amText);
  EXPECT_EQ(formats.pmText, expected.pmText);
}

TEST(LocaleDateFormats, ComeFromTheLocaleWithoutTimeZoneOrWords) {
  ExpectFormats(LocaleDateFormats(QLocale("en_US")), {"M/d/yy", "h:mm:ss AP", "AM", "PM"});
  ExpectFormats(LocaleDateFormats(QLocale("ja_JP")), {"yyyy/MM/dd", "H:mm:ss", "午前", "午後"});
  ExpectFormats(LocaleDateFormats(QLocale("ko_KR")), {"yy. M. d.", "H:mm:ss", "오전", "오후"});
  ExpectFormats(LocaleDateFormats(QLocale("es_ES")), {"d/M/yy", "H:mm:ss", "a.\u00a0m.", "p.\u00a0m."});
  ExpectFormats(LocaleDateFormats(QLocale::c()), {"d MMM yyyy", "HH:mm:ss", "AM", "PM"});
}

TEST(LocaleDateFormats, SystemLocaleIsTheUsers) {
  const DateFormats formats = SystemDateFormats();
  ExpectFormats(formats, {"dd.MM.yy", "HH:mm:ss", "AM", "PM"});
  EXPECT_EQ(DateTimeToText(EncodeDate(2026, 5, 1) + EncodeTime(15, 4, 5, 0), formats), "01.05.26 15:04:05");
}

// The date and time in the header of a charge snapshot: as a Japanese Windows system
// writes them under ja_JP, and the time left out at midnight whatever the milliseconds.
TEST(LocaleDateFormats, ChargeHeaderTime) {
  struct Case {
    QLocale locale;
    TDateTime time;
    const char* text;
  };
  const TDateTime day = EncodeDate(2025, 1, 26);
  const Case cases[] = {
      {QLocale("ja_JP"), day + EncodeTime(14, 5, 9, 0), "2025/01/26 14:05:09"},
      {QLocale("ja_JP"), day + EncodeTime(0, 0, 0, 500), "2025/01/26"},
      {QLocale::c(), day + EncodeTime(14, 5, 9, 0), "26 Jan 2025 14:05:09"},
      {QLocale::c(), day + EncodeTime(0, 0, 0, 500), "26 Jan 2025"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateTimeToText(c.time, LocaleDateFormats(c.locale)), c.text) << c.locale.name().toStdString();
  }
}

// The last clearing date, written at exit under one locale and read at the next start under
// another: the same date, not today, so that the clearing falls due when it should.
TEST(LocaleDateFormats, LastClearingDateOutlivesAChangeOfLocale) {
  const TDateTime lastClearing = EncodeDate(2026, 12, 11);
  const FixedClock clock(EncodeDate(2027, 1, 20) + 0.5);
  const std::pair<QLocale, QLocale> changes[] = {
      {QLocale::c(), QLocale("ja_JP")}, {QLocale("ja_JP"), QLocale::c()}, {QLocale("en_CA"), QLocale("de_DE")},
      {QLocale("ja_JP"), QLocale("en_US")}, {QLocale::c(), QLocale("en_GB")},
  };
  for (const auto& [writer, reader] : changes) {
    SCOPED_TRACE(writer.name().toStdString() + " -> " + reader.name().toStdString());
    test::TempDir dir;
    const std::string ini = dir.File("Mokuro.ini");
    Settings written;
    written.FChrgClrLast = lastClearing;
    ASSERT_FALSE(SaveSettings(ini, written, LocaleDateFormats(writer)));
    Settings read;
    LoadSettings(ini, read, LocaleDateFormats(reader), clock);
    EXPECT_EQ(read.FChrgClrLast, lastClearing) << test::ReadBytes(ini);
  }
  test::TempDir dir;
  test::WriteBytes(dir.File("Mokuro.ini"), "[Config]\r\nChrgClrLast=last winter\r\n");
  Settings read;
  LoadSettings(dir.File("Mokuro.ini"), read, LocaleDateFormats(QLocale("ja_JP")), clock);
  EXPECT_EQ(read.FChrgClrLast, clock.Today()) << "no date at all";
}

}  // namespace
}  // namespace mokuro
