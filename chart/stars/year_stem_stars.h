#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"
#include "chart/stars/transformations.h"

namespace ziwei {

// 祿存, 擎羊, 陀羅, 天魁, 天鉞 for a year of stem `stem` (nowhere for no
// stem): 擎羊 always one palace forward of 祿存, 陀羅 one backward.
FamilyPalaces<Family::StemFirst> stemFirstPalaces(Stem stem);

// The same for the birth year, and 天官, 天福, 天廚 (read YearStem).
FamilyPalaces<Family::StemFirst> getSkySFirstStar(const ChartState& chart);
FamilyPalaces<Family::StemSecond> getSkySSecondStar(const ChartState& chart);

// The stars that take 祿, 權, 科 and 忌 (in that order) for a valid stem, by
// the table the chart is cast by.
constexpr const std::array<Star, 4>& transformedStars(const TransformationTable& table, Stem stem) {
  return table[stem.index()];
}

// The transformation stem `stem` gives `star` by `table`; None for the
// others and for no stem.
constexpr Transformation transformationBy(const TransformationTable& table, Stem stem, Star star) {
  if (!stem.valid()) return Transformation::None;
  return transformationIn(table[stem.index()], star);
}

// The transformation of `star` in the birth year.
constexpr Transformation getSkyOFirstStar(const ChartState& chart, Star star) {
  return transformationBy(chart.options.transformations, chart.YearStem, star);
}

}  // namespace ziwei
