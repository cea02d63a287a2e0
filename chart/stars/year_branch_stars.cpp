#include "chart/stars/year_branch_stars.h"

#include <array>
#include <cstddef>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

using namespace branch;

// The nineteen year-branch stars by year branch, in test order: 天哭, 天虛,
// 龍池, 鳳閣, 紅鸞, 天喜, 孤辰, 寡宿, 蜚廉, 破碎, 月德, 歲破, 天解, 地解, 命馬,
// 天空, 華蓋, 太歲, 咸池.
// clang-format off
constexpr std::array<FamilyPalaces<Family::BranchSecond>, 12> kBranchStars = {{
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

}  // namespace

FamilyPalaces<Family::BranchSecond> branchSecondPalaces(Branch branch) {
  if (!branch.valid()) return {};
  return kBranchStars[branch.index()];
}

FamilyPalaces<Family::BranchSecond> getEarthSecondStar(const ChartState& chart) {
  return branchSecondPalaces(chart.YearBranch);
}

// Both stars stand YN - 1 palaces forwards of their start: 天才 in the Life
// palace for a 子 year, in 父母宮 for 丑, ... in 兄弟宮 for 亥.
FamilyPalaces<Family::BranchLifeBody> getEarthSecondStar2(Branch YN, PalaceNum LiftNum,
                                                          PalaceNum BodyHourse) {
  if (!YN.valid()) return {};
  const int steps = YN.number() - 1;
  return {LiftNum.valid() ? LiftNum + steps : PalaceNum{},
          BodyHourse.valid() ? BodyHourse + steps : PalaceNum{}};
}

}  // namespace ziwei
