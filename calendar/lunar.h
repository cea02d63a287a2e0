#pragma once
// The Chinese lunar calendar, lunar years 1900..2100, as observed in China
// (civil dates in China Standard Time, UTC+8; before 1929 the months were
// reckoned on Beijing local time and the table follows the published tables).
//
// A lunar date converts to and from the serial day number of gregorian.h, so
// lunar -> Gregorian is to_days() then gregorian_from_days(), and the other way
// round. Conversions accept the days 1900-01-31 (lunar 1900, month 1, day 1)
// through 2100-12-31; anything else, and any date that does not exist, throws
// CalendarError (calendar/calendar_error.h).
//
// The month data lives in lunar_table.inc (see its first lines for its source).

#include <chrono>
#include <compare>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"

namespace ziwei::calendar {

struct LunarDate {
  int year = 1900;    // Western number of the lunar year (the year of its new year's day)
  int month = 1;      // 1..12
  bool leap = false;  // true for the leap month that follows month `month`
  int day = 1;        // 1..30
  friend auto operator<=>(const LunarDate&, const LunarDate&) = default;
};

inline constexpr int kFirstLunarYear = 1900;
inline constexpr int kLastLunarYear = 2100;
inline constexpr GregorianDate kFirstDate{1900, 1, 31};  // lunar 1900, month 1, day 1
inline constexpr GregorianDate kLastDate{2100, 12, 31};  // lunar 2100, month 12, day 1

// Leap month of a lunar year: 1..12, or 0 when the year has none.
// Throws CalendarError for a year outside 1900..2100.
int leap_month(int lunar_year);

// Days (29 or 30) of a month of a lunar year; `leap` asks for the leap month
// that follows month `month`. Throws CalendarError when the year is outside
// 1900..2100 or the month does not exist.
int month_length(int lunar_year, int month, bool leap = false);

// True when the date exists and lies within 1900-01-31..2100-12-31.
bool is_valid(const LunarDate& date) noexcept;

// Lunar date of a serial day. Throws CalendarError outside the range.
LunarDate lunar_from_days(std::chrono::sys_days days);

// Serial day of a lunar date. Throws CalendarError when it does not exist or
// falls outside the range.
std::chrono::sys_days to_days(const LunarDate& date);

// Gregorian -> lunar. Throws CalendarError for a date that does not exist or
// lies outside the range.
LunarDate to_lunar(const GregorianDate& date);

// Lunar -> Gregorian. Throws as to_days(const LunarDate&).
GregorianDate to_gregorian(const LunarDate& date);

}  // namespace ziwei::calendar
