#include "calendar/lunar.h"

#include <chrono>
#include <ostream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"

// Expected dates are read from the Hong Kong Observatory's Gregorian-lunar
// conversion tables (1901-2100); lunar 1900 from the astronomical computation.

namespace ziwei::calendar {

// Readable failure messages.
void PrintTo(const LunarDate& d, std::ostream* os) {
  *os << "lunar " << d.year << (d.leap ? " leap " : " ") << d.month << '/' << d.day;
}

namespace {

using std::chrono::days;
using std::chrono::sys_days;

LunarDate lunar_of(const char* text) { return to_lunar(parse_gregorian(text)); }
std::string solar_of(const LunarDate& d) { return format_gregorian(to_gregorian(d)); }

// The message of the CalendarError that fn throws, or "" when it throws none.
template <typename Fn>
std::string error_of(Fn fn) {
  try {
    fn();
  } catch (const CalendarError& e) {
    return e.what();
  }
  return "";
}

// Gregorian -> lunar on the example, the ends of the range, leap
// months, and days where libraries and computations are known to go wrong.
TEST(Lunar, KnownDates) {
  const struct {
    const char* solar;
    LunarDate lunar;
  } rows[] = {
      {"2001-06-08", {2001, 4, true, 17}},   {"1900-01-31", {1900, 1, false, 1}},
      {"2100-12-31", {2100, 12, false, 1}},  {"1901-02-18", {1900, 12, false, 30}},
      {"1901-02-19", {1901, 1, false, 1}},   {"2020-05-23", {2020, 4, true, 1}},
      {"2020-06-20", {2020, 4, true, 29}},   {"2020-06-21", {2020, 5, false, 1}},
      {"2023-03-22", {2023, 2, true, 1}},    {"2023-04-20", {2023, 3, false, 1}},
      {"2033-08-25", {2033, 8, false, 1}},   {"2033-12-22", {2033, 11, true, 1}},
      {"2034-01-20", {2033, 12, false, 1}},  {"1906-04-24", {1906, 4, false, 1}},  // Beijing time
      {"1917-01-23", {1917, 1, false, 1}},   {"1922-01-28", {1922, 1, false, 1}},
      {"1928-12-12", {1928, 11, false, 1}},  {"1929-01-01", {1928, 11, false, 21}},
      {"1933-07-22", {1933, 5, true, 30}},   {"1933-07-23", {1933, 6, false, 1}},
      {"1987-07-26", {1987, 6, true, 1}},    {"1987-08-24", {1987, 7, false, 1}},
      {"1989-02-05", {1988, 12, false, 29}}, {"1989-02-06", {1989, 1, false, 1}},
      {"2057-09-28", {2057, 9, false, 1}},  // new moon 23:58
      {"2097-08-07", {2097, 7, false, 1}},  // new moon 23:56
      {"2023-02-19", {2023, 1, false, 29}},  {"2023-03-21", {2023, 2, false, 30}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(lunar_of(row.solar), row.lunar) << row.solar;
    EXPECT_EQ(solar_of(row.lunar), row.solar);
  }
  EXPECT_EQ(solar_of({2001, 4, false, 17}), "2001-05-09");

  // Leap months (2033's is 11, not 7) and month lengths.
  const std::pair<int, int> leaps[] = {{1900, 8}, {2020, 4}, {2023, 2}, {2033, 11}, {2022, 0},
                                       {1917, 2}, {1922, 5}, {1933, 5}, {1987, 6},  {1989, 0}};
  for (const auto& [year, month] : leaps) EXPECT_EQ(leap_month(year), month) << year;
  EXPECT_EQ(month_length(2023, 1), 29);
  EXPECT_EQ(month_length(2023, 2), 30);
  EXPECT_EQ(month_length(2023, 2, true), 29);
  EXPECT_EQ(month_length(2033, 11), 30);
  EXPECT_EQ(month_length(2033, 11, true), 29);
  EXPECT_EQ(month_length(2057, 8), 29);
  EXPECT_EQ(month_length(2057, 9), 30);
  EXPECT_THROW(month_length(2023, 3, true), CalendarError);
  EXPECT_THROW(month_length(2023, 0), CalendarError);
  EXPECT_THROW(month_length(2023, 13), CalendarError);
  EXPECT_THROW(month_length(1899, 1), CalendarError);
  EXPECT_THROW(leap_month(2101), CalendarError);
}

// Dates that do not exist or lie outside the range are refused, with a
// message that says why.
TEST(Lunar, RefusesDatesThatDoNotExistOrAreOutOfRange) {
  const struct {
    LunarDate lunar;
    const char* message;  // "" when any CalendarError will do
  } rows[] = {
      {{2023, 3, true, 1},
       "lunar 2023, leap month 3, day 1: lunar year 2023 has no leap month 3 (its leap month is "
       "2)"},
      {{2022, 3, true, 1},
       "lunar 2022, leap month 3, day 1: lunar year 2022 has no leap month 3 (it has no leap "
       "month)"},
      {{2023, 1, false, 30},
       "lunar 2023, month 1, day 30: the day is not allowed (allowed: days 1 to 29 of that "
       "month)"},
      {{2023, 13, false, 1}, "lunar 2023, month 13, day 1: months are numbered 1..12"},
      {{1899, 12, false, 1},
       "lunar 1899, month 12, day 1: the year is outside the supported range 1900..2100"},
      // Lunar 2100 runs into 2101: its last days lie past the range.
      {{2100, 12, false, 2},
       "lunar 2100, month 12, day 2 falls on 2101-01-01, outside the supported range "
       "1900-01-31..2100-12-31"},
      {{2023, 1, false, 0}, ""},
      {{2023, 2, false, 31}, ""},
      {{2023, 0, false, 1}, ""},
      {{2101, 1, false, 1}, ""},
  };
  for (const auto& row : rows) {
    const std::string message = error_of([&] { to_gregorian(row.lunar); });
    EXPECT_NE(message, "") << ::testing::PrintToString(row.lunar);
    if (*row.message != '\0') {
      EXPECT_EQ(message, row.message);
    }
    EXPECT_FALSE(is_valid(row.lunar)) << ::testing::PrintToString(row.lunar);
  }
  EXPECT_TRUE(is_valid(LunarDate{2023, 2, true, 29}));
  EXPECT_EQ(error_of([] {
              to_lunar({2023, 2, 29});
            }),
            "year 2023, month 2, day 29 is not an existing date");
  EXPECT_EQ(error_of([] {
              to_lunar({1900, 1, 30});
            }),
            "1900-01-30 is outside the supported range 1900-01-31..2100-12-31");
  EXPECT_EQ(error_of([] {
              to_lunar({2101, 1, 1});
            }),
            "2101-01-01 is outside the supported range 1900-01-31..2100-12-31");
  EXPECT_THROW(lunar_from_days(sys_days{days{1'000'000'000}}), CalendarError);
  EXPECT_THROW(lunar_from_days(sys_days{days{-1'000'000'000}}), CalendarError);
}

// Walks every lunar date of the table in calendar order: each one lies on the
// day after the previous one, and lunar -> Gregorian -> lunar gives it back, so
// the conversions are inverse bijections over the whole range.
TEST(Lunar, EveryDayRoundTrips) {
  sys_days expected = to_days(kFirstDate);
  int count = 0;
  for (int year = kFirstLunarYear; year <= kLastLunarYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (const bool leap : {false, true}) {
        if (leap && leap_month(year) != month) continue;
        const int length = month_length(year, month, leap);
        ASSERT_TRUE(length == 29 || length == 30) << year << ' ' << month;
        for (int day = 1; day <= length; ++day) {
          const LunarDate lunar{year, month, leap, day};
          if (expected > to_days(kLastDate)) {
            ASSERT_FALSE(is_valid(lunar));
            continue;
          }
          const GregorianDate solar = to_gregorian(lunar);
          ASSERT_EQ(to_days(solar), expected) << year << ' ' << month << ' ' << leap << ' ' << day;
          ASSERT_EQ(to_lunar(solar), lunar) << format_gregorian(solar);
          expected += days{1};
          ++count;
        }
      }
    }
  }
  EXPECT_EQ(expected, to_days(kLastDate) + days{1});
  EXPECT_EQ(count, 73384);
}

}  // namespace
}  // namespace ziwei::calendar
