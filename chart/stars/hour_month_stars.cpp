#include "chart/stars/hour_month_stars.h"

#include <array>
#include <cstddef>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

using namespace branch;

// 文昌 and 文曲 by the hour branch.
constexpr std::array<std::array<PalaceNum, 2>, 12> kChangQu = {{
    {Xu, Chen},    // 子
    {You, Si},     // 丑
    {Shen, Wu},    // 寅
    {Wei, Wei},    // 卯
    {Wu, Shen},    // 辰
    {Si, You},     // 巳
    {Chen, Xu},    // 午
    {Mao, Hai},    // 未
    {Yin, Zi},     // 申
    {Chou, Chou},  // 酉
    {Zi, Yin},     // 戌
    {Hai, Mao},    // 亥
}};

// Group of the year branch for 火星 and 鈴星 (0 寅午戌, 1 申子辰, 2 巳酉丑,
// 3 亥卯未), by branch number.
constexpr std::array<std::size_t, 12> kFireBellGroup = {1, 2, 0, 3, 1, 2, 0, 3, 1, 2, 0, 3};

// 火星 and 鈴星 by year-branch group and hour branch.
constexpr std::array<std::array<std::array<PalaceNum, 2>, 12>, 4> kFireBell = {{
    {{{Chou, Mao},
      {Yin, Chen},
      {Mao, Si},
      {Chen, Wu},
      {Si, Wei},
      {Wu, Shen},
      {Wei, You},
      {Shen, Xu},
      {You, Hai},
      {Xu, Zi},
      {Hai, Chou},
      {Zi, Yin}}},  // 寅午戌
    {{{Yin, Xu},
      {Mao, Hai},
      {Chen, Zi},
      {Si, Chou},
      {Wu, Yin},
      {Wei, Mao},
      {Shen, Chen},
      {You, Si},
      {Xu, Wu},
      {Hai, Wei},
      {Zi, Shen},
      {Chou, You}}},  // 申子辰
    {{{Mao, Xu},
      {Chen, Hai},
      {Si, Zi},
      {Wu, Chou},
      {Wei, Yin},
      {Shen, Mao},
      {You, Chen},
      {Xu, Si},
      {Hai, Wu},
      {Zi, Wei},
      {Chou, Shen},
      {Yin, You}}},  // 巳酉丑
    {{{You, Xu},
      {Xu, Hai},
      {Hai, Zi},
      {Zi, Chou},
      {Chou, Yin},
      {Yin, Mao},
      {Mao, Chen},
      {Chen, Si},
      {Si, Wu},
      {Wu, Wei},
      {Wei, Shen},
      {Shen, You}}},  // 亥卯未
}};

// 地劫, 地空, 台輔, 封誥 by the hour branch.
constexpr std::array<FamilyPalaces<Family::HourSecond>, 12> kHourSecond = {{
    {Hai, Hai, Wu, Yin},      // 子
    {Zi, Xu, Wei, Mao},       // 丑
    {Chou, You, Shen, Chen},  // 寅
    {Yin, Shen, You, Si},     // 卯
    {Mao, Wei, Xu, Wu},       // 辰
    {Chen, Wu, Hai, Wei},     // 巳
    {Si, Si, Zi, Shen},       // 午
    {Wu, Chen, Chou, You},    // 未
    {Wei, Mao, Yin, Xu},      // 申
    {Shen, Yin, Mao, Hai},    // 酉
    {You, Chou, Chen, Zi},    // 戌
    {Xu, Zi, Si, Chou},       // 亥
}};

// The month stars by month palace: 左輔, 右弼, then 天刑, 天姚, 天馬, 解神,
// 天巫, 天月, 陰煞. 天月 follows the lunar month (子 palace = month 11).
constexpr std::array<std::array<PalaceNum, 9>, 12> kMonthStars = {{
    {Yin, Zi, Wei, Hai, Yin, Wu, Yin, Xu, Wu},       // 子 (month 11)
    {Mao, Hai, Shen, Zi, Hai, Wu, Hai, Yin, Chen},   // 丑 (month 12)
    {Chen, Xu, You, Chou, Shen, Shen, Si, Xu, Yin},  // 寅 (month 1)
    {Si, You, Xu, Yin, Si, Shen, Shen, Si, Zi},      // 卯
    {Wu, Shen, Hai, Mao, Yin, Xu, Yin, Chen, Xu},    // 辰
    {Wei, Wei, Zi, Chen, Hai, Xu, Hai, Yin, Shen},   // 巳
    {Shen, Wu, Chou, Si, Shen, Zi, Si, Wei, Wu},     // 午
    {You, Si, Yin, Wu, Si, Zi, Shen, Mao, Chen},     // 未
    {Xu, Chen, Mao, Wei, Yin, Yin, Yin, Hai, Yin},   // 申
    {Hai, Mao, Chen, Shen, Hai, Yin, Hai, Wei, Zi},  // 酉 (month 8)
    {Zi, Yin, Si, You, Shen, Chen, Si, Yin, Xu},     // 戌 (month 9)
    {Chou, Chou, Wu, Xu, Si, Chen, Shen, Wu, Shen},  // 亥 (month 10)
}};

}  // namespace

FamilyPalaces<Family::HourFirst> getHourFirstStar(const ChartState& chart) {
  if (!chart.HourNum.valid()) return {};
  const auto& changQu = kChangQu[chart.HourNum.index()];
  FamilyPalaces<Family::HourFirst> palaces = {changQu[0], changQu[1], {}, {}};
  if (chart.YearBranch.valid()) {
    const auto& fireBell = kFireBell[kFireBellGroup[chart.YearBranch.index()]][chart.HourNum.index()];
    palaces[2] = fireBell[0];
    palaces[3] = fireBell[1];
  }
  return palaces;
}

FamilyPalaces<Family::MonthFirst> getMonthFirstStar(const ChartState& chart) {
  if (!chart.MonthPalaceNum.valid()) return {};
  const auto& stars = kMonthStars[chart.MonthPalaceNum.index()];
  return {stars[0], stars[1]};
}

FamilyPalaces<Family::HourSecond> getHourSecondStar(const ChartState& chart) {
  if (!chart.HourNum.valid()) return {};
  return kHourSecond[chart.HourNum.index()];
}

FamilyPalaces<Family::MonthSecond> getMonthSecondStar(const ChartState& chart) {
  if (!chart.MonthPalaceNum.valid()) return {};
  const auto& stars = kMonthStars[chart.MonthPalaceNum.index()];
  return {stars[2], stars[3], stars[4], stars[5], stars[6], stars[7], stars[8]};
}

}  // namespace ziwei
