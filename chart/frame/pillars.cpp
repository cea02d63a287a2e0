#include "chart/frame/pillars.h"

#include <chrono>
#include <stdexcept>

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/solar_months.h"
#include "chart/periods/running_periods.h"

namespace ziwei {

namespace {

StemBranch monthPillar(Stem yearStem, int month) {
  const PalaceNum monthBranch = branch::Yin + (month - 1);
  return {palaceStem(yearStem, monthBranch), branchOf(monthBranch)};
}

}  // namespace

BirthPillars birthPillars(const Chart& chart) {
  const LunarBirth& birth = chart.request.birth;
  // The Gregorian day of the lunar date: its midnight in China Standard
  // Time, and the clock time after it.
  const LunarBirth midnight{birth.year, birth.month, birth.leap, birth.day, 0, 0, 0, birth.male};
  const calendar::UnixSeconds dayStart = birthInstantOf(midnight, std::nullopt);
  const calendar::UnixSeconds instant =
      chart.request.birthInstant
          ? *chart.request.birthInstant
          : dayStart + birth.hour * 3600 + birth.minute * 60 + birth.second;
  const auto days = static_cast<int>((dayStart + 8 * 3600) / 86400);
  const std::chrono::year_month_day ymd{std::chrono::sys_days(std::chrono::days(days))};
  const StemBranch day = dayStemBranch({static_cast<int>(ymd.year()),
                                        static_cast<int>(static_cast<unsigned>(ymd.month())),
                                        static_cast<int>(static_cast<unsigned>(ymd.day()))});
  const StemBranch hour = hourStemBranch(day.stem, chart.frame.HourNum);

  BirthPillars pillars;
  const StemBranch lunarYear = yearStemBranch(birth.year);
  pillars.byLunar = {lunarYear, monthPillar(lunarYear.stem, chart.frame.BirthMonth), day, hour};
  if (const auto month = calendar::solarMonthAt(instant)) {
    const StemBranch solarYear = yearStemBranch(month->year);
    pillars.bySolarTerms =
        FourPillars{solarYear, monthPillar(solarYear.stem, month->month), day, hour};
  }
  return pillars;
}

}  // namespace ziwei
