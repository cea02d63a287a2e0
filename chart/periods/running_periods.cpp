#include "chart/periods/running_periods.h"

#include <chrono>
#include <stdexcept>
#include <utility>

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "chart/frame/solar_months.h"
#include "chart/periods/periods.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {

namespace {

using namespace branch;

// The childhood decade of ages 1..6, as the palaces' offsets forward of the
// Life palace in the order of the natal names (命宮 0, 父母宮 1, 福德宮 2,
// 田宅宮 3, 官祿宮 4, 僕役宮 5, 遷移宮 6, 疾厄宮 7, 財帛宮 8, 子女宮 9,
// 夫妻宮 10, 兄弟宮 11): 命宮, 財帛宮, 疾厄宮, 夫妻宮, 福德宮, 官祿宮.
constexpr std::array<int, 6> kChildhoodOffsets = {0, 8, 7, 10, 2, 4};

// 昌 and 曲 of a running level by its stem.
constexpr std::array<std::array<PalaceNum, 2>, 10> kStemChangQu = {{
    {Si, You},   // 甲
    {Wu, Shen},  // 乙
    {Shen, Wu},  // 丙
    {You, Si},   // 丁
    {Shen, Wu},  // 戊
    {You, Si},   // 己
    {Hai, Mao},  // 庚
    {Zi, Yin},   // 辛
    {Yin, Zi},   // 壬
    {Mao, Hai},  // 癸
}};

// The stem of the 子 hour by the day's stem (five rats: 甲己 甲, 乙庚 丙,
// 丙辛 戊, 丁壬 庚, 戊癸 壬).
constexpr std::array<int, 10> kRatHourStem = {1, 3, 5, 7, 9, 1, 3, 5, 7, 9};

// 1970-01-01, day 0 of sys_days, is a 辛巳 day: entry 18 of the cycle.
constexpr int kEpochDayEntry = 18;

// A level at `palace` with stem and branch `sb`, its transformations and
// running stars placed when it carries them.
LevelPeriod levelAt(const ChartState& chart, PalaceNum palace, StemBranch sb, bool withStars) {
  LevelPeriod level;
  level.present = true;
  level.palace = palace;
  level.stemBranch = sb;
  if (!withStars) return level;
  level.transformed = transformedStars(chart.options.transformations, sb.stem);
  const auto stem = stemFirstPalaces(sb.stem);
  const auto branch = branchSecondPalaces(sb.branch);
  const auto& changQu = kStemChangQu[sb.stem.index()];
  auto& s = level.stars;
  s[static_cast<std::size_t>(RunningStar::Kui)] = stem[indexInFamily(Star::TianKui)];
  s[static_cast<std::size_t>(RunningStar::Yue)] = stem[indexInFamily(Star::TianYue)];
  s[static_cast<std::size_t>(RunningStar::Lu)] = stem[indexInFamily(Star::LuCun)];
  s[static_cast<std::size_t>(RunningStar::Yang)] = stem[indexInFamily(Star::QingYang)];
  s[static_cast<std::size_t>(RunningStar::Tuo)] = stem[indexInFamily(Star::TuoLuo)];
  s[static_cast<std::size_t>(RunningStar::Chang)] = changQu[0];
  s[static_cast<std::size_t>(RunningStar::Qu)] = changQu[1];
  // 馬, 鸞 and 喜 by branch are the natal year-branch 命馬, 紅鸞 and 天喜.
  s[static_cast<std::size_t>(RunningStar::Ma)] = branch[indexInFamily(Star::MingMa)];
  s[static_cast<std::size_t>(RunningStar::Luan)] = branch[indexInFamily(Star::HongLuan)];
  s[static_cast<std::size_t>(RunningStar::Xi)] = branch[indexInFamily(Star::TianXi)];
  return level;
}

StemBranch palaceStemBranch(const ChartState& chart, PalaceNum palace) {
  return {getSky(chart, palace), branchOf(palace)};
}

}  // namespace

StemBranch dayStemBranch(const CivilDay& date) {
  const std::chrono::year_month_day ymd{std::chrono::year(date.year),
                                        std::chrono::month(static_cast<unsigned>(date.month)),
                                        std::chrono::day(static_cast<unsigned>(date.day))};
  const auto days = static_cast<int>(std::chrono::sys_days(ymd).time_since_epoch().count());
  return sexagenaryEntry(days + kEpochDayEntry);
}

StemBranch hourStemBranch(Stem dayStem, Branch hour) {
  return {Stem(kRatHourStem[dayStem.index()]) + (hour.number() - 1), hour};
}

RunningPeriods castPeriods(const ChartState& chart, const TargetMoment& target) {
  const LunarDay& lunar = target.lunar;
  const std::chrono::year_month_day solar{
      std::chrono::year(target.solar.year),
      std::chrono::month(static_cast<unsigned>(target.solar.month)),
      std::chrono::day(static_cast<unsigned>(target.solar.day))};
  if (lunar.month < 1 || lunar.month > 12 || lunar.day < 1 || lunar.day > 30 || !solar.ok() ||
      (target.time && (target.time->hour < 0 || target.time->hour > 23))) {
    throw std::invalid_argument("castPeriods: the target is not a date of the calendar");
  }
  if (!chart.YearStem.valid() || !chart.LifePalaceNum.valid()) {
    throw std::invalid_argument("castPeriods: the chart has not been cast");
  }
  if (lunar.year < chart.BirthYear) {
    throw std::invalid_argument("castPeriods: the target's lunar year is before the birth year");
  }

  RunningPeriods periods;
  periods.target = target;
  periods.month = countedMonth(lunar.month, lunar.leap, lunar.day, chart.options.leapMonth);
  int age = lunar.year - chart.BirthYear + 1;
  if (chart.options.age == AgeCount::Birthday && age > 1 &&
      std::pair(periods.month, lunar.day) < std::pair<int, int>(chart.BirthMonth, chart.BirthDay)) {
    --age;
  }
  periods.age = age;
  auto& levels = periods.levels;
  const auto at = [&levels](PeriodLevel level) -> LevelPeriod& {
    return levels[static_cast<std::size_t>(level)];
  };

  const int bureau = bureauNumber(chart.BureauName);
  PalaceNum decade = majorPeriodPalace(chart.BureauName, chart.SexText, chart.LifePalaceNum, age);
  if (decade.valid()) {
    periods.decadeFirstAge =
        getBigYear(chart.BureauName, chart.SexText, chart.LifePalaceNum, decade);
    periods.decadeLastAge = periods.decadeFirstAge + 9;
  } else if (age < bureau) {
    periods.childhood = true;
    decade = chart.LifePalaceNum + kChildhoodOffsets[static_cast<std::size_t>(age - 1)];
    periods.decadeFirstAge = 1;
    periods.decadeLastAge = bureau - 1;
  }
  if (decade.valid())
    at(PeriodLevel::Decade) = levelAt(chart, decade, palaceStemBranch(chart, decade), true);

  const PalaceNum minor = minorPeriodPalace(chart.YearBranch, chart.SexNum, age);
  at(PeriodLevel::Minor) = levelAt(chart, minor, palaceStemBranch(chart, minor), false);

  // By the solar terms the year and the month are those of the target's
  // solar-term month, the year from 立春 and the month from its 節.
  const bool bySolarTerms = chart.options.periodBoundary == PeriodBoundary::SolarTerms;
  const calendar::SolarMonth solarMonth =
      bySolarTerms ? solarMonthOf(targetInstantOf(target), "the target") : calendar::SolarMonth{};
  if (bySolarTerms) periods.month = solarMonth.month;
  periods.year = bySolarTerms ? solarMonth.year : lunar.year;
  const StemBranch year = yearStemBranch(periods.year);
  const PalaceNum yearPalace = palaceOf(year.branch);
  at(PeriodLevel::Year) = levelAt(chart, yearPalace, year, true);

  // Month 1 stands where the birth's 斗君 (counted from 子) stands when
  // counted from the year palace.
  const PalaceNum monthPalace =
      getLifeDStart(chart) + (yearPalace.number() - 1 + periods.month - 1);
  const PalaceNum monthBranch = branch::Yin + (periods.month - 1);
  at(PeriodLevel::Month) = levelAt(
      chart, monthPalace, {palaceStem(year.stem, monthBranch), branchOf(monthBranch)}, true);

  const PalaceNum dayPalace = monthPalace + (lunar.day - 1);
  const StemBranch day = dayStemBranch(target.solar);
  at(PeriodLevel::Day) = levelAt(chart, dayPalace, day, true);

  if (target.time) {
    const Branch hour = hourBranch(target.time->hour);
    at(PeriodLevel::Hour) =
        levelAt(chart, dayPalace + (hour.number() - 1), hourStemBranch(day.stem, hour), true);
  }
  return periods;
}

}  // namespace ziwei
