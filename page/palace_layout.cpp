#include "page/palace_layout.h"

#include "chart/frame/chart_frame.h"
#include "chart/frame/numbering.h"
#include "chart/stars/cycles.h"
#include "chart/stars/day_stars.h"
#include "chart/stars/hour_month_stars.h"
#include "chart/stars/main_stars.h"
#include "chart/stars/voids.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {

namespace {

// Stars whose palace takes a red name: those found in kMainStarSet.
constexpr std::array<bool, kStarCount> kRedNameStars = [] {
  std::array<bool, kStarCount> red{};
  for (std::size_t i = 0; i < kStarCount; ++i) {
    red[i] = kMainStarSet.find(kStarNames[i]) != std::string_view::npos;
  }
  return red;
}();

template <std::size_t Capacity>
void add(StarRow<Capacity>& row, Star star) {
  if (row.size < Capacity) row.stars[row.size++] = star;
}

// Adds each star of a family to the group of the palace it lies in. The
// families are placed in the order the groups list them, so each group
// keeps that order.
template <std::size_t Capacity, std::size_t N>
void place(ChartLayout& layout, StarRow<Capacity> PalaceLayout::*group,
           const std::array<Star, N>& stars, const std::array<PalaceNum, N>& palaces) {
  for (std::size_t i = 0; i < N; ++i) {
    if (isPalace(palaces[i])) {
      add(layout[static_cast<std::size_t>(palaces[i] - 1)].*group, stars[i]);
    }
  }
}

template <std::size_t Capacity>
void placeOne(ChartLayout& layout, StarRow<Capacity> PalaceLayout::*group, Star star,
              PalaceNum palace) {
  place(layout, group, std::array<Star, 1>{star}, std::array<PalaceNum, 1>{palace});
}

}  // namespace

ChartLayout layOutPalaces(const ChartState& chart) {
  ChartLayout layout;
  placeOne(layout, &PalaceLayout::main, Star::ZiWei, chart.ZiWeiNum);
  place(layout, &PalaceLayout::main, kZiWeiSeriesStars, ziWeiSeriesPalaces(chart.ZiWeiNum));
  placeOne(layout, &PalaceLayout::main, Star::TianFu, getSkyStarNUM(chart.ZiWeiNum));
  place(layout, &PalaceLayout::main, kTianFuSeriesStars, tianFuSeriesPalaces(chart.TianFuNum));
  place(layout, &PalaceLayout::main, kHourFirstStars, hourFirstStarPalaces(chart));
  place(layout, &PalaceLayout::main, kSkySFirstStars, skySFirstStarPalaces(chart));
  place(layout, &PalaceLayout::main, kMonthFirstStars, monthFirstStarPalaces(chart));

  placeOne(layout, &PalaceLayout::voids, Star::XunKong, emptyDeadPalace(chart));
  place(layout, &PalaceLayout::markers, kSkySSTreeStars, skySSTreePalaces(chart.LifePalaceNum));
  placeOne(layout, &PalaceLayout::markers, Star::JieKong, drDDTreePalace(chart));

  place(layout, &PalaceLayout::minor, kHourSecondStars, hourSecondStarPalaces(chart));
  place(layout, &PalaceLayout::minor, kMonthSecondStars, monthSecondStarPalaces(chart));
  place(layout, &PalaceLayout::minor, kSkySSecondStars, skySSecondStarPalaces(chart));
  place(layout, &PalaceLayout::minor, kEarthSecondStars, earthSecondStarPalaces(chart));
  place(layout, &PalaceLayout::minor, kEarthSecondStars2, earthSecondStar2Palaces(chart));
  place(layout, &PalaceLayout::minor, kDaySecondStars, daySecondStarPalaces(chart));

  for (PalaceLayout& palace : layout) {
    for (const Star star : palace.main) {
      if (kRedNameStars[static_cast<std::size_t>(star)]) palace.redName = true;
    }
  }
  return layout;
}

}  // namespace ziwei
