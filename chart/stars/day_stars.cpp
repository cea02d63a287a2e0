#include "chart/stars/day_stars.h"

namespace ziwei {

FamilyPalaces<Family::DaySecond> getDaySecondStar(const ChartState& chart) {
  if (!chart.MonthPalaceNum.valid() || !chart.HourNum.valid()) return {};
  const int k = floorMod(chart.BirthDay, 12);  // days 12 apart place the stars alike
  const int month = chart.MonthPalaceNum.number();
  const int hour = chart.HourNum.number();
  // The base stars: 左輔 and 右弼 by the month, 文昌 and 文曲 by the hour.
  const PalaceNum zuoFu = PalaceNum::wrap(month + 2);
  const PalaceNum youBi = PalaceNum::wrap(14 - month);
  const PalaceNum wenChang = PalaceNum::wrap(12 - hour);
  const PalaceNum wenQu = PalaceNum::wrap(hour + 4);
  return {
      zuoFu + (k - 1),     // 三台: forwards from 左輔, day - 1 steps
      youBi - (k - 1),     // 八座: backwards from 右弼, day - 1 steps
      wenChang + (k - 2),  // 恩光: forwards from 文昌, day - 2 steps
      wenQu + (k - 2),     // 天貴: forwards from 文曲, day - 2 steps
  };
}

}  // namespace ziwei
