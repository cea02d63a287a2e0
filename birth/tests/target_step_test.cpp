#include "birth/target_step.h"

#include <gtest/gtest.h>

#include <string>

namespace ziwei {
namespace {

using calendar::GregorianDate;
using calendar::LunarDate;

// Lunar facts from the calendar: 2023 has a leap second month (閏2-1 is
// 2023-03-22), 2024 none; 2023-12 has 30 days, 2024-1 29.
TEST(TargetStep, MovesByLunarYearsAndMonths) {
  const struct {
    LunarDate from;
    int years;
    int months;
    LunarDate kept;
    GregorianDate shown;
  } cases[] = {
      {{2023, 1, false, 1}, 1, 0, {2024, 1, false, 1}, {2024, 2, 10}},
      {{2023, 1, false, 1}, 0, 1, {2023, 2, false, 1}, {2023, 2, 20}},
      {{2023, 2, false, 1}, 0, 1, {2023, 2, true, 1}, {2023, 3, 22}},
      {{2023, 3, false, 1}, 0, -1, {2023, 2, true, 1}, {2023, 3, 22}},
      {{2023, 2, true, 1}, 1, 0, {2024, 2, false, 1}, {2024, 3, 10}},  // no leap 2 in 2024
      {{2024, 1, false, 1}, 0, -1, {2023, 12, false, 1}, {2024, 1, 11}},
      {{2023, 1, false, 1}, 1, -13, {2023, 1, false, 1}, {2023, 1, 22}},
      // Into a shorter month: shown on its last day, the day kept.
      {{2023, 12, false, 30}, 0, 1, {2024, 1, false, 30}, {2024, 3, 9}},
  };
  for (const auto& c : cases) {
    const TargetStep step = stepTarget(c.from, c.years, c.months);
    const std::string row = std::to_string(c.from.year) + "-" + std::to_string(c.from.month) +
                            (c.from.leap ? "L" : "") + "-" + std::to_string(c.from.day) + " " +
                            std::to_string(c.years) + "y " + std::to_string(c.months) + "m";
    EXPECT_EQ(step.kept, c.kept) << row;
    EXPECT_EQ(step.shown, c.shown) << row;
  }
}

// From every 30th of 1990..2030, months on and back again end on the 30th:
// the short months passed on the way do not move the day chosen.
TEST(TargetStep, KeepsTheDayThroughShortMonths) {
  int shortOnTheWay = 0;
  for (int year = 1990; year <= 2030; ++year) {
    for (int month = 1; month <= 12; ++month) {
      if (calendar::month_length(year, month) != 30) continue;
      const LunarDate start{year, month, false, 30};
      TargetStep step{start, calendar::to_gregorian(start)};
      for (int i = 0; i < 3; ++i) {
        step = stepTarget(step.kept, 0, 1);
        if (calendar::to_lunar(step.shown).day != 30) ++shortOnTheWay;
      }
      for (int i = 0; i < 3; ++i) step = stepTarget(step.kept, 0, -1);
      EXPECT_EQ(step.kept, start);
      EXPECT_EQ(step.shown, calendar::to_gregorian(start));
      // A year on and back again as well.
      step = stepTarget(stepTarget(start, 1, 0).kept, -1, 0);
      EXPECT_EQ(step.kept, start);
    }
  }
  EXPECT_GT(shortOnTheWay, 100);  // the walk did pass through 29-day months
}

TEST(TargetStep, RefusesStepsOutOfTheCalendar) {
  EXPECT_THROW(stepTarget({2100, 12, false, 1}, 0, 1), calendar::CalendarError);
  EXPECT_THROW(stepTarget({2100, 11, false, 5}, 0, 1), calendar::CalendarError);  // past 2100-12-31
  EXPECT_THROW(stepTarget({1900, 1, false, 1}, 0, -1), calendar::CalendarError);
  EXPECT_THROW(stepTarget({2100, 1, false, 1}, 1, 0), calendar::CalendarError);
  EXPECT_EQ(stepTarget({2100, 11, false, 5}, 0, 0).shown,
            calendar::to_gregorian({2100, 11, false, 5}));
}

}  // namespace
}  // namespace ziwei
