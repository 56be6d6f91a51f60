#include "locale_formats.h"

#include <gtest/gtest.h>

namespace mokuro {
namespace {

void ExpectFormats(const DateFormats& formats, const DateFormats& expected) {
  EXPECT_EQ(formats.shortDate, expected.shortDate);
  EXPECT_EQ(formats.longTime, expected.longTime);
  EXPECT_EQ(formats.amText, expected.amText);
  EXPECT_EQ(formats.pmText, expected.pmText);
}

TEST(LocaleDateFormats, ComeFromTheLocaleWithoutTheTimeZone) {
  ExpectFormats(LocaleDateFormats(QLocale("en_US")), {"M/d/yy", "h:mm:ss AP", "AM", "PM"});
  ExpectFormats(LocaleDateFormats(QLocale("ja_JP")), {"yyyy/MM/dd", "H時mm分ss秒", "午前", "午後"});
  ExpectFormats(LocaleDateFormats(QLocale("es_ES")), {"d/M/yy", "H:mm:ss", "a.\u00a0m.", "p.\u00a0m."});
}

TEST(LocaleDateFormats, SystemLocaleIsTheUsers) {
  const DateFormats formats = SystemDateFormats();
  ExpectFormats(formats, {"dd.MM.yy", "HH:mm:ss", "AM", "PM"});
  EXPECT_EQ(DateTimeToText(EncodeDate(2026, 5, 1) + EncodeTime(15, 4, 5, 0), formats), "01.05.26 15:04:05");
}

}  // namespace
}  // namespace mokuro
