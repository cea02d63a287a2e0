#include "chart/stars/cycles.h"

#include <array>
#include <cstddef>

namespace ziwei {

namespace {

using namespace branch;

// Start of the Doctor cycle (the palace of 祿存) by year stem.
constexpr std::array<PalaceNum, 10> kDoctorStart = {Yin, Mao, Si, Wu, Si, Wu, Shen, You, Hai, Zi};
// Start of the General-star cycle by year branch (子辰申 子, 丑巳酉 酉, 寅午戌
// 午, 卯未亥 卯).
constexpr std::array<PalaceNum, 12> kGeneralStart = {Zi, You, Wu, Mao, Zi, You,
                                                     Wu, Mao, Zi, You, Wu, Mao};
// Start of the Growth-phase cycle by bureau (水二 申, 木三 亥, 金四 巳, 土五 申,
// 火六 寅).
constexpr std::array<PalaceNum, kBureauCount> kGrowthStart = {Shen, Hai, Si, Shen, Yin};

// The step from `start` to `DayNum` in the cycle's direction.
CycleStep stepTo(PalaceNum start, bool forward, PalaceNum DayNum) {
  const int d = forward ? DayNum.number() - start.number() : start.number() - DayNum.number();
  return static_cast<CycleStep>(floorMod(d, 12));
}

}  // namespace

CycleStep getDrTreeStar(const ChartState& chart, PalaceNum DayNum, SexLabel SEXTEXT) {
  return stepTo(kDoctorStart[chart.YearStem.index()], runsForward(SEXTEXT), DayNum);
}

CycleStep getYearYFourStar(Branch yearBranch, PalaceNum DayNum) {
  return stepTo(palaceOf(yearBranch), true, DayNum);
}

CycleStep getYearSSFourStar(Branch yearBranch, PalaceNum DayNum) {
  return stepTo(kGeneralStart[yearBranch.index()], true, DayNum);
}

CycleStep getFiveLongLifeStar(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum DayNum) {
  return stepTo(kGrowthStart[static_cast<std::size_t>(FiveHourse)], runsForward(SEXTEXT), DayNum);
}

FamilyPalaces<Family::LifeMarkers> getSkySSTreeStar(PalaceNum LiftNum) {
  if (!LiftNum.valid()) return {};
  return {LiftNum - 7, LiftNum - 5};
}

}  // namespace ziwei
