#include "chart/stars/year_branch_stars.h"

#include <array>
#include <cstddef>

#include "chart/frame/cyclic_names.h"
#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

using namespace branch;

// The nineteen year-branch stars by year branch, in test order: 天哭, 天虛,
// 龍池, 鳳閣, 紅鸞, 天喜, 孤辰, 寡宿, 蜚廉, 破碎, 月德, 歲破, 天解, 地解, 命馬,
// 天空, 華蓋, 太歲, 咸池.
// clang-format off
constexpr std::array<std::array<PalaceNum, 19>, 12> kBranchStars = {{
    {Wu, Wu, Chen, Xu, Mao, You, Yin, Xu, Shen, Si,  // 子
     Si, Wu, Xu, Wei, Yin, Chou, Chen, Zi, You},
    {Si, Wei, Si, You, Yin, Shen, Yin, Xu, You, Chou,  // 丑
     Wu, Wei, You, Wei, Hai, Yin, Chou, Chou, Wu},
    {Chen, Shen, Wu, Shen, Chou, Wei, Si, Chou, Xu, You,  // 寅
     Wei, Shen, Shen, Shen, Shen, Mao, Xu, Yin, Mao},
    {Mao, You, Wei, Wei, Zi, Wu, Si, Chou, Si, Si,  // 卯
     Shen, You, Wei, Shen, Si, Chen, Wei, Mao, Zi},
    {Yin, Xu, Shen, Wu, Hai, Si, Si, Chou, Wu, Chou,  // 辰
     You, Xu, Wu, You, Yin, Si, Chen, Chen, You},
    {Chou, Hai, You, Si, Xu, Chen, Shen, Chen, Wei, You,  // 巳
     Xu, Hai, Si, You, Hai, Wu, Chou, Si, Wu},
    {Zi, Zi, Xu, Chen, You, Mao, Shen, Chen, Yin, Si,  // 午
     Hai, Zi, Chen, Xu, Shen, Wei, Xu, Wu, Mao},
    {Hai, Chou, Hai, Mao, Shen, Yin, Shen, Chen, Mao, Chou,  // 未
     Zi, Chou, Mao, Xu, Si, Shen, Wei, Wei, Zi},
    {Xu, Yin, Zi, Yin, Wei, Chou, Hai, Wei, Chen, You,  // 申
     Chou, Yin, Yin, Hai, Yin, You, Chen, Shen, You},
    {You, Mao, Chou, Chou, Wu, Zi, Hai, Wei, Hai, Si,  // 酉
     Yin, Mao, Chou, Hai, Hai, Xu, Chou, You, Wu},
    {Shen, Chen, Yin, Zi, Si, Hai, Hai, Wei, Zi, Chou,  // 戌
     Mao, Chen, Zi, Wu, Shen, Hai, Xu, Xu, Mao},
    {Wei, Si, Mao, Hai, Chen, Xu, Yin, Xu, Chou, You,  // 亥
     Chen, Si, Hai, Wu, Si, Zi, Wei, Hai, Zi},
}};
// clang-format on

// 天才 lies in the palace of this name, by year branch; as an offset from the
// Life palace: 命宮 0, 父母宮 1, ... 兄弟宮 11 (the year branch number - 1).
constexpr std::array<std::string_view, 12> kTianCaiPalace = {
    "命宮",   "父母宮", "福德宮", "田宅宮", "官祿宮", "僕役宮",
    "遷移宮", "疾厄宮", "財帛宮", "子女宮", "夫妻宮", "兄弟宮"};

}  // namespace

std::array<PalaceNum, 19> earthSecondStarPalaces(const ChartState& chart) {
  if (!isPalace(chart.YearBranchNum)) return {};
  return kBranchStars[static_cast<std::size_t>(chart.YearBranchNum - 1)];
}

std::array<PalaceNum, 2> earthSecondStar2Palaces(const ChartState& chart) {
  std::array<PalaceNum, 2> palaces = {0, 0};
  if (!isPalace(chart.YearBranchNum)) return palaces;
  const auto branchIndex = static_cast<std::size_t>(chart.YearBranchNum - 1);
  if (isPalace(chart.LifePalaceNum)) {
    for (PalaceNum p = 1; p <= 12; ++p) {
      if (palaceName(chart.LifePalaceNum, p) == kTianCaiPalace[branchIndex]) palaces[0] = p;
    }
  }
  if (isPalace(chart.BodyPalaceNum)) {
    palaces[1] = wrapPalace(chart.BodyPalaceNum + chart.YearBranchNum - 1);
  }
  return palaces;
}

StarList getEarthSecondStar(const ChartState& chart, PalaceNum DayNum) {
  return starsIn(kEarthSecondStars, earthSecondStarPalaces(chart), DayNum);
}

StarList getEarthSecondStar2(const ChartState& chart, PalaceNum DayNum, std::string_view hourseW,
                             PalaceNum BodyHourse) {
  StarList list;
  if (!isPalace(chart.YearBranchNum)) return list;
  if (hourseW == kTianCaiPalace[static_cast<std::size_t>(chart.YearBranchNum - 1)]) {
    appendStar(list, starName(Star::TianCai));
  }
  int s = chart.YearBranchNum + BodyHourse - 1;
  if (s > 12) s -= 12;
  if (isPalace(BodyHourse) && s == DayNum) appendStar(list, starName(Star::TianShou));
  return list;
}

}  // namespace ziwei
