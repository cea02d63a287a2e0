#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// A StarList is the text a star family returns for one palace: bare star
// names joined by "," without blanks, in the family's order; the empty text
// when none of the family's stars lies there.
using StarList = std::string;

// The palace of each star of family F, in the family's order: 0 for a star
// that lies nowhere (frame fields out of range).
template <Family F>
using FamilyPalaces = std::array<PalaceNum, familySize(F)>;

// The StarList of palace `DayNum` for family F placed at `palaces`.
template <Family F>
StarList starsIn(const FamilyPalaces<F>& palaces, PalaceNum DayNum) {
  static constexpr auto kFamily = familyStars<F>();
  StarList list;
  for (std::size_t i = 0; i < kFamily.size(); ++i) {
    if (palaces[i] == 0 || palaces[i] != DayNum) continue;
    if (!list.empty()) list += ',';
    list += starName(kFamily[i]);
  }
  return list;
}

}  // namespace ziwei
