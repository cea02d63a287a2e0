#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// 文昌, 文曲, 火星, 鈴星 (reads HourNum, YearBranch).
StarList getHourFirstStar(const ChartState& chart, PalaceNum DayNum);
// 左輔, 右弼 (reads MonthPalaceNum).
StarList getMonthFirstStar(const ChartState& chart, PalaceNum DayNum);
// 地劫, 地空, 台輔, 封誥 (reads HourNum).
StarList getHourSecondStar(const ChartState& chart, PalaceNum DayNum);
// 天刑, 天姚, 天馬, 解神, 天巫, 天月, 陰煞 (reads MonthPalaceNum).
StarList getMonthSecondStar(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
