#include "calendar/lunar.h"

#include <array>
#include <bit>
#include <cstddef>
#include <string>

namespace ziwei::calendar {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

// One lunar year: the Gregorian date of its new year, its leap month (0: none)
// and a bit mask of its 30-day months (bit i: the (i+1)-th month in calendar
// order, a leap month right after its namesake).
struct YearRow {
  int new_year_month;
  int new_year_day;
  int leap;
  unsigned long_months;
};

constexpr auto kYears = std::to_array<YearRow>({
#include "calendar/lunar_table.inc"
});
constexpr int kYearCount = kLastLunarYear - kFirstLunarYear + 1;
static_assert(kYears.size() == kYearCount);

constexpr int month_count(const YearRow& row) { return row.leap == 0 ? 12 : 13; }

constexpr int month_days(const YearRow& row, int index) {  // index [0, 12]
  return 29 + static_cast<int>((row.long_months >> index) & 1U);
}

constexpr int year_days(const YearRow& row) {  // [353, 385]
  return 29 * month_count(row) + std::popcount(row.long_months);
}

// Serial day of each new year, from the table's Gregorian dates; the extra last
// entry is the day after lunar 2100 ends.
constexpr std::array<sys_days, kYearCount + 1> kNewYears = [] {
  std::array<sys_days, kYearCount + 1> result{};
  for (std::size_t i = 0; i < std::size(kYears); ++i) {
    result[i] = to_days(GregorianDate{kFirstLunarYear + static_cast<int>(i),
                                      kYears[i].new_year_month, kYears[i].new_year_day});
  }
  result[kYearCount] = result[kYearCount - 1] + days{year_days(kYears[kYearCount - 1])};
  return result;
}();

// The table holds together: every row's months fill exactly the days up to the
// next new year, every new year is an existing date in January or February, no
// bit is set beyond the year's months, leap months are 0..12.
constexpr bool table_is_consistent() {
  for (std::size_t i = 0; i < std::size(kYears); ++i) {
    const YearRow& row = kYears[i];
    const GregorianDate new_year{kFirstLunarYear + static_cast<int>(i), row.new_year_month,
                                 row.new_year_day};
    if (row.new_year_month > 2 || !is_valid(new_year)) return false;
    if (row.leap < 0 || row.leap > 12) return false;
    if ((row.long_months >> month_count(row)) != 0) return false;
    if (kNewYears[i] + days{year_days(row)} != kNewYears[i + 1]) return false;
  }
  return true;
}
static_assert(table_is_consistent());
static_assert(kNewYears.front() == to_days(kFirstDate));

constexpr sys_days kFirstDay = to_days(kFirstDate);
constexpr sys_days kLastDay = to_days(kLastDate);
static_assert(kLastDay < kNewYears.back());

const YearRow& row_of(int lunar_year) {
  if (lunar_year < kFirstLunarYear || lunar_year > kLastLunarYear) {
    throw CalendarError("lunar year " + std::to_string(lunar_year) +
                        " is outside the supported range " + std::to_string(kFirstLunarYear) +
                        ".." + std::to_string(kLastLunarYear));
  }
  return kYears[static_cast<std::size_t>(lunar_year - kFirstLunarYear)];
}

// Position of a month within its year (see YearRow), or -1 when the year has
// no such month.
int month_index(const YearRow& row, int month, bool leap) {
  if (month < 1 || month > 12 || (leap && month != row.leap)) return -1;
  const bool after_leap = row.leap != 0 && (month > row.leap || leap);
  return month - 1 + (after_leap ? 1 : 0);  // [0, 12]
}

std::string describe(const LunarDate& d) {
  return "lunar " + std::to_string(d.year) + (d.leap ? ", leap month " : ", month ") +
         std::to_string(d.month) + ", day " + std::to_string(d.day);
}

// A day for a message: its date when it has four-digit years, else its number.
std::string describe_day(sys_days day) {
  const auto count = day.time_since_epoch().count();
  if (count < -719528 || count > 2932896) {  // 0000-01-01 .. 9999-12-31
    return "day " + std::to_string(count) + " (counted from 1970-01-01)";
  }
  return format_gregorian(gregorian_from_days(day));
}

std::string range_text() {
  return format_gregorian(kFirstDate) + ".." + format_gregorian(kLastDate);
}

// Serial day of a lunar date, or what keeps it from having one.
enum class Problem {
  kNone,
  kYearOutOfRange,
  kNoSuchMonth,
  kNoSuchLeapMonth,
  kNoSuchDay,
  kPastRange
};

struct Located {
  sys_days day;     // set when problem is kNone or kPastRange
  Problem problem;  // kNone: the date exists within the range
};

Located locate(const LunarDate& d) noexcept {
  if (d.year < kFirstLunarYear || d.year > kLastLunarYear) return {{}, Problem::kYearOutOfRange};
  const YearRow& row = kYears[static_cast<std::size_t>(d.year - kFirstLunarYear)];
  const int index = month_index(row, d.month, d.leap);  // [-1, 12]
  if (index < 0) {
    return {{}, d.month < 1 || d.month > 12 ? Problem::kNoSuchMonth : Problem::kNoSuchLeapMonth};
  }
  if (d.day < 1 || d.day > month_days(row, index)) return {{}, Problem::kNoSuchDay};
  int offset = d.day - 1;  // days from the new year, [0, 384]
  for (int i = 0; i < index; ++i) offset += month_days(row, i);
  const sys_days day = kNewYears[static_cast<std::size_t>(d.year - kFirstLunarYear)] + days{offset};
  return {day, day > kLastDay ? Problem::kPastRange : Problem::kNone};
}

// The message for a date that locate() refused.
std::string explain(const LunarDate& d, const Located& found) {
  const std::string date = describe(d);
  switch (found.problem) {
    case Problem::kNone:
      break;
    case Problem::kYearOutOfRange:
      return date + ": the year is outside the supported range " + std::to_string(kFirstLunarYear) +
             ".." + std::to_string(kLastLunarYear);
    case Problem::kNoSuchMonth:
      return date + ": months are numbered 1..12";
    case Problem::kNoSuchLeapMonth: {
      const int leap = kYears[static_cast<std::size_t>(d.year - kFirstLunarYear)].leap;
      return date + ": lunar year " + std::to_string(d.year) + " has no leap month " +
             std::to_string(d.month) +
             (leap == 0 ? " (it has no leap month)"
                        : " (its leap month is " + std::to_string(leap) + ")");
    }
    case Problem::kNoSuchDay:
      return date + ": the day is not allowed (allowed: days 1 to " +
             std::to_string(month_length(d.year, d.month, d.leap)) + " of that month)";
    case Problem::kPastRange:
      return date + " falls on " + format_gregorian(gregorian_from_days(found.day)) +
             ", outside the supported range " + range_text();
  }
  return date + " exists";
}

}  // namespace

int leap_month(int lunar_year) { return row_of(lunar_year).leap; }

int month_length(int lunar_year, int month, bool leap) {
  const YearRow& row = row_of(lunar_year);
  const int index = month_index(row, month, leap);
  if (index < 0) {
    throw CalendarError("lunar year " + std::to_string(lunar_year) + " has no " +
                        (leap ? "leap month " : "month ") + std::to_string(month));
  }
  return month_days(row, index);
}

bool is_valid(const LunarDate& date) noexcept { return locate(date).problem == Problem::kNone; }

LunarDate lunar_from_days(sys_days day) {
  if (day < kFirstDay || day > kLastDay) {
    throw CalendarError(describe_day(day) + " is outside the supported range " + range_text());
  }
  // Estimate the year from the mean year (365.2422 days), then correct it: the
  // estimate is off by at most one year.
  const int elapsed = static_cast<int>((day - kFirstDay).count());              // [0, 73383]
  int i = static_cast<int>(static_cast<long long>(elapsed) * 10000 / 3652422);  // [0, 200]
  if (i > kYearCount - 1) i = kYearCount - 1;
  while (kNewYears[static_cast<std::size_t>(i)] > day) --i;
  while (kNewYears[static_cast<std::size_t>(i) + 1] <= day) ++i;
  const YearRow& row = kYears[static_cast<std::size_t>(i)];
  int offset =
      static_cast<int>((day - kNewYears[static_cast<std::size_t>(i)]).count());  // [0, 384]
  int index = 0;                                                                 // [0, 12]
  while (offset >= month_days(row, index)) offset -= month_days(row, index++);
  LunarDate result{kFirstLunarYear + i, index + 1, false, offset + 1};
  if (row.leap != 0 && index >= row.leap) {  // at or after the leap month
    result.month = index;
    result.leap = index == row.leap;
  }
  return result;
}

sys_days to_days(const LunarDate& date) {
  const Located found = locate(date);
  if (found.problem != Problem::kNone) throw CalendarError(explain(date, found));
  return found.day;
}

LunarDate to_lunar(const GregorianDate& date) {
  if (!is_valid(date)) {
    throw CalendarError("year " + std::to_string(date.year) + ", month " +
                        std::to_string(date.month) + ", day " + std::to_string(date.day) +
                        " is not an existing date");
  }
  return lunar_from_days(to_days(date));
}

GregorianDate to_gregorian(const LunarDate& date) { return gregorian_from_days(to_days(date)); }

}  // namespace ziwei::calendar
