#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// A StarList is the text a star family returns for one palace: bare star
// names joined by "," without blanks, in the family's test order; the empty
// text when none of the family's stars lies there.
using StarList = std::string;

// Appends `name` to `list` by the StarList rule (a "," between names).
void appendStar(StarList& list, std::string_view name);

// The StarList of palace `DayNum` for a family whose stars (in test order)
// lie in `palaces` (0 for a star that lies nowhere).
template <std::size_t N>
StarList starsIn(const std::array<Star, N>& stars, const std::array<PalaceNum, N>& palaces,
                 PalaceNum DayNum) {
  StarList list;
  for (std::size_t i = 0; i < N; ++i) {
    if (palaces[i] != 0 && palaces[i] == DayNum) appendStar(list, starName(stars[i]));
  }
  return list;
}

}  // namespace ziwei
