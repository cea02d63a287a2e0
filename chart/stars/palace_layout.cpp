#include "chart/stars/palace_layout.h"

#include <utility>

#include "chart/stars/cycles.h"
#include "chart/stars/day_stars.h"
#include "chart/stars/hour_month_stars.h"
#include "chart/stars/main_stars.h"
#include "chart/stars/voids.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {

namespace {

using TransformationsByStar = std::array<Transformation, kStarCount>;

// Where family F places its stars in `chart`.
template <Family F>
FamilyPalaces<F> palacesOf(const ChartState& chart) {
  using enum Family;
  if constexpr (F == ZiWei) return ziWeiPalaces(chart.ZiWeiNum);
  if constexpr (F == ZiWeiSeries) return getFirstSubStar(chart.ZiWeiNum);
  if constexpr (F == TianFu) return getSkyStar(chart.ZiWeiNum);
  if constexpr (F == TianFuSeries) return getSkySubStar(chart.TianFuNum);
  if constexpr (F == HourFirst) return getHourFirstStar(chart);
  if constexpr (F == StemFirst) return getSkySFirstStar(chart);
  if constexpr (F == MonthFirst) return getMonthFirstStar(chart);
  if constexpr (F == DecadeVoid) return getEmptyDead(chart);
  if constexpr (F == LifeMarkers) return lifeMarkerPalaces(chart);
  if constexpr (F == CutOffVoid) return getDrDDTreeStar(chart);
  if constexpr (F == HourSecond) return getHourSecondStar(chart);
  if constexpr (F == MonthSecond) return getMonthSecondStar(chart);
  if constexpr (F == StemSecond) return getSkySSecondStar(chart);
  if constexpr (F == BranchSecond) return getEarthSecondStar(chart);
  if constexpr (F == BranchLifeBody) {
    return getEarthSecondStar2(chart.YearBranch, chart.LifePalaceNum, chart.BodyPalaceNum);
  }
  if constexpr (F == DaySecond) return getDaySecondStar(chart);
}

template <Group G>
auto& rowOf(PalaceStars& palace) {
  if constexpr (G == Group::Main) return palace.main;
  if constexpr (G == Group::Void) return palace.voids;
  if constexpr (G == Group::Marker) return palace.markers;
  if constexpr (G == Group::Minor) return palace.minor;
}

// Adds each star of family F to its group in the palace it lies in, with
// its brightness and transformation there.
template <Family F>
void place(const PalaceStarsAt& palaces, const ChartState& chart,
           const TransformationsByStar& transformations) {
  static constexpr auto kFamily = familyStars<F>();
  const FamilyPalaces<F> at = palacesOf<F>(chart);
  for (std::size_t i = 0; i < kFamily.size(); ++i) {
    if (!at[i].valid()) continue;
    PalaceStars& palace = *palaces[at[i].index()];
    auto& row = rowOf<groupOf(F)>(palace);
    PlacedStar placed{kFamily[i]};
    if constexpr (groupOf(F) == Group::Main) {
      placed.brightness = checkMainStarType(at[i], kFamily[i]);
      placed.transformation = transformations[static_cast<std::size_t>(kFamily[i])];
      palace.redName |= starInfo(kFamily[i]).redName;
    }
    if constexpr (groupOf(F) == Group::Minor) {
      placed.brightness = checkSubStarType(at[i], kFamily[i]);
    }
    row.stars[row.size++] = placed;
  }
}

}  // namespace

void layOutPalaces(const ChartState& chart, const PalaceStarsAt& palaces) {
  for (PalaceStars* palace : palaces) {
    palace->main.size = palace->voids.size = palace->markers.size = palace->minor.size = 0;
    palace->redName = false;
  }
  // The birth year's transformations by star (getSkyOFirstStar for each).
  TransformationsByStar transformations{};
  if (chart.YearStem.valid()) {
    const auto& row = transformedStars(chart.options.transformations, chart.YearStem);
    for (std::size_t i = 0; i < row.size(); ++i) {
      transformations[static_cast<std::size_t>(row[i])] = static_cast<Transformation>(i + 1);
    }
  }
  // The families in the order of Family, so that each group keeps it.
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (place<static_cast<Family>(I)>(palaces, chart, transformations), ...);
  }
  (std::make_index_sequence<kFamilyCount>{});
}

void layOutPalaces(const ChartState& chart, PalaceStarsByPalace& palaces) {
  PalaceStarsAt at{};
  for (std::size_t i = 0; i < palaces.size(); ++i) at[i] = &palaces[i];
  layOutPalaces(chart, at);
}

}  // namespace ziwei
