#include "chart/relations/relations.h"

#include <stdexcept>

#include "chart/frame/cyclic_names.h"

namespace ziwei {

namespace {

template <std::size_t Capacity>
void mark(StarPalaces& where, const StarRow<Capacity>& row, PalaceNum palace) {
  for (const PlacedStar& star : row) where[static_cast<std::size_t>(star.star)] = palace;
}

}  // namespace

StarPalaces starPalacesOf(const Chart& chart) {
  StarPalaces where{};
  for (const ChartPalace& palace : chart.palaces) {
    mark(where, palace.stars.main, palace.palace);
    mark(where, palace.stars.voids, palace.palace);
    mark(where, palace.stars.markers, palace.palace);
    mark(where, palace.stars.minor, palace.palace);
  }
  return where;
}

StarPalaces mainStarPalacesOf(const Chart& chart) {
  StarPalaces where{};
  for (const ChartPalace& palace : chart.palaces) mark(where, palace.stars.main, palace.palace);
  return where;
}

static_assert([] {
  for (const Star star : kTransformableStars) {
    if (groupOf(kStars[static_cast<std::size_t>(star)].family) != Group::Main) return false;
  }
  return true;
}());

PalaceStems natalStems(const Chart& chart) {
  PalaceStems stems{};
  for (const ChartPalace& palace : chart.palaces) stems[palace.palace.index()] = palace.stem;
  return stems;
}

PalaceStems levelStems(const Chart& chart, PeriodLevel level) {
  if (!chart.periods) throw std::invalid_argument("levelStems: the chart has no target");
  const LevelPeriod& period = (*chart.periods)[level];
  if (!period.present || !carriesStars(level)) {
    throw std::invalid_argument("levelStems: the level has no stems of its own");
  }
  if (level == PeriodLevel::Decade || chart.frame.options.runningStems == RunningStems::Natal) {
    return natalStems(chart);
  }
  PalaceStems stems{};
  for (const PalaceNum palace : kPalaces) {
    stems[palace.index()] = palaceStem(period.stemBranch.stem, palace);
  }
  return stems;
}

namespace {

// The trine and flanks of every palace, by index: the relations' geometry.
constexpr PalaceRelationsByPalace kGeometry = [] {
  PalaceRelationsByPalace geometry{};
  for (const PalaceNum palace : kPalaces) {
    geometry[palace.index()].trine = trineOf(palace);
    geometry[palace.index()].flank = flankOf(palace);
  }
  return geometry;
}();

}  // namespace

PalaceRelationsByPalace palaceRelations(const Chart& chart, const PalaceStems& stems,
                                        const StarPalaces& stars) {
  const TransformationTable& table = chart.frame.options.transformations;
  PalaceRelationsByPalace relations = kGeometry;
  for (std::size_t i = 0; i < relations.size(); ++i) {
    PalaceRelations& r = relations[i];
    const PalaceNum palace = kPalaces[i];
    const Stem stem = stems[i];
    const auto& own = table[stem.index()];
    for (std::size_t k = 0; k < kFourTransformations.size(); ++k) {
      r.flies[k] = stars[static_cast<std::size_t>(own[k])];
    }
    const auto here = [&](Star star) { return stars[static_cast<std::size_t>(star)] == palace; };
    r.self = transformationsOnto(table, stem, here);
    r.inward = transformationsOnto(table, stems[r.trine[1].index()], here);
  }
  return relations;
}

PalaceRelationsByPalace palaceRelations(const Chart& chart, const PalaceStems& stems) {
  return palaceRelations(chart, stems, mainStarPalacesOf(chart));
}

}  // namespace ziwei
