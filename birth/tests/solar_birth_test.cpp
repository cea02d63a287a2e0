#include "birth/solar_birth.h"

#include <gtest/gtest.h>

#include <string>

namespace ziwei {
namespace {

TEST(SolarBirth, ConvertsTheDateAndKeepsTheRest) {
  LunarBirth given{1950, 12, false, 30, 23, 30, 5, false};
  // Hour 23 stays on its civil date.
  EXPECT_EQ(lunarBirthOn({2001, 6, 8}, given), (LunarBirth{2001, 4, true, 17, 23, 30, 5, false}));
  // A leap flag given before is replaced, not kept.
  given.leap = true;
  EXPECT_FALSE(lunarBirthOn({2001, 5, 9}, given).leap);
}

std::string solarRefusal(calendar::GregorianDate date, YearRange years = kCommandLineYears) {
  try {
    lunarBirthOn(date, LunarBirth{}, years);
  } catch (const calendar::CalendarError& error) {
    return error.what();
  }
  return "(accepted)";
}

TEST(SolarBirth, AcceptsExactlyTheDatesOfTheLunarYears) {
  EXPECT_EQ(solarSpan(kCommandLineYears).first, (calendar::GregorianDate{1912, 2, 18}));
  EXPECT_EQ(solarSpan(kCommandLineYears).last, (calendar::GregorianDate{2100, 12, 31}));
  EXPECT_EQ(solarSpan(kSelectorYears).last, (calendar::GregorianDate{2011, 2, 2}));

  EXPECT_EQ(lunarBirthOn({1912, 2, 18}, {}).year, 1912);
  EXPECT_EQ(lunarBirthOn({2100, 12, 31}, {}).year, 2100);
  EXPECT_EQ(lunarBirthOn({2011, 2, 2}, {}, kSelectorYears).year, 2010);
  const std::string wideRange = "(allowed: 1912-02-18 to 2100-12-31, lunar years 1912 to 2100)";
  EXPECT_EQ(solarRefusal({1912, 2, 17}), "\"1912-02-17\" falls in lunar year 1911 " + wideRange);
  EXPECT_EQ(solarRefusal({2011, 2, 3}, kSelectorYears),
            "\"2011-02-03\" falls in lunar year 2011 (allowed: 1912-02-18 to 2011-02-02, lunar "
            "years 1912 to 2010)");
  EXPECT_EQ(solarRefusal({2101, 1, 1}), "\"2101-01-01\" is not allowed " + wideRange);
  EXPECT_EQ(solarRefusal({1800, 1, 1}), "\"1800-01-01\" is not allowed " + wideRange);
  EXPECT_EQ(solarRefusal({2001, 2, 29}), "year 2001, month 2, day 29 is not an existing date");
  EXPECT_THROW(solarSpan({1899, 2000}), calendar::CalendarError);
}

}  // namespace
}  // namespace ziwei
