#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// 三台, 八座, 恩光, 天貴 in one chart (reads MonthPalaceNum, HourNum, BirthDay;
// all 0 when the first two are out of range).
FamilyPalaces<Family::DaySecond> daySecondStarPalaces(const ChartState& chart);

// The same palace by palace.
StarList getDaySecondStar(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
