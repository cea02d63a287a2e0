#include "chart/frame/pillars.h"

#include <chrono>
#include <stdexcept>

#include "calendar/gregorian.h"
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
  const std::chrono::sys_days birthDay = birthDayOf(birth);
  const calendar::UnixSeconds instant = birthInstantOf(birth, chart.request.birthInstant);
  const std::chrono::year_month_day ymd{birthDay};
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
