#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The placements of the two families in one chart (all 0 when YearStemNum
// is outside 1..10).
FamilyPalaces<Family::StemFirst> skySFirstStarPalaces(const ChartState& chart);
FamilyPalaces<Family::StemSecond> skySSecondStarPalaces(const ChartState& chart);

// The first family's placement for a year of stem `stem` (all 0 outside
// 1..10): 擎羊 always one palace forward of 祿存, 陀羅 one backward.
FamilyPalaces<Family::StemFirst> stemFirstPalaces(int stem);

// 祿存, 擎羊, 陀羅, 天魁, 天鉞 (reads YearStemNum).
StarList getSkySFirstStar(const ChartState& chart, PalaceNum DayNum);
// 天官, 天福, 天廚 (reads YearStemNum).
StarList getSkySSecondStar(const ChartState& chart, PalaceNum DayNum);

// The four transformations a year stem gives four stars.
enum class Transformation : std::uint8_t { None, Lu, Quan, Ke, Ji };  // -, 祿, 權, 科, 忌
inline constexpr std::size_t kTransformationCount = 5;
// Their words by Transformation (none has none).
inline constexpr std::array<std::string_view, kTransformationCount> kTransformationWords = {
    "", "祿", "權", "科", "忌"};

// The stars that take 祿, 權, 科 and 忌 (in that order) for a stem 1..10;
// null for any other number.
const std::array<Star, 4>* transformedStars(int stem);

// The transformation of `star` in the birth year; None for the others and
// when YearStemNum is outside 1..10.
Transformation transformationOf(const ChartState& chart, Star star);

}  // namespace ziwei
