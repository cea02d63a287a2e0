#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/numbering.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// The brightness a star shows in a palace, as the chart marks it: none (a
// star without a grade there), then brightest to darkest (◎, ○, △, Ｘ).
enum class Brightness : std::uint8_t { None, Brightest, Bright, Fair, Dark };
inline constexpr std::size_t kBrightnessCount = 5;

// Main scale: grade 1 (brightest) .. 7 (darkest); minor scale: grade 1 .. 3.
// Index 0 stands for a star without a grade.
inline constexpr std::array<Brightness, 8> kMainGrades = [] {
  using enum Brightness;
  return std::array<Brightness, 8>{None, Brightest, Bright, Fair, Fair, Fair, Dark, Dark};
}();
inline constexpr std::array<Brightness, 4> kMinorGrades = [] {
  using enum Brightness;
  return std::array<Brightness, 4>{None, Brightest, Fair, Dark};
}();

static_assert(
    [] {
      for (const StarInfo& info : kStars) {
        for (const std::uint8_t grade : info.grades) {
          const std::size_t grades = info.scale == Scale::Main    ? kMainGrades.size()
                                     : info.scale == Scale::Minor ? kMinorGrades.size()
                                                                  : 1;
          if (grade >= grades) return false;
        }
      }
      return true;
    }(),
    "every grade lies on its star's scale");

// The brightness of `star` in palace `DayNum` when it is graded on `scale`.
template <std::size_t Grades>
constexpr Brightness brightnessOnScale(Scale scale, const std::array<Brightness, Grades>& grades,
                                       Star star, PalaceNum DayNum) {
  const StarInfo& info = starInfo(star);
  if (info.scale != scale || !DayNum.valid()) return Brightness::None;
  return grades[info.grades[DayNum.index()]];  // always in range (see the static_assert)
}

// The brightness of a main-group star and of a minor-group star in palace
// `DayNum`, from its grade on its scale; None for a star graded on the other
// scale or not at all.
constexpr Brightness checkMainStarType(PalaceNum DayNum, Star strStar) {
  return brightnessOnScale(Scale::Main, kMainGrades, strStar, DayNum);
}
constexpr Brightness checkSubStarType(PalaceNum DayNum, Star strStar) {
  return brightnessOnScale(Scale::Minor, kMinorGrades, strStar, DayNum);
}

}  // namespace ziwei
