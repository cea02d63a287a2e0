#pragma once
// Gregorian civil dates and their serial day numbers.
//
// A serial day number is std::chrono::sys_days: days since 1970-01-01. Every
// calendar of this library converts to and from it, so a conversion between
// two calendars goes through one number.

#include <chrono>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace ziwei::calendar {

struct GregorianDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  friend auto operator<=>(const GregorianDate&, const GregorianDate&) = default;
};

// The standard library's civil calendar, for years -32767..32767.
constexpr std::chrono::year_month_day to_year_month_day(const GregorianDate& d) noexcept {
  // Fields outside their ranges are kept outside, so that ok() refuses them
  // (the library's month and day hold a byte).
  const auto field = [](int value, int last) {
    return static_cast<unsigned>(value >= 1 && value <= last ? value : 0);
  };
  return {std::chrono::year{d.year}, std::chrono::month{field(d.month, 12)},
          std::chrono::day{field(d.day, 31)}};
}

// True when the year is a Gregorian leap year.
constexpr bool is_leap_year(int year) noexcept { return std::chrono::year{year}.is_leap(); }

// Number of days of the month (28..31); 0 for a month outside 1..12.
constexpr int days_in_month(int year, int month) noexcept {
  if (month < 1 || month > 12) return 0;
  const std::chrono::year_month_day_last last{
      std::chrono::year{year},
      std::chrono::month_day_last{std::chrono::month{static_cast<unsigned>(month)}}};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

// True when the date exists in the proleptic Gregorian calendar.
constexpr bool is_valid(const GregorianDate& d) noexcept { return to_year_month_day(d).ok(); }

// Serial day of an existing date. Precondition: is_valid(d).
constexpr std::chrono::sys_days to_days(const GregorianDate& d) noexcept {
  return std::chrono::sys_days{to_year_month_day(d)};
}

// Gregorian date of a serial day (inverse of to_days), for days within the
// years -32767..32767.
constexpr GregorianDate gregorian_from_days(std::chrono::sys_days days) noexcept {
  const std::chrono::year_month_day ymd{days};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

// China Standard Time (UTC+8), the civil time of the calendars, in seconds
// east of UTC.
inline constexpr int kChinaStandardOffset = 8 * 3600;

// Seconds since 1970-01-01 00:00 UTC of the moment `secondOfDay` seconds
// after the start of `day` in China Standard Time.
constexpr std::int64_t chinaStandardSeconds(std::chrono::sys_days day, int secondOfDay = 0) {
  return std::int64_t{day.time_since_epoch().count()} * 86400 + secondOfDay - kChinaStandardOffset;
}

// Parses exactly "YYYY-MM-DD" (four, two and two ASCII digits, no sign, no
// spaces) naming an existing date. Throws CalendarError otherwise. The range of
// the lunar conversions is not checked here.
GregorianDate parse_gregorian(std::string_view text);

// "YYYY-MM-DD" for years 0..9999. Throws CalendarError outside those years.
std::string format_gregorian(const GregorianDate& d);

}  // namespace ziwei::calendar
