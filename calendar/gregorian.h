#pragma once
// Gregorian civil dates and their serial day numbers.
//
// A serial day number is std::chrono::sys_days: days since 1970-01-01. Every
// calendar of this library converts to and from it, so a conversion between
// two calendars goes through one number.

#include <array>
#include <chrono>
#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

namespace ziwei::calendar {

struct GregorianDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  friend auto operator<=>(const GregorianDate&, const GregorianDate&) = default;
};

// True when the year is a Gregorian leap year.
constexpr bool is_leap_year(int year) noexcept {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Number of days of the month (28..31); 0 for a month outside 1..12.
constexpr int days_in_month(int year, int month) noexcept {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && is_leap_year(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// True when the date exists in the proleptic Gregorian calendar.
constexpr bool is_valid(const GregorianDate& d) noexcept {
  return d.day >= 1 && d.day <= days_in_month(d.year, d.month);
}

// Serial day of an existing date (closed form; any year a 32-bit int holds
// without overflow of the intermediates, i.e. |year| < 5'000'000).
// Precondition: is_valid(d).
constexpr std::chrono::sys_days to_days(const GregorianDate& d) noexcept {
  // Years start on March 1st, so that the leap day is the last day of a year.
  const int y = d.month <= 2 ? d.year - 1 : d.year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;                           // [0, 399]
  const int mp = d.month > 2 ? d.month - 3 : d.month + 9;  // [0, 11]
  const int doy = (153 * mp + 2) / 5 + d.day - 1;          // [0, 365]
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;   // [0, 146096]
  return std::chrono::sys_days{std::chrono::days{era * 146097 + doe - 719468}};
}

// Gregorian date of a serial day (inverse of to_days). Precondition: the day
// lies within years -5'000'000..5'000'000.
constexpr GregorianDate gregorian_from_days(std::chrono::sys_days days) noexcept {
  const int z = static_cast<int>(days.time_since_epoch().count()) + 719468;  // from 0000-03-01
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;                                       // [0, 146096]
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const int mp = (5 * doy + 2) / 153;                                     // [0, 11]
  const int day = doy - (153 * mp + 2) / 5 + 1;                           // [1, 31]
  const int month = mp < 10 ? mp + 3 : mp - 9;                            // [1, 12]
  const int year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

// Parses exactly "YYYY-MM-DD" (four, two and two ASCII digits, no sign, no
// spaces) naming an existing date. Throws CalendarError otherwise. The range of
// the lunar conversions is not checked here.
GregorianDate parse_gregorian(std::string_view text);

// "YYYY-MM-DD" for years 0..9999. Throws CalendarError outside those years.
std::string format_gregorian(const GregorianDate& d);

}  // namespace ziwei::calendar
