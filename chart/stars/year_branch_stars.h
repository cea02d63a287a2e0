#pragma once

#include <array>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The nineteen stars placed by the year branch alone, 天哭 ... 咸池
// (reads YearBranchNum).
StarList getEarthSecondStar(const ChartState& chart, PalaceNum DayNum);

// 天才 (by the palace name `hourseW`) and 天壽 (from the Body palace
// `BodyHourse`) (reads YearBranchNum).
StarList getEarthSecondStar2(const ChartState& chart, PalaceNum DayNum, std::string_view hourseW,
                             PalaceNum BodyHourse);

// The families as data: stars in test order and their palaces in one chart
// (天才 and 天壽 counted from the chart's Life and Body palaces).
inline constexpr std::array<Star, 19> kEarthSecondStars = {
    Star::TianKu,   Star::TianXu, Star::LongChi, Star::FengGe,  Star::HongLuan,
    Star::TianXi,   Star::GuChen, Star::GuaSu,   Star::FeiLian, Star::PoSui,
    Star::YueDe,    Star::SuiPo,  Star::TianXie, Star::DiXie,   Star::MingMa,
    Star::TianKong, Star::HuaGai, Star::TaiSui,  Star::XianChi};
inline constexpr std::array<Star, 2> kEarthSecondStars2 = {Star::TianCai, Star::TianShou};
std::array<PalaceNum, 19> earthSecondStarPalaces(const ChartState& chart);
std::array<PalaceNum, 2> earthSecondStar2Palaces(const ChartState& chart);

}  // namespace ziwei
