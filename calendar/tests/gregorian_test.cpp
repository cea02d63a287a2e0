#include "calendar/gregorian.h"

#include <chrono>
#include <ostream>

#include <gtest/gtest.h>

#include "calendar/calendar_error.h"

namespace ziwei::calendar {

// Readable failure messages.
void PrintTo(const GregorianDate& d, std::ostream* os) {
  *os << d.year << '-' << d.month << '-' << d.day;
}

namespace {

using std::chrono::days;
using std::chrono::sys_days;

TEST(Gregorian, LeapDays) {
  EXPECT_TRUE(is_valid(GregorianDate{2000, 2, 29}));
  EXPECT_TRUE(is_valid(GregorianDate{2024, 2, 29}));
  EXPECT_FALSE(is_valid(GregorianDate{1900, 2, 29}));
  EXPECT_FALSE(is_valid(GregorianDate{2100, 2, 29}));
  EXPECT_FALSE(is_valid(GregorianDate{2023, 2, 29}));
  EXPECT_FALSE(is_valid(GregorianDate{2023, 4, 31}));
  EXPECT_FALSE(is_valid(GregorianDate{2023, 13, 1}));
  EXPECT_FALSE(is_valid(GregorianDate{2023, 1, 0}));
  EXPECT_FALSE(is_valid(GregorianDate{2023, 257, 1}));  // not read as month 1
  EXPECT_FALSE(is_valid(GregorianDate{2023, 1, 257}));
}

TEST(Gregorian, KnownSerialDays) {
  EXPECT_EQ(to_days(GregorianDate{1970, 1, 1}), sys_days{days{0}});
  EXPECT_EQ(to_days(GregorianDate{0, 1, 1}), sys_days{days{-719528}});
  EXPECT_EQ(to_days(GregorianDate{9999, 12, 31}), sys_days{days{2932896}});
}

// Every day 1800..2200, counted one by one from month lengths and the
// leap rule written out here, both ways.
TEST(Gregorian, EveryDayFollowsTheCalendar) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  GregorianDate date{1800, 1, 1};
  sys_days serial = to_days(date);
  EXPECT_EQ(serial, sys_days{days{-62091}});
  while (date.year <= 2200) {
    ASSERT_EQ(gregorian_from_days(serial), date) << serial.time_since_epoch().count();
    ASSERT_EQ(to_days(date), serial) << format_gregorian(date);
    ASSERT_TRUE(is_valid(date)) << format_gregorian(date);
    const bool leap = date.year % 4 == 0 && (date.year % 100 != 0 || date.year % 400 == 0);
    const int length = kDays[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    ASSERT_EQ(days_in_month(date.year, date.month), length) << format_gregorian(date);
    ASSERT_FALSE(is_valid(GregorianDate{date.year, date.month, length + 1}));
    if (++date.day > length)
      date = {date.month == 12 ? date.year + 1 : date.year, date.month % 12 + 1, 1};
    serial += days{1};
  }
  EXPECT_EQ(days_in_month(2001, 0), 0);
  EXPECT_EQ(days_in_month(2001, 13), 0);
}

TEST(Gregorian, ParseAcceptsExactlyYyyyMmDd) {
  EXPECT_EQ(parse_gregorian("2001-06-08"), (GregorianDate{2001, 6, 8}));
  EXPECT_EQ(parse_gregorian("2000-02-29"), (GregorianDate{2000, 2, 29}));
  EXPECT_EQ(parse_gregorian("0001-01-01"), (GregorianDate{1, 1, 1}));
  for (const char* bad :
       {"", "2001-6-08", "2001-06-8", "2001/06/08", " 2001-06-08", "2001-06-08 ", "20010608",
        "+001-06-08", "2001-06-0a", "２００１-06-08", "2001-06-08T00"}) {
    EXPECT_THROW(parse_gregorian(bad), CalendarError) << '"' << bad << '"';
  }
  for (const char* missing : {"2023-02-29", "1900-02-29", "2100-02-29", "2001-00-10", "2001-13-01",
                              "2001-04-31", "2001-01-00", "2001-01-32"}) {
    EXPECT_THROW(parse_gregorian(missing), CalendarError) << missing;
  }
}

TEST(Gregorian, ParseErrorNamesTheText) {
  try {
    parse_gregorian("2023-02-29");
    FAIL() << "no error";
  } catch (const CalendarError& e) {
    EXPECT_STREQ(e.what(), "\"2023-02-29\" is not an existing date");
  }
}

TEST(Gregorian, Format) {
  EXPECT_EQ(format_gregorian({2001, 6, 8}), "2001-06-08");
  EXPECT_EQ(format_gregorian({1900, 1, 31}), "1900-01-31");
  EXPECT_EQ(format_gregorian({7, 12, 1}), "0007-12-01");
  EXPECT_EQ(format_gregorian({9999, 12, 31}), "9999-12-31");
  EXPECT_THROW(format_gregorian({10000, 1, 1}), CalendarError);
  EXPECT_THROW(format_gregorian({-1, 1, 1}), CalendarError);
  EXPECT_THROW(format_gregorian({2023, 2, 29}), CalendarError);
}

}  // namespace
}  // namespace ziwei::calendar
