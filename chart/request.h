#pragma once
// What a chart is cast from, as numbers: the lunar birth, the sex, the name,
// the rules it is cast by and, for a reading of the running periods, the
// target moment.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chart/stars/transformations.h"

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

// The clock hour 23:00-23:59 (晚子, the late 子 hour): SameDay counts it as
// the 子 hour of its own date, as this program always has; NextDay as the 子
// hour of the next day, so that the lunar date moves on one day (across month
// and year ends). The birth-time resolution makes that move; the chart casts
// the date it is given.
enum class LateZi { SameDay, NextDay };

// When the natal year's stem and branch (and so the palace stems, the
// birth-year transformations, the year stars, the cycles and the direction of
// the periods) change: at 正月初一 (NewYear, the lunar year as given) or at the
// instant of 立春 (Spring). The lunar date itself stays.
enum class YearBoundary { NewYear, Spring };

// When the running year and month (流年, 流月) change: at 正月初一 and each
// lunar month (Lunar), or at 立春 and each 節 (SolarTerms: the year's and the
// month's stem and branch from the solar-term month).
enum class PeriodBoundary { Lunar, SolarTerms };

// The age the decade and the minor period are read at: the nominal age (虛歲,
// 1 in the birth's lunar year) or one less until the target reaches the
// lunar birthday in its year (Birthday).
enum class AgeCount { Nominal, Birthday };

// How a leap month counts, for the birth and the running month alike: as its
// own month until day 15 and as the next from day 16 (Split), wholly as the
// month before it, its namesake (This), or wholly as the next (Next).
enum class LeapMonthRule { Split, This, Next };

// 命主 by the Life palace's branch (Palace) or by the birth year's (Year).
enum class LifeMasterRule { Palace, Year };

// 天傷 and 天使: always in the 僕役宮 and 疾厄宮 (Fixed), or swapped for 陰男
// and 陽女 (Polarity).
enum class TianShangTianShi { Fixed, Polarity };

// The stems a running level's palaces carry when their flights are read: the
// natal palaces' (Natal), or for the year, month, day and hour the five
// tigers counted from the level's own stem (FiveTigers). The decade keeps the
// natal stems either way.
enum class RunningStems { Natal, FiveTigers };

// Rules on which traditions differ. Each member's default is the rule this
// program has always cast by; any other value is an explicit, named choice
// (chart/rule_options.h lists them).
struct ChartOptions {
  LateZi lateZi = LateZi::SameDay;
  YearBoundary yearBoundary = YearBoundary::NewYear;
  PeriodBoundary periodBoundary = PeriodBoundary::Lunar;
  AgeCount age = AgeCount::Nominal;
  LeapMonthRule leapMonth = LeapMonthRule::Split;
  LifeMasterRule lifeMaster = LifeMasterRule::Palace;
  TianShangTianShi tianShangTianShi = TianShangTianShi::Fixed;
  RunningStems runningStems = RunningStems::Natal;
  // The four stars each stem transforms, for the natal chart, the palace
  // stems and every running level.
  TransformationTable transformations = kTransformations;
  friend bool operator==(const ChartOptions&, const ChartOptions&) = default;
};

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

// A clock time of day.
struct ClockOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  friend bool operator==(const ClockOfDay&, const ClockOfDay&) = default;
};

// A lunar date (a leap month is the one that follows month `month`) and a
// Gregorian civil date, as numbers.
struct LunarDay {
  int year = 0;
  int month = 0;
  bool leap = false;
  int day = 0;
  friend bool operator==(const LunarDay&, const LunarDay&) = default;
};
struct CivilDay {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDay&, const CivilDay&) = default;
};

// The moment a reading of the running periods is made for: the lunar date
// and the Gregorian date of the same day, as the calendar has them, and the
// clock time when given (without one there is no hour level).
struct TargetMoment {
  LunarDay lunar;
  CivilDay solar;
  std::optional<ClockOfDay> time;
  friend bool operator==(const TargetMoment&, const TargetMoment&) = default;
};

// A whole chart request: who, when, by which rules, and the moment of a
// reading of the running periods, if any.
struct ChartRequest {
  std::string name = "您的姓名";
  LunarBirth birth;
  ChartOptions options;
  std::optional<TargetMoment> target;
  // The moment of birth, seconds since 1970-01-01 00:00 UTC, when the record
  // gives its clock time in a zone; without it the birth is the lunar date's
  // Gregorian day at its clock time in China Standard Time. Only the rules
  // that compare the birth with a solar term read it.
  std::optional<std::int64_t> birthInstant;
};

}  // namespace ziwei
