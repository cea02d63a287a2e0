#include "chart/stars/day_stars.h"

#include "chart/frame/numbering.h"

namespace ziwei {

FamilyPalaces<Family::DaySecond> daySecondStarPalaces(const ChartState& chart) {
  if (!isPalace(chart.MonthPalaceNum) || !isPalace(chart.HourNum)) return {};
  const int k = floorMod(chart.BirthDay, 12);  // days 12 apart place the stars alike
  // The base stars: 左輔 and 右弼 by the month, 文昌 and 文曲 by the hour.
  const int zuoFu = wrapPalace(chart.MonthPalaceNum + 2);
  const int youBi = wrapPalace(14 - chart.MonthPalaceNum);
  const int wenChang = wrapPalace(12 - chart.HourNum);
  const int wenQu = wrapPalace(chart.HourNum + 4);
  return {
      wrapPalace(zuoFu + k - 1),     // 三台: forwards from 左輔, day - 1 steps
      wrapPalace(youBi - k + 1),     // 八座: backwards from 右弼, day - 1 steps
      wrapPalace(wenChang + k - 2),  // 恩光: forwards from 文昌, day - 2 steps
      wrapPalace(wenQu + k - 2),     // 天貴: forwards from 文曲, day - 2 steps
  };
}

StarList getDaySecondStar(const ChartState& chart, PalaceNum DayNum) {
  return starsIn<Family::DaySecond>(daySecondStarPalaces(chart), DayNum);
}

}  // namespace ziwei
