#include "chart/stars/main_stars.h"

#include <cstddef>

#include "chart/frame/chart_frame.h"

namespace ziwei {

namespace {

// Steps from the series head: backwards from 紫微 for 天機, 太陽, 武曲, 天同,
// 廉貞; forwards from 天府 for 太陰, 貪狼, 巨門, 天相, 天梁, 七殺, 破軍.
constexpr std::array<int, familySize(Family::ZiWeiSeries)> kZiWeiSeriesSteps = {-1, -3, -4, -5, -8};
constexpr std::array<int, familySize(Family::TianFuSeries)> kTianFuSeriesSteps = {1, 2, 3, 4,
                                                                                  5, 6, 10};

template <std::size_t N>
std::array<PalaceNum, N> stepsFrom(PalaceNum head, const std::array<int, N>& steps) {
  std::array<PalaceNum, N> palaces{};
  if (!head.valid()) return palaces;
  for (std::size_t i = 0; i < N; ++i) palaces[i] = head + steps[i];
  return palaces;
}

}  // namespace

FamilyPalaces<Family::ZiWei> ziWeiPalaces(PalaceNum FirstStar) {
  return {FirstStar.valid() ? FirstStar : PalaceNum{}};
}

FamilyPalaces<Family::ZiWeiSeries> getFirstSubStar(PalaceNum FirstStar) {
  return stepsFrom(FirstStar, kZiWeiSeriesSteps);
}

// 紫微 and 天府 mirror each other: their palace numbers sum to 6 or 18.
FamilyPalaces<Family::TianFu> getSkyStar(PalaceNum FirstStar) { return {tianFuPalace(FirstStar)}; }

FamilyPalaces<Family::TianFuSeries> getSkySubStar(PalaceNum SkyStar) {
  return stepsFrom(SkyStar, kTianFuSeriesSteps);
}

}  // namespace ziwei
