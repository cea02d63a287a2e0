#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// The four twelve-spirit cycles. Each gives every palace one of its twelve
// names, counted from the cycle's start palace in its direction; a palace's
// entry is that count, 0..11 (the Doctor cycle's 博士 is 0, 力士 1, ...).
enum class Cycle : std::uint8_t { Doctor, General, YearFront, Growth };
inline constexpr std::size_t kCycleCount = 4;
inline constexpr std::size_t kCycleLength = 12;
using CycleStep = std::uint8_t;

// Start of the Doctor cycle (the palace of 祿存) by year stem.
inline constexpr std::array<PalaceNum, 10> kDoctorStart = [] {
  using namespace branch;
  return std::array<PalaceNum, 10>{Yin, Mao, Si, Wu, Si, Wu, Shen, You, Hai, Zi};
}();
// Start of the General-star cycle by year branch (子辰申 子, 丑巳酉 酉, 寅午戌
// 午, 卯未亥 卯).
inline constexpr std::array<PalaceNum, 12> kGeneralStart = [] {
  using namespace branch;
  return std::array<PalaceNum, 12>{Zi, You, Wu, Mao, Zi, You, Wu, Mao, Zi, You, Wu, Mao};
}();
// Start of the Growth-phase cycle by bureau (水二 申, 木三 亥, 金四 巳, 土五 申,
// 火六 寅).
inline constexpr std::array<PalaceNum, kBureauCount> kGrowthStart = [] {
  using namespace branch;
  return std::array<PalaceNum, kBureauCount>{Shen, Hai, Si, Shen, Yin};
}();

// The step from `start` to `DayNum` in the cycle's direction.
constexpr CycleStep cycleStepTo(PalaceNum start, bool forward, PalaceNum DayNum) {
  const int d = forward ? DayNum.number() - start.number() : start.number() - DayNum.number();
  return static_cast<CycleStep>(floorMod(d, 12));
}

// Doctor cycle 博士 ..., from the palace of 祿存 of the year stem, forward
// for 陽男 and 陰女.
constexpr CycleStep getDrTreeStar(const ChartState& chart, PalaceNum DayNum, SexLabel SEXTEXT) {
  return cycleStepTo(kDoctorStart[chart.YearStem.index()], runsForward(SEXTEXT), DayNum);
}
// Year-front cycle 歲建 ... and General-star cycle 將星 ... for a year of
// branch `yearBranch`: the birth year's, or a running year's.
constexpr CycleStep getYearYFourStar(Branch yearBranch, PalaceNum DayNum) {
  return cycleStepTo(palaceOf(yearBranch), true, DayNum);
}
constexpr CycleStep getYearSSFourStar(Branch yearBranch, PalaceNum DayNum) {
  return cycleStepTo(kGeneralStart[yearBranch.index()], true, DayNum);
}
// Growth-phase cycle 長生 ... by the bureau.
constexpr CycleStep getFiveLongLifeStar(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum DayNum) {
  return cycleStepTo(kGrowthStart[static_cast<std::size_t>(FiveHourse)], runsForward(SEXTEXT),
                     DayNum);
}

// 天傷 and 天使, seven and five palaces backward from the Life palace
// `LiftNum` (nowhere for no palace).
FamilyPalaces<Family::LifeMarkers> getSkySSTreeStar(PalaceNum LiftNum);
// The same by the rule of the chart: swapped for 陰男 and 陽女 by
// TianShangTianShi::Polarity.
FamilyPalaces<Family::LifeMarkers> lifeMarkerPalaces(const ChartState& chart);

}  // namespace ziwei
