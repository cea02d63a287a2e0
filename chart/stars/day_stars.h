#pragma once

#include <array>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// 三台, 八座, 恩光, 天貴 (reads MonthPalaceNum, HourNum, BirthDay).
StarList getDaySecondStar(const ChartState& chart, PalaceNum DayNum);

// The family as data: stars in test order and their palaces in one chart.
inline constexpr std::array<Star, 4> kDaySecondStars = {Star::SanTai, Star::BaZuo, Star::EnGuang,
                                                        Star::TianGui};
std::array<PalaceNum, 4> daySecondStarPalaces(const ChartState& chart);

}  // namespace ziwei
