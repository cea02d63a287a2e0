#include "chart/stars/year_stem_stars.h"

#include <array>
#include <cstddef>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

using namespace branch;

// The year-stem stars by year stem: 祿存, 擎羊, 陀羅, 天魁, 天鉞, then 天官,
// 天福, 天廚.
constexpr std::array<std::array<PalaceNum, 8>, 10> kStemStars = {{
    {Yin, Mao, Chou, Chou, Wei, Wei, You, Si},   // 甲
    {Mao, Chen, Yin, Zi, Shen, Chen, Shen, Wu},  // 乙
    {Si, Wu, Chen, Hai, You, Si, Zi, Zi},        // 丙
    {Wu, Wei, Si, Hai, You, Yin, Hai, Si},       // 丁
    {Si, Wu, Chen, Chou, Wei, Mao, Mao, Wu},     // 戊
    {Wu, Wei, Si, Zi, Shen, You, Yin, Shen},     // 己
    {Shen, You, Wei, Chou, Wei, Hai, Wu, Yin},   // 庚
    {You, Xu, Shen, Wu, Yin, You, Si, Wu},       // 辛
    {Hai, Zi, Xu, Mao, Si, Xu, Wu, You},         // 壬
    {Zi, Chou, Hai, Mao, Si, Wu, Si, Hai},       // 癸
}};

// 擎羊 and 陀羅 flank 祿存 in every row.
static_assert([] {
  for (const auto& row : kStemStars) {
    if (row[1] != row[0] + 1 || row[2] != row[0] - 1) return false;
  }
  return true;
}());

}  // namespace

FamilyPalaces<Family::StemFirst> stemFirstPalaces(Stem stem) {
  if (!stem.valid()) return {};
  const auto& p = kStemStars[stem.index()];
  return {p[0], p[1], p[2], p[3], p[4]};
}

FamilyPalaces<Family::StemFirst> getSkySFirstStar(const ChartState& chart) {
  return stemFirstPalaces(chart.YearStem);
}

FamilyPalaces<Family::StemSecond> getSkySSecondStar(const ChartState& chart) {
  if (!chart.YearStem.valid()) return {};
  const auto& p = kStemStars[chart.YearStem.index()];
  return {p[5], p[6], p[7]};
}

}  // namespace ziwei
