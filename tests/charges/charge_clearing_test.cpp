#include "charge_clearing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "charge_accounting.h"

namespace mokuro {
namespace {

struct DueCase {
  const char* name;
  CalendarDate lastClear;
  int clearDay;
  CalendarDate due;
  friend void PrintTo(const DueCase& c, std::ostream* os) { *os << c.name; }
};

class DueDateTest : public ::testing::TestWithParam<DueCase> {};

TEST_P(DueDateTest, FallsOnTheClearingDay) {
  const DueCase& c = GetParam();
  const TDateTime due = ChargeClearDueDate(EncodeDate(c.lastClear.year, c.lastClear.month, c.lastClear.day), c.clearDay);
  EXPECT_EQ(DecodeDate(due), c.due);
  EXPECT_EQ(due, DateOf(due)) << "a date without time";
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DueDateTest,
    ::testing::Values(DueCase{"before_the_day_same_month", {2000, 12, 23}, 26, {2000, 12, 26}},
                      DueCase{"after_the_day_december_to_january", {2000, 12, 27}, 26, {2001, 1, 26}},
                      DueCase{"on_the_day_not_again", {2001, 3, 26}, 26, {2001, 4, 26}},
                      DueCase{"on_the_day_in_december", {2001, 12, 26}, 26, {2002, 1, 26}},
                      DueCase{"month_end_after_31_january", {2001, 1, 31}, 1, {2001, 2, 1}},
                      DueCase{"month_end_after_the_1st", {2001, 2, 1}, 1, {2001, 3, 1}},
                      DueCase{"day_31_in_april", {2001, 4, 15}, 31, {2001, 4, 30}},
                      DueCase{"day_31_after_30_april", {2001, 4, 30}, 31, {2001, 5, 31}},
                      DueCase{"day_30_in_a_leap_february", {2004, 2, 10}, 30, {2004, 2, 29}},
                      DueCase{"day_30_in_february", {2001, 2, 10}, 30, {2001, 2, 28}},
                      DueCase{"day_30_after_28_february", {2001, 2, 28}, 30, {2001, 3, 30}},
                      DueCase{"day_0_as_the_1st", {2001, 3, 15}, 0, {2001, 4, 1}},
                      DueCase{"negative_day_as_the_1st", {2001, 12, 1}, -5, {2002, 1, 1}},
                      DueCase{"day_99_as_the_last", {2001, 6, 1}, 99, {2001, 6, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DueDate, TimeOfTheLastClearingDoesNotCount) {
  EXPECT_EQ(ChargeClearDueDate(EncodeDate(2000, 12, 23) + 0.75, 26), EncodeDate(2000, 12, 26));
  EXPECT_EQ(ChargeClearDueDate(EncodeDate(2000, 12, 26) + 0.75, 26), EncodeDate(2001, 1, 26));
}

// Clearing on each due date in turn, for any day a settings file can hold, clears exactly
// once a month.
TEST(DueDate, ClearingOnEveryDueDateClearsOnceAMonth) {
  for (int clearDay = -2; clearDay <= 33; ++clearDay) {
    TDateTime last = EncodeDate(2003, 11, 20);
    CalendarDate previous = DecodeDate(last);
    for (int i = 0; i < 30; ++i) {
      last = ChargeClearDueDate(last, clearDay);
      const CalendarDate due = DecodeDate(last);
      const int months = (due.year - previous.year) * 12 + due.month - previous.month;
      ASSERT_TRUE(i == 0 ? months <= 1 : months == 1) << "day " << clearDay << " clearing " << i;
      const int expectedDay = clearDay < 1 ? 1 : std::min(clearDay, DaysInMonth(due.year, due.month));
      ASSERT_EQ(due.day, expectedDay) << "day " << clearDay;
      previous = due;
    }
  }
}

}  // namespace
}  // namespace mokuro
