#pragma once
// How the palaces of a chart bear on one another, as a reader takes them:
// 三方四正 (a palace, its opposite and the two in trine), the two palaces that
// flank it (夾), where its stem sends its four transformations (飛化), and
// the transformations that fall back on its own stars: by its own stem
// (離心自化) and by the opposite palace's stem (向心自化).
//
// The stems are the natal palaces' by default; a running level's palaces
// may carry stems of their own (see levelStems). Numbers only.

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/chart.h"
#include "chart/frame/numbering.h"
#include "chart/periods/running_periods.h"
#include "chart/stars/star_names.h"
#include "chart/stars/transformations.h"

namespace ziwei {

// 三方四正 of `palace`: itself, its opposite, then the palaces four ahead and
// four behind (the trine).
constexpr std::array<PalaceNum, 4> trineOf(PalaceNum palace) {
  return {palace, palace + 6, palace + 4, palace - 4};
}

// The two palaces that flank `palace`: the one before it, then the one after.
constexpr std::array<PalaceNum, 2> flankOf(PalaceNum palace) { return {palace - 1, palace + 1}; }

// Some of 祿, 權, 科 and 忌: bit k - 1 for Transformation k.
class TransformationSet {
 public:
  constexpr bool has(Transformation kind) const { return (bits_ & bitOf(kind)) != 0; }
  constexpr void add(Transformation kind) {
    bits_ = static_cast<std::uint8_t>(bits_ | bitOf(kind));
  }
  constexpr bool empty() const { return bits_ == 0; }
  // Every kind of `other` is in this set.
  constexpr bool includes(TransformationSet other) const {
    return (bits_ & other.bits_) == other.bits_;
  }
  // Some kind of `other` is in this set.
  constexpr bool meets(TransformationSet other) const { return (bits_ & other.bits_) != 0; }
  constexpr TransformationSet& operator|=(TransformationSet other) {
    bits_ = static_cast<std::uint8_t>(bits_ | other.bits_);
    return *this;
  }
  friend constexpr bool operator==(TransformationSet, TransformationSet) = default;

 private:
  static constexpr std::uint8_t bitOf(Transformation kind) {
    return static_cast<std::uint8_t>(
        kind == Transformation::None ? 0u : 1u << (static_cast<unsigned>(kind) - 1));
  }
  std::uint8_t bits_ = 0;
};

// The four kinds in the order a table row gives them.
inline constexpr std::array<Transformation, 4> kFourTransformations = {
    Transformation::Lu, Transformation::Quan, Transformation::Ke, Transformation::Ji};

// The kinds of the four transformations `stem` gives by `table` whose star
// `holds` (a palace's stars, say): the 自化 of a palace is this for its own
// stem and its own stars.
template <class Holds>
constexpr TransformationSet transformationsOnto(const TransformationTable& table, Stem stem,
                                                Holds holds) {
  TransformationSet onto;
  for (std::size_t k = 0; k < kFourTransformations.size(); ++k) {
    if (holds(table[stem.index()][k])) onto.add(kFourTransformations[k]);
  }
  return onto;
}

struct PalaceRelations {
  std::array<PalaceNum, 4> trine{};  // trineOf
  std::array<PalaceNum, 2> flank{};  // flankOf
  // The palace holding the star this palace's stem gives 祿, 權, 科 and 忌.
  std::array<PalaceNum, 4> flies{};
  TransformationSet self;    // flights of its own stem that end here (離心自化)
  TransformationSet inward;  // flights of the opposite palace's stem that end here (向心自化)
};

using PalaceStems = std::array<Stem, 12>;  // by palace index, 子..亥
using PalaceRelationsByPalace = std::array<PalaceRelations, 12>;
using StarPalaces = std::array<PalaceNum, kStarCount>;  // by Star; kNowhere when unplaced

// The palace of every star of `chart` (the markers, voids and minor stars
// included).
StarPalaces starPalacesOf(const Chart& chart);
// The palace of the stars of the main groups alone (kNowhere for the
// others): every star a transformation table may name stands there.
StarPalaces mainStarPalacesOf(const Chart& chart);

// The stems the natal palaces carry.
PalaceStems natalStems(const Chart& chart);

// The stems the palaces carry for a running level of a chart cast with a
// target: the natal stems, or by RunningStems::FiveTigers for the year,
// month, day and hour the five tigers counted from the level's own stem (a
// 甲 or 己 level puts 丙 at 寅). The decade always keeps the natal stems:
// its own stem is its palace's. Throws std::invalid_argument for a chart
// without periods and for a level absent from them or without stars (the
// minor period).
PalaceStems levelStems(const Chart& chart, PeriodLevel level);

// The relations of the twelve palaces when they carry `stems`, by the
// chart's transformation table; `stars` from starPalacesOf or
// mainStarPalacesOf.
PalaceRelationsByPalace palaceRelations(const Chart& chart, const PalaceStems& stems,
                                        const StarPalaces& stars);
PalaceRelationsByPalace palaceRelations(const Chart& chart, const PalaceStems& stems);

}  // namespace ziwei
