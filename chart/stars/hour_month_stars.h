#pragma once

#include <array>

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

// The families as data: their stars in test order, and the palace of each
// star for one chart (0 when the frame fields are out of range).
inline constexpr std::array<Star, 4> kHourFirstStars = {Star::WenChang, Star::WenQu, Star::HuoXing,
                                                        Star::LingXing};
inline constexpr std::array<Star, 2> kMonthFirstStars = {Star::ZuoFu, Star::YouBi};
inline constexpr std::array<Star, 4> kHourSecondStars = {Star::DiJie, Star::DiKong, Star::TaiFu,
                                                         Star::FengGao};
inline constexpr std::array<Star, 7> kMonthSecondStars = {
    Star::TianXing, Star::TianYao,      Star::TianMa, Star::JieShen,
    Star::TianWu,   Star::TianYueMonth, Star::YinSha};

std::array<PalaceNum, 4> hourFirstStarPalaces(const ChartState& chart);
std::array<PalaceNum, 2> monthFirstStarPalaces(const ChartState& chart);
std::array<PalaceNum, 4> hourSecondStarPalaces(const ChartState& chart);
std::array<PalaceNum, 7> monthSecondStarPalaces(const ChartState& chart);

}  // namespace ziwei
