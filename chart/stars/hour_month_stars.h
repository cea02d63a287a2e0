#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The placements of the four families in one chart (all 0 when the frame
// fields they read are out of range).
FamilyPalaces<Family::HourFirst> hourFirstStarPalaces(const ChartState& chart);
FamilyPalaces<Family::MonthFirst> monthFirstStarPalaces(const ChartState& chart);
FamilyPalaces<Family::HourSecond> hourSecondStarPalaces(const ChartState& chart);
FamilyPalaces<Family::MonthSecond> monthSecondStarPalaces(const ChartState& chart);

// 文昌, 文曲, 火星, 鈴星 (reads HourNum, YearBranch).
StarList getHourFirstStar(const ChartState& chart, PalaceNum DayNum);
// 左輔, 右弼 (reads MonthPalaceNum).
StarList getMonthFirstStar(const ChartState& chart, PalaceNum DayNum);
// 地劫, 地空, 台輔, 封誥 (reads HourNum).
StarList getHourSecondStar(const ChartState& chart, PalaceNum DayNum);
// 天刑, 天姚, 天馬, 解神, 天巫, 天月, 陰煞 (reads MonthPalaceNum).
StarList getMonthSecondStar(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
