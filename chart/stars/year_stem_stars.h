#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// 祿存, 擎羊, 陀羅, 天魁, 天鉞 for a year of stem `stem` (nowhere for no
// stem): 擎羊 always one palace forward of 祿存, 陀羅 one backward.
FamilyPalaces<Family::StemFirst> stemFirstPalaces(Stem stem);

// The same for the birth year, and 天官, 天福, 天廚 (read YearStem).
FamilyPalaces<Family::StemFirst> getSkySFirstStar(const ChartState& chart);
FamilyPalaces<Family::StemSecond> getSkySSecondStar(const ChartState& chart);

// The four transformations a stem gives four stars.
enum class Transformation : std::uint8_t { None, Lu, Quan, Ke, Ji };  // -, 祿, 權, 科, 忌
inline constexpr std::size_t kTransformationCount = 5;

// The stars that take 祿, 權, 科 and 忌 (in that order) for a valid stem.
const std::array<Star, 4>& transformedStars(Stem stem);

// The transformation stem `stem` gives `star`; None for the others and for
// no stem.
Transformation transformationBy(Stem stem, Star star);

// The transformation of `star` in the birth year.
Transformation getSkyOFirstStar(const ChartState& chart, Star star);

}  // namespace ziwei
