#include "chart/stars/palace_layout.h"

#include <utility>

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

// Where family F places its stars in `chart`.
template <Family F>
FamilyPalaces<F> palacesOf(const ChartState& chart) {
  using enum Family;
  if constexpr (F == ZiWei) return ziWeiPalaces(chart.ZiWeiNum);
  if constexpr (F == ZiWeiSeries) return ziWeiSeriesPalaces(chart.ZiWeiNum);
  if constexpr (F == TianFu) return tianFuPalaces(chart.ZiWeiNum);
  if constexpr (F == TianFuSeries) return tianFuSeriesPalaces(chart.TianFuNum);
  if constexpr (F == HourFirst) return hourFirstStarPalaces(chart);
  if constexpr (F == StemFirst) return skySFirstStarPalaces(chart);
  if constexpr (F == MonthFirst) return monthFirstStarPalaces(chart);
  if constexpr (F == DecadeVoid) return emptyDeadPalaces(chart);
  if constexpr (F == LifeMarkers) return skySSTreePalaces(chart.LifePalaceNum);
  if constexpr (F == CutOffVoid) return drDDTreePalaces(chart);
  if constexpr (F == HourSecond) return hourSecondStarPalaces(chart);
  if constexpr (F == MonthSecond) return monthSecondStarPalaces(chart);
  if constexpr (F == StemSecond) return skySSecondStarPalaces(chart);
  if constexpr (F == BranchSecond) return earthSecondStarPalaces(chart);
  if constexpr (F == BranchLifeBody) {
    return earthSecondStar2Palaces(chart.YearBranchNum, chart.LifePalaceNum, chart.BodyPalaceNum);
  }
  if constexpr (F == DaySecond) return daySecondStarPalaces(chart);
}

template <Group G>
auto& rowOf(PalaceLayout& palace) {
  if constexpr (G == Group::Main) return palace.main;
  if constexpr (G == Group::Void) return palace.voids;
  if constexpr (G == Group::Marker) return palace.markers;
  if constexpr (G == Group::Minor) return palace.minor;
}

// Adds each star of family F to its group in the palace it lies in.
template <Family F>
void place(ChartLayout& layout, const ChartState& chart) {
  static constexpr auto kFamily = familyStars<F>();
  const FamilyPalaces<F> palaces = palacesOf<F>(chart);
  for (std::size_t i = 0; i < kFamily.size(); ++i) {
    if (!isPalace(palaces[i])) continue;
    PalaceLayout& palace = layout[static_cast<std::size_t>(palaces[i] - 1)];
    auto& row = rowOf<groupOf(F)>(palace);
    row.stars[row.size++] = kFamily[i];
    if constexpr (groupOf(F) == Group::Main) palace.redName |= starInfo(kFamily[i]).redName;
  }
}

}  // namespace

ChartLayout layOutPalaces(const ChartState& chart) {
  ChartLayout layout;
  // The families in the order of Family, so that each group keeps it.
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (place<static_cast<Family>(I)>(layout, chart), ...);
  }
  (std::make_index_sequence<kFamilyCount>{});
  return layout;
}

}  // namespace ziwei
