#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// 三台, 八座, 恩光, 天貴 (reads MonthPalaceNum, HourNum, BirthDay).
StarList getDaySecondStar(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
