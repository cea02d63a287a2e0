#pragma once

#include <cstddef>
#include <cstdint>

#include "chart/frame/numbering.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// The brightness a star shows in a palace, as the chart marks it: none (a
// star without a grade there), then brightest to darkest (◎, ○, △, Ｘ).
enum class Brightness : std::uint8_t { None, Brightest, Bright, Fair, Dark };
inline constexpr std::size_t kBrightnessCount = 5;

// The brightness of a main-group star and of a minor-group star in palace
// `DayNum`, from its grade on its scale; None for a star graded on the other
// scale or not at all.
Brightness checkMainStarType(PalaceNum DayNum, Star strStar);
Brightness checkSubStarType(PalaceNum DayNum, Star strStar);

}  // namespace ziwei
