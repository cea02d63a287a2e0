#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// 祿存, 擎羊, 陀羅, 天魁, 天鉞 for a year of stem `stem` (nowhere for no
// stem): 擎羊 always one palace forward of 祿存, 陀羅 one backward.
FamilyPalaces<Family::StemFirst> stemFirstPalaces(Stem stem);

// The same for the birth year, and 天官, 天福, 天廚 (read YearStem).
FamilyPalaces<Family::StemFirst> getSkySFirstStar(const ChartState& chart);
FamilyPalaces<Family::StemSecond> getSkySSecondStar(const ChartState& chart);

// The four transformations a stem gives four stars.
enum class Transformation : std::uint8_t { None, Lu, Quan, Ke, Ji };  // -, 祿, 權, 科, 忌
inline constexpr std::size_t kTransformationCount = 5;

// The stars that take 祿, 權, 科 and 忌, by year stem.
inline constexpr std::array<std::array<Star, 4>, 10> kTransformations = {{
    {Star::LianZhen, Star::PoJun, Star::WuQu, Star::TaiYang},        // 甲
    {Star::TianJi, Star::TianLiang, Star::ZiWei, Star::TaiYin},      // 乙
    {Star::TianTong, Star::TianJi, Star::WenChang, Star::LianZhen},  // 丙
    {Star::TaiYin, Star::TianTong, Star::TianJi, Star::JuMen},       // 丁
    {Star::TanLang, Star::TaiYin, Star::YouBi, Star::TianJi},        // 戊
    {Star::WuQu, Star::TanLang, Star::TianLiang, Star::WenQu},       // 己
    {Star::TaiYang, Star::WuQu, Star::TaiYin, Star::TianTong},       // 庚
    {Star::JuMen, Star::TaiYang, Star::WenQu, Star::WenChang},       // 辛
    {Star::TianLiang, Star::ZiWei, Star::ZuoFu, Star::WuQu},         // 壬
    {Star::PoJun, Star::JuMen, Star::TaiYin, Star::TanLang},         // 癸
}};

// The stars that take 祿, 權, 科 and 忌 (in that order) for a valid stem.
constexpr const std::array<Star, 4>& transformedStars(Stem stem) {
  return kTransformations[stem.index()];
}

// The same by stem and Star: the transformation each stem gives each star.
inline constexpr auto kTransformationsByStar = [] {
  std::array<std::array<Transformation, kStarCount>, 10> table{};
  for (std::size_t stem = 0; stem < table.size(); ++stem) {
    for (std::size_t i = 0; i < kTransformations[stem].size(); ++i) {
      table[stem][static_cast<std::size_t>(kTransformations[stem][i])] =
          static_cast<Transformation>(i + 1);
    }
  }
  return table;
}();

// The transformation stem `stem` gives `star`; None for the others and for
// no stem.
constexpr Transformation transformationBy(Stem stem, Star star) {
  if (!stem.valid()) return Transformation::None;
  return kTransformationsByStar[stem.index()][static_cast<std::size_t>(star)];
}

// The transformation of `star` in the birth year.
constexpr Transformation getSkyOFirstStar(const ChartState& chart, Star star) {
  return transformationBy(chart.YearStem, star);
}

}  // namespace ziwei
