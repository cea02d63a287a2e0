#pragma once
// A chart request as numbers: the lunar birth, the rules it is cast by, and
// the name and the record of how the lunar date was found.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"

namespace ziwei {

// The lunar birth data: the month as given (a leap month is the one that
// follows month `month`; the chart moves its second half to the next month),
// the clock time and the sex. The defaults are the window's start-up
// selection.
struct LunarBirth {
  int year = 2000;  // the lunar year by its Western number (1984 is 甲子)
  int month = 1;    // 1..12
  bool leap = false;
  int day = 1;     // 1..30
  int hour = 0;    // 0..23; 23 and 0 are both the 子 hour
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
  bool male = true;
  friend bool operator==(const LunarBirth&, const LunarBirth&) = default;
};

// The lunar date of a birth. The selectors offer dates the calendar lacks (a
// leap month the year does not have, day 30 of a 29-day month); such a birth
// is still cast as given, and calendar::is_valid tells the two apart.
constexpr calendar::LunarDate lunarDateOf(const LunarBirth& birth) {
  return {birth.year, birth.month, birth.leap, birth.day};
}

// The clock hour 23:00-23:59 (晚子, the late 子 hour): SameDay counts it as
// the 子 hour of its own date, as this program always has; NextDay as the 子
// hour of the next day, so that the lunar date moves on one day (across month
// and year ends). resolveBirthTime (birth/birth_time.h) makes that move; the
// chart casts the date it is given.
enum class LateZi { SameDay, NextDay };

// Rules on which traditions differ. Each member's default is the rule this
// program has always cast by; any other value is an explicit, named choice.
// castFrame keeps them in ChartState::options, where the star families read
// them.
struct ChartOptions {
  LateZi lateZi = LateZi::SameDay;
  friend bool operator==(const ChartOptions&, const ChartOptions&) = default;
};

// The hour branch of a clock hour 0..23, 子 = 1 .. 亥 = 12: 23 and 0 are 子,
// then two hours a branch (1 and 2 are 丑, ..., 21 and 22 are 亥).
constexpr int hourBranch(int hour) noexcept { return (hour + 1) / 2 % 12 + 1; }

// The lunar years a caller accepts. The desktop selectors offer 1912..2010;
// the command line accepts up to 2100, the calendar's last lunar year.
struct YearRange {
  int first = 1912;
  int last = 2010;
};
inline constexpr YearRange kSelectorYears{1912, 2010};
inline constexpr YearRange kCommandLineYears{1912, 2100};

// The number fields of a lunar birth with what each allows; the year's range
// is the caller's YearRange.
struct BirthNumberField {
  std::string_view name;
  int LunarBirth::*member;
  int first;
  int last;
};
inline constexpr std::array<BirthNumberField, 6> kBirthNumberFields{{
    {"year", &LunarBirth::year, kCommandLineYears.first, kCommandLineYears.last},
    {"month", &LunarBirth::month, 1, 12},
    {"day", &LunarBirth::day, 1, 30},
    {"hour", &LunarBirth::hour, 0, 23},
    {"minute", &LunarBirth::minute, 0, 59},
    {"second", &LunarBirth::second, 0, 59},
}};

// The field with its range for a caller that accepts `years`.
constexpr BirthNumberField withYears(BirthNumberField field, YearRange years) {
  if (field.member == &LunarBirth::year) {
    field.first = years.first;
    field.last = years.last;
  }
  return field;
}

// The first number field of `birth` outside its range, or nothing.
constexpr std::optional<BirthNumberField> fieldOutOfRange(const LunarBirth& birth,
                                                          YearRange years) {
  for (const BirthNumberField& plain : kBirthNumberFields) {
    const BirthNumberField field = withYears(plain, years);
    const int value = birth.*field.member;
    if (value < field.first || value > field.last) return field;
  }
  return std::nullopt;
}

// A whole chart request: who, when, by which rules, and (when the birth was
// given by its Gregorian civil date) the date it was converted from.
struct BirthRequest {
  std::string name = "您的姓名";
  LunarBirth birth;
  ChartOptions options;
  std::optional<calendar::GregorianDate> solar;
};

}  // namespace ziwei
