#include "chart/frame/masters.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

// Life master by the branch of the Life palace.
constexpr std::array<std::string_view, 12> kLifeMasters = {
    "貪狼", "巨門", "祿存", "文曲", "廉貞", "武曲", "破軍", "武曲", "廉貞", "文曲", "祿存", "巨門"};

// Body master by the year branch; branches six apart share a master.
constexpr std::array<std::string_view, 12> kBodyMasters = {
    "火星", "天相", "天梁", "天同", "文昌", "天機", "火星", "天相", "天梁", "天同", "文昌", "天機"};

}  // namespace

std::string getLiftStart(PalaceNum liftHourse) {
  if (!isPalace(liftHourse)) return {};
  return std::string(kLifeMasters[static_cast<std::size_t>(liftHourse - 1)]);
}

std::string getBodyStart(const ChartState& chart) {
  if (!isPalace(chart.YearBranchNum)) return {};
  return std::string(kBodyMasters[static_cast<std::size_t>(chart.YearBranchNum - 1)]);
}

PalaceNum getLifeDStart(const ChartState& chart) {
  // Back one palace a month from 子, then forward one a hour branch.
  if (!isPalace(chart.MonthPalaceNum) || !isPalace(chart.HourNum)) return 0;
  int d = chart.HourNum + 3 - chart.MonthPalaceNum;
  if (d <= 0) d += 12;
  if (d > 12) d -= 12;
  return static_cast<PalaceNum>(d);
}

}  // namespace ziwei
