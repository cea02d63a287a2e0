#include "chart/stars/brightness.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "chart/frame/numbering.h"
#include "chart/stars/star_names.h"

namespace ziwei {

namespace {

// One star's grade in each palace 子..亥; 0 where the star has no grade.
struct GradeRow {
  Star star;
  std::array<std::uint8_t, 12> grades;
};

// Main scale: grade 1 (brightest) .. 7 (darkest).
constexpr std::array<std::string_view, 8> kMainMarks = {"ˉ", "◎", "○", "△", "△", "△", "Ｘ", "Ｘ"};
// Minor scale: grade 1 .. 3.
constexpr std::array<std::string_view, 4> kMinorMarks = {"ˉ", "◎", "△", "Ｘ"};

constexpr std::array<GradeRow, 21> kMainGrades = {{
    {Star::ZiWei, {5, 1, 2, 2, 3, 2, 1, 1, 2, 2, 3, 2}},
    {Star::TianJi, {1, 7, 3, 2, 4, 5, 1, 7, 3, 2, 4, 5}},
    {Star::TaiYang, {7, 6, 2, 1, 2, 2, 2, 3, 3, 5, 6, 7}},
    {Star::WuQu, {2, 1, 3, 4, 1, 5, 2, 1, 3, 4, 1, 5}},
    {Star::TianTong, {2, 6, 4, 5, 5, 1, 7, 6, 2, 5, 5, 1}},
    {Star::LianZhen, {5, 4, 1, 5, 4, 7, 5, 4, 1, 5, 4, 7}},
    {Star::TianFu, {1, 1, 1, 3, 1, 3, 2, 1, 3, 2, 1, 3}},
    {Star::TaiYin, {1, 1, 2, 7, 7, 7, 6, 6, 4, 2, 2, 1}},
    {Star::TanLang, {2, 1, 5, 4, 1, 7, 2, 1, 5, 4, 1, 7}},
    {Star::JuMen, {2, 6, 1, 1, 7, 2, 2, 6, 1, 1, 7, 2}},
    {Star::TianXiang, {1, 1, 1, 7, 3, 3, 1, 3, 1, 7, 3, 3}},
    {Star::TianLiang, {1, 2, 1, 1, 1, 7, 1, 2, 7, 3, 1, 7}},
    {Star::QiSha, {2, 1, 1, 2, 1, 5, 2, 1, 1, 2, 1, 5}},
    {Star::PoJun, {1, 2, 3, 7, 2, 5, 1, 2, 3, 7, 2, 5}},
    {Star::WenChang, {3, 1, 7, 4, 3, 1, 7, 4, 3, 1, 7, 4}},
    {Star::WenQu, {3, 1, 5, 2, 3, 1, 7, 2, 3, 1, 7, 2}},
    {Star::LuCun, {1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0, 1}},
    {Star::QingYang, {7, 1, 0, 7, 1, 0, 7, 1, 0, 7, 1, 0}},
    {Star::TuoLuo, {0, 1, 7, 0, 1, 7, 0, 1, 7, 0, 1, 7}},
    {Star::HuoXing, {7, 3, 1, 4, 7, 3, 1, 4, 7, 3, 1, 4}},
    {Star::LingXing, {7, 3, 1, 4, 7, 3, 1, 4, 7, 3, 1, 4}},
}};

constexpr std::array<GradeRow, 11> kMinorGrades = {{
    {Star::TianXing, {2, 3, 1, 1, 2, 2, 2, 3, 2, 1, 1, 2}},
    {Star::TianYao, {2, 3, 2, 1, 2, 2, 2, 3, 2, 1, 1, 1}},
    {Star::TianKong, {3, 1, 1, 3, 3, 1, 1, 3, 3, 1, 0, 3}},
    {Star::HongLuan, {0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1}},
    {Star::TianKu, {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {Star::TianXu, {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {Star::FeiLian, {1, 3, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0}},
    {Star::TianGui, {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
    {Star::TianFuLuck, {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0}},
    {Star::DiJie, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}},
    {Star::TianShou, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
}};

// The grade tables by star: every star's grades, 0 for stars they leave out.
using GradesByStar = std::array<std::array<std::uint8_t, 12>, kStarCount>;
template <std::size_t Rows>
constexpr GradesByStar byStar(const std::array<GradeRow, Rows>& table) {
  GradesByStar grades{};
  for (const GradeRow& row : table) grades[static_cast<std::size_t>(row.star)] = row.grades;
  return grades;
}
constexpr GradesByStar kMainGradesByStar = byStar(kMainGrades);
constexpr GradesByStar kMinorGradesByStar = byStar(kMinorGrades);

template <std::size_t Marks>
std::string_view markOf(const GradesByStar& grades,
                        const std::array<std::string_view, Marks>& marks, Star star,
                        PalaceNum DayNum) {
  if (!isPalace(DayNum)) return {};
  return marks[grades[static_cast<std::size_t>(star)][static_cast<std::size_t>(DayNum - 1)]];
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
  return markOf(kMainGradesByStar, kMainMarks, star, DayNum);
}

std::string_view minorStarMark(Star star, PalaceNum DayNum) {
  return markOf(kMinorGradesByStar, kMinorMarks, star, DayNum);
}

std::string checkMainStarType(PalaceNum DayNum, std::string_view strStar, int /*typeN*/) {
  return marked(DayNum, strStar, mainStarMark);
}

std::string checkSubStarType(PalaceNum DayNum, std::string_view strStar, int /*typeN*/) {
  return marked(DayNum, strStar, minorStarMark);
}

}  // namespace ziwei
