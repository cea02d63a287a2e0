#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// 三台, 八座, 恩光, 天貴 in one chart (reads MonthPalaceNum, HourNum,
// BirthDay; nowhere when the first two are none).
FamilyPalaces<Family::DaySecond> getDaySecondStar(const ChartState& chart);

}  // namespace ziwei
