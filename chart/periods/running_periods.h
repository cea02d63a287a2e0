#pragma once
// The running periods (運限) of a natal chart at a target moment: the
// decade (大限), the minor period (小限), the year (流年), month (流月),
// day (流日) and hour (流時), each as the palace that is its 命宮, its stem
// and branch, its four transformations and its running stars (流曜).
//
// Positions are palaces, stems and branches; the page and the JSON document
// name them. The rules, where traditions differ, are this program's default
// (see castPeriods).

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/frame/numbering.h"
#include "chart/request.h"
#include "chart/stars/star_names.h"

namespace ziwei {

enum class PeriodLevel : std::uint8_t { Decade, Minor, Year, Month, Day, Hour };
inline constexpr std::size_t kPeriodLevelCount = 6;

// The ten running stars of a level, by the level's stem (魁 鉞 祿 羊 陀 昌
// 曲) and branch (馬 鸞 喜).
enum class RunningStar : std::uint8_t { Kui, Yue, Lu, Yang, Tuo, Chang, Qu, Ma, Luan, Xi };
inline constexpr std::size_t kRunningStarCount = 10;

// True for the levels that transform stars and carry running stars: all but
// the minor period.
constexpr bool carriesStars(PeriodLevel level) { return level != PeriodLevel::Minor; }

struct LevelPeriod {
  bool present = false;  // no decade past the twelfth period; no hour without a time
  PalaceNum palace;      // the level's 命宮; its other names follow the natal order
  StemBranch stemBranch;
  // The stars that take 祿, 權, 科 and 忌 by the level's stem, and the
  // palaces of its running stars by RunningStar; empty for the minor period.
  std::array<Star, 4> transformed{};
  std::array<PalaceNum, kRunningStarCount> stars{};
};

struct RunningPeriods {
  TargetMoment target;
  int age = 0;    // the age the decade and minor period are read at (nominal, 虛歲, by default)
  int month = 0;  // the target month counted by the leap-month rule (寅 1 .. 丑 12)
  int year = 0;   // the running year's number, that of the year level's stem-branch
  bool childhood = false;  // the decade is the childhood decade (童限) of the age
  int decadeFirstAge = 0;  // the ages of the decade: its major period, or the childhood
  int decadeLastAge = 0;   // years 1 .. bureau - 1; both 0 when there is no decade
  std::array<LevelPeriod, kPeriodLevelCount> levels{};

  const LevelPeriod& operator[](PeriodLevel level) const {
    return levels[static_cast<std::size_t>(level)];
  }
};

// The running periods of `chart` (cast by castFrame) at `target`:
// 1. Age = target lunar year - birth lunar year + 1 (AgeCount::Birthday: one
//    less, down to 1, while the target's counted month and day come before the
//    birth's in the year).
// 2. Decade: the palace whose major period holds the age; below the bureau
//    number the childhood decade, age 1 命宮, 2 財帛宮, 3 疾厄宮, 4 夫妻宮,
//    5 福德宮, 6 官祿宮; past the twelfth period none. Its stem and branch
//    are the palace's.
// 3. Minor period: the palace whose minor ages hold the age, every twelve
//    years on; the palace's own stem and branch.
// 4. Year: the palace of the year's branch; the year's stem and branch.
// 5. Month: month 1 stands where counting back from the year palace to the
//    birth month and forward to the birth hour ends (the 斗君 of that year),
//    month m m - 1 palaces forward; stem by the five tigers from the year's.
// 6. Day: day d d - 1 palaces forward of the month; the sexagenary day of
//    the Gregorian date.
// 7. Hour: branch h h - 1 palaces forward of the day; stem by the five rats
//    from the day's.
// Throws std::invalid_argument for a target lunar year before the birth
// year (callers check that first, to say so in their own words) and for a
// target outside the calendar's numbers.
RunningPeriods castPeriods(const ChartState& chart, const TargetMoment& target);

// The stem and branch of the sexagenary day of a Gregorian date (1900-01-31
// 甲辰, 2000-01-01 戊午).
StemBranch dayStemBranch(const CivilDay& date);

// The stem and branch of hour branch `hour` of a day of stem `dayStem`: the
// stem by the five rats (甲己 甲子, 乙庚 丙子, 丙辛 戊子, 丁壬 庚子, 戊癸 壬子).
StemBranch hourStemBranch(Stem dayStem, Branch hour);

// The lunar year in which the chart reaches nominal age `age`.
constexpr int lunarYearOfAge(const ChartState& chart, int age) { return chart.BirthYear + age - 1; }

}  // namespace ziwei
