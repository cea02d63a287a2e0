#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/brightness.h"
#include "chart/stars/star_names.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {

// The upper groups of a palace cell, which the star families fill.
enum class Group : std::uint8_t { Main, Void, Marker, Minor };

// The group of each family, by Family. Within a group, the families stand
// in the order of Family.
inline constexpr std::array<Group, kFamilyCount> kFamilyGroups = {
    Group::Main,  Group::Main,  Group::Main,   Group::Main,   Group::Main,  Group::Main,
    Group::Main,  Group::Void,  Group::Marker, Group::Marker, Group::Minor, Group::Minor,
    Group::Minor, Group::Minor, Group::Minor,  Group::Minor,
};

constexpr Group groupOf(Family family) { return kFamilyGroups[static_cast<std::size_t>(family)]; }

// Room for every star of the group's families: a group can never overflow.
constexpr std::size_t groupCapacity(Group group) {
  std::size_t capacity = 0;
  for (const StarInfo& info : kStars) capacity += groupOf(info.family) == group ? 1u : 0u;
  return capacity;
}

// A star as a palace holds it: its brightness there (main and minor groups)
// and the birth year's transformation of it (main group).
struct PlacedStar {
  Star star{};
  Brightness brightness = Brightness::None;
  Transformation transformation = Transformation::None;
};

// The stars of one group of one palace, in the order the families give them.
template <std::size_t Capacity>
struct StarRow {
  std::array<PlacedStar, Capacity> stars{};
  std::uint8_t size = 0;

  const PlacedStar* begin() const { return stars.data(); }
  const PlacedStar* end() const { return stars.data() + size; }
  bool empty() const { return size == 0; }
};

// The four upper groups of one palace (the cycle spirits are names of their
// own and are not stars).
struct PalaceStars {
  StarRow<groupCapacity(Group::Main)> main;       // 紫微, the two series, hour, stem, month
  StarRow<groupCapacity(Group::Void)> voids;      // 旬空
  StarRow<groupCapacity(Group::Marker)> markers;  // 天傷 or 天使, then 截空
  StarRow<groupCapacity(Group::Minor)> minor;     // hour, month, stem, branch and day stars
  bool redName = false;  // a main-group star with the red-name flag lies here
};

// The stars of palaces 子..亥 at indices 0..11: one pass that places every
// family's stars into the twelve palaces and grades them. It sets each
// row's size and writes every star it places, so the rows need no clearing
// beforehand (what lies past a row's size is left as it was).
using PalaceStarsByPalace = std::array<PalaceStars, 12>;
void layOutPalaces(const ChartState& chart, PalaceStarsByPalace& palaces);
// The same into rows kept elsewhere (a chart's palaces), by palace index.
using PalaceStarsAt = std::array<PalaceStars*, 12>;
void layOutPalaces(const ChartState& chart, const PalaceStarsAt& palaces);

}  // namespace ziwei
