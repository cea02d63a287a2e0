#include "chart/stars/cycles.h"

namespace ziwei {

FamilyPalaces<Family::LifeMarkers> getSkySSTreeStar(PalaceNum LiftNum) {
  if (!LiftNum.valid()) return {};
  return {LiftNum - 7, LiftNum - 5};
}

FamilyPalaces<Family::LifeMarkers> lifeMarkerPalaces(const ChartState& chart) {
  const FamilyPalaces<Family::LifeMarkers> fixed = getSkySSTreeStar(chart.LifePalaceNum);
  const bool swapped =
      chart.options.tianShangTianShi == TianShangTianShi::Polarity &&
      (chart.SexText == SexLabel::YinMale || chart.SexText == SexLabel::YangFemale);
  if (!swapped) return fixed;
  return {fixed[1], fixed[0]};
}

}  // namespace ziwei
