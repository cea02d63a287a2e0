#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// The stars of one group of one palace, in the order the star families give
// them; room for every star the group's families place.
template <std::size_t Capacity>
struct StarRow {
  std::array<Star, Capacity> stars{};
  std::uint8_t size = 0;

  const Star* begin() const { return stars.data(); }
  const Star* end() const { return stars.data() + size; }
  bool empty() const { return size == 0; }
};

// The five upper groups of one palace as star numbers: the same stars, in
// the same order, as the names gatherPalaceGroups gives for it (the cycle
// spirits are names of their own and are not stars).
struct PalaceLayout {
  StarRow<15> main;      // 紫微 and the two series, hour, year-stem and month stars
  StarRow<1> voids;      // 旬空
  StarRow<2> markers;    // 天傷 or 天使, then 截空
  StarRow<39> minor;     // hour, month, year-stem, year-branch and day stars
  bool redName = false;  // a main star, 天馬 or 祿存 lies here
};

// The layouts of palaces 1..12 at indices 0..11, from one pass over the
// families' placements.
using ChartLayout = std::array<PalaceLayout, 12>;
ChartLayout layOutPalaces(const ChartState& chart);

}  // namespace ziwei
