#pragma once

#include <array>

#include "chart/frame/chart_state.h"
#include "chart/frame/numbering.h"

namespace ziwei {

// Stem of the 寅 palace by year stem (甲己 丙, 乙庚 戊, 丙辛 庚, 丁壬 壬,
// 戊癸 甲).
inline constexpr std::array<int, 10> kYinPalaceStem = {3, 5, 7, 9, 1, 3, 5, 7, 9, 1};

// The stem that palace `earthnum` carries in a year of stem `yearStem`
// (none outside the ranges). Counted from the 寅 palace, it is also the
// five-tigers rule: the stem of a month of that year whose branch is
// `earthnum` (month 1 at 寅).
constexpr Stem palaceStem(Stem yearStem, PalaceNum earthnum) {
  if (!yearStem.valid() || !earthnum.valid()) return {};
  const int s = kYinPalaceStem[yearStem.index()];
  // 子 and 丑 carry the stems of 寅 and 卯.
  const int n = earthnum.number();
  return Stem::wrap(n >= 3 ? s + n - 3 : s + n - 1);
}

// The stem palace `earthnum` carries in the birth year.
constexpr Stem getSky(const ChartState& chart, PalaceNum earthnum) {
  return palaceStem(chart.YearStem, earthnum);
}

// True when `DayNum` is the Body palace (from HourNum and MonthPalaceNum).
constexpr bool getBodyHourse(const ChartState& chart, PalaceNum DayNum) {
  return DayNum == chart.MonthPalaceNum + (chart.HourNum.number() - 1);
}

}  // namespace ziwei
