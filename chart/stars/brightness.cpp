#include "chart/stars/brightness.h"

#include <array>
#include <cstddef>

namespace ziwei {

namespace {

using enum Brightness;

// Main scale: grade 1 (brightest) .. 7 (darkest); minor scale: grade 1 .. 3.
// Index 0 stands for a star without a grade.
constexpr std::array<Brightness, 8> kMainGrades = {None, Brightest, Bright, Fair,
                                                   Fair, Fair,      Dark,   Dark};
constexpr std::array<Brightness, 4> kMinorGrades = {None, Brightest, Fair, Dark};

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

template <std::size_t Grades>
Brightness gradeOf(Scale scale, const std::array<Brightness, Grades>& grades, Star star,
                   PalaceNum DayNum) {
  const StarInfo& info = starInfo(star);
  if (info.scale != scale || !DayNum.valid()) return None;
  return grades[info.grades[DayNum.index()]];  // always in range (see the static_assert)
}

}  // namespace

Brightness checkMainStarType(PalaceNum DayNum, Star strStar) {
  return gradeOf(Scale::Main, kMainGrades, strStar, DayNum);
}

Brightness checkSubStarType(PalaceNum DayNum, Star strStar) {
  return gradeOf(Scale::Minor, kMinorGrades, strStar, DayNum);
}

}  // namespace ziwei
