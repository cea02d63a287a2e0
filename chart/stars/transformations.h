#pragma once
// The four transformations (四化) a stem gives four stars: the table this
// program casts by, and the stars any table may name.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "chart/stars/star_names.h"

namespace ziwei {

enum class Transformation : std::uint8_t { None, Lu, Quan, Ke, Ji };  // -, 祿, 權, 科, 忌
inline constexpr std::size_t kTransformationCount = 5;

// The stars that take 祿, 權, 科 and 忌, in that order, by stem 甲..癸.
using TransformationTable = std::array<std::array<Star, 4>, 10>;

inline constexpr TransformationTable kTransformations = {{
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

// The stars a table may transform: the fourteen main stars, 文昌, 文曲,
// 左輔 and 右弼.
inline constexpr std::array<Star, 18> kTransformableStars = {
    Star::ZiWei,  Star::TianJi, Star::TaiYang,  Star::WuQu,  Star::TianTong,  Star::LianZhen,
    Star::TianFu, Star::TaiYin, Star::TanLang,  Star::JuMen, Star::TianXiang, Star::TianLiang,
    Star::QiSha,  Star::PoJun,  Star::WenChang, Star::WenQu, Star::ZuoFu,     Star::YouBi};

constexpr bool isTransformable(Star star) {
  return std::find(kTransformableStars.begin(), kTransformableStars.end(), star) !=
         kTransformableStars.end();
}

// The transformation a stem's row gives `star` (None when the row does not
// name it).
constexpr Transformation transformationIn(const std::array<Star, 4>& row, Star star) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (row[i] == star) return static_cast<Transformation>(i + 1);
  }
  return Transformation::None;
}

static_assert([] {
  for (const auto& row : kTransformations) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (!isTransformable(row[i]) || transformationIn(row, row[i]) != Transformation(i + 1)) {
        return false;
      }
    }
  }
  return true;
}());

}  // namespace ziwei
