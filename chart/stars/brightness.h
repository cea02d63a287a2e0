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

// The brightness of each star in palaces 子..亥 on each scale, by Scale,
// Star and palace index, from its grades (None on a scale not its own).
inline constexpr auto kBrightnessByScale = [] {
  std::array<std::array<std::array<Brightness, 12>, kStarCount>, 3> table{};
  for (const StarInfo& info : kStars) {
    for (std::size_t p = 0; p < 12; ++p) {
      const std::uint8_t grade = info.grades[p];
      table[static_cast<std::size_t>(Scale::Main)][static_cast<std::size_t>(info.star)][p] =
          info.scale == Scale::Main ? kMainGrades[grade] : Brightness::None;
      table[static_cast<std::size_t>(Scale::Minor)][static_cast<std::size_t>(info.star)][p] =
          info.scale == Scale::Minor ? kMinorGrades[grade] : Brightness::None;
    }
  }
  return table;
}();

// The brightness of `star` in palace `DayNum` when it is graded on `scale`.
constexpr Brightness brightnessOnScale(Scale scale, Star star, PalaceNum DayNum) {
  if (!DayNum.valid()) return Brightness::None;
  return kBrightnessByScale[static_cast<std::size_t>(scale)][static_cast<std::size_t>(star)]
                           [DayNum.index()];
}

// The brightness of a main-group star and of a minor-group star in palace
// `DayNum`, from its grade on its scale; None for a star graded on the other
// scale or not at all.
constexpr Brightness checkMainStarType(PalaceNum DayNum, Star strStar) {
  return brightnessOnScale(Scale::Main, strStar, DayNum);
}
constexpr Brightness checkSubStarType(PalaceNum DayNum, Star strStar) {
  return brightnessOnScale(Scale::Minor, strStar, DayNum);
}

}  // namespace ziwei
