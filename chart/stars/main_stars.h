#pragma once

#include <array>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The fourteen main stars: the Zi Wei series (紫微 and five companions
// counted backwards) and the Tian Fu series (天府 and seven companions
// counted forwards). 紫微 itself is added by the cell composer.

StarList getFirstSubStar(PalaceNum FirstStar, PalaceNum DayNum);  // FirstStar = ZiWeiNum
PalaceNum getSkyStarNUM(PalaceNum FirstStar);  // Tian Fu position of a Zi Wei position
StarList getSkyStar(PalaceNum FirstStar, PalaceNum DayNum);   // FirstStar = ZiWeiNum
StarList getSkySubStar(PalaceNum SkyStar, PalaceNum DayNum);  // SkyStar = TianFuNum

// The two series as data: their companions (without 紫微 and 天府) and the
// palace of each for a 紫微 or 天府 position (0 outside 1..12).
inline constexpr std::array<Star, 5> kZiWeiSeriesStars = {Star::TianJi, Star::TaiYang, Star::WuQu,
                                                          Star::TianTong, Star::LianZhen};
inline constexpr std::array<Star, 7> kTianFuSeriesStars = {
    Star::TaiYin,    Star::TanLang, Star::JuMen, Star::TianXiang,
    Star::TianLiang, Star::QiSha,   Star::PoJun};
std::array<PalaceNum, 5> ziWeiSeriesPalaces(PalaceNum FirstStar);  // FirstStar = ZiWeiNum
std::array<PalaceNum, 7> tianFuSeriesPalaces(PalaceNum SkyStar);   // SkyStar = TianFuNum

// The names that colour a palace name red: the fourteen main stars, 天馬, 祿存.
inline constexpr std::string_view kMainStarSet =
    "天同天機太陽武曲紫微七殺天府天相天馬天梁太陰巨門破軍貪狼廉貞祿存";

}  // namespace ziwei
