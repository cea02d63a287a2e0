#include "chart/stars/brightness.h"

#include <array>
#include <cstddef>
#include <optional>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

// Main scale: grade 1 (brightest) .. 7 (darkest); minor scale: grade 1 .. 3.
// Index 0 is the mark of a star without a grade.
constexpr std::array<std::string_view, 8> kMainMarks = {"ˉ", "◎", "○", "△", "△", "△", "Ｘ", "Ｘ"};
constexpr std::array<std::string_view, 4> kMinorMarks = {"ˉ", "◎", "△", "Ｘ"};

static_assert(
    [] {
      for (const StarInfo& info : kStars) {
        for (const std::uint8_t grade : info.grades) {
          const std::size_t marks = info.scale == Scale::Main    ? kMainMarks.size()
                                    : info.scale == Scale::Minor ? kMinorMarks.size()
                                                                 : 1;
          if (grade >= marks) return false;
        }
      }
      return true;
    }(),
    "every grade lies on its star's scale");

template <std::size_t Marks>
std::string_view markOf(Scale scale, const std::array<std::string_view, Marks>& marks, Star star,
                        PalaceNum DayNum) {
  if (!isPalace(DayNum)) return {};
  const StarInfo& info = starInfo(star);
  if (info.scale != scale) return marks[0];
  const std::size_t grade = info.grades[static_cast<std::size_t>(DayNum - 1)];
  return grade < Marks ? marks[grade] : marks[0];  // always below (see the static_assert)
}

// `strStar` followed by its mark by `markOf`; "ˉ" for a name no star has.
template <class MarkOf>
std::string marked(PalaceNum DayNum, std::string_view strStar, MarkOf markOf) {
  if (!isPalace(DayNum)) return {};
  const std::optional<Star> star = starNamed(strStar);
  const std::string_view mark = star ? markOf(*star, DayNum) : kMainMarks[0];
  std::string result;
  result.reserve(strStar.size() + mark.size());
  result += strStar;
  result += mark;
  return result;
}

}  // namespace

std::string_view mainStarMark(Star star, PalaceNum DayNum) {
  return markOf(Scale::Main, kMainMarks, star, DayNum);
}

std::string_view minorStarMark(Star star, PalaceNum DayNum) {
  return markOf(Scale::Minor, kMinorMarks, star, DayNum);
}

std::string checkMainStarType(PalaceNum DayNum, std::string_view strStar, int /*typeN*/) {
  return marked(DayNum, strStar, mainStarMark);
}

std::string checkSubStarType(PalaceNum DayNum, std::string_view strStar, int /*typeN*/) {
  return marked(DayNum, strStar, minorStarMark);
}

}  // namespace ziwei
