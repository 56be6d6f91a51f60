#include "date_time.h"

#include <gtest/gtest.h>

namespace mokuro {
namespace {

TEST(DateTime, KnownDaysSinceTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 12, 23), 36883.0);
  EXPECT_EQ(EncodeDate(2026, 12, 11), 46367.0);
  EXPECT_EQ(DecodeDate(36883.75), (CalendarDate{2000, 12, 23}));
  EXPECT_EQ(DecodeTime(36883.75), (TimeOfDay{18, 0, 0, 0}));
  EXPECT_EQ(DecodeDate(-1.25), (CalendarDate{1899, 12, 29}));
  EXPECT_EQ(DecodeTime(-1.25), (TimeOfDay{6, 0, 0, 0}));
}

TEST(DateTime, EveryDayOfFourCenturiesRoundTrips) {
  TDateTime expected = EncodeDate(1900, 1, 1);
  for (int y = 1900; y < 2300; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= DaysInMonth(y, m); ++d) {
        ASSERT_EQ(EncodeDate(y, m, d), expected) << y << '-' << m << '-' << d;
        ASSERT_EQ(DecodeDate(expected + 0.999), (CalendarDate{y, m, d}));
        expected += 1;
      }
    }
  }
}

TEST(DateTime, TimesRoundTripToTheMillisecond) {
  for (const TimeOfDay t : {TimeOfDay{0, 0, 0, 0}, TimeOfDay{23, 59, 59, 999}, TimeOfDay{12, 34, 56, 789}}) {
    EXPECT_EQ(DecodeTime(EncodeDate(2026, 2, 28) + EncodeTime(t.hour, t.minute, t.second, t.millisecond)), t);
  }
  EXPECT_EQ(DateOf(46367.9999), 46367.0);
}

TEST(DateTime, Validity) {
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(2100, 2, 29));
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  EXPECT_FALSE(IsValidDate(2026, 13, 1));
  EXPECT_FALSE(IsValidDate(2026, 4, 31));
  EXPECT_FALSE(IsValidDate(2026, 4, 0));
}

}  // namespace
}  // namespace mokuro
