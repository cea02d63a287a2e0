#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// The placements of the four families in one chart (nowhere when the frame
// fields they read are none).
// 文昌, 文曲, 火星, 鈴星 (reads HourNum, YearBranch).
FamilyPalaces<Family::HourFirst> getHourFirstStar(const ChartState& chart);
// 左輔, 右弼 (reads MonthPalaceNum).
FamilyPalaces<Family::MonthFirst> getMonthFirstStar(const ChartState& chart);
// 地劫, 地空, 台輔, 封誥 (reads HourNum).
FamilyPalaces<Family::HourSecond> getHourSecondStar(const ChartState& chart);
// 天刑, 天姚, 天馬, 解神, 天巫, 天月, 陰煞 (reads MonthPalaceNum).
FamilyPalaces<Family::MonthSecond> getMonthSecondStar(const ChartState& chart);

}  // namespace ziwei
