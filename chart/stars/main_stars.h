#pragma once

#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The fourteen main stars: the Zi Wei series (紫微 and five companions
// counted backwards) and the Tian Fu series (天府 and seven companions
// counted forwards). 紫微 itself is added by the cell composer.

StarList getFirstSubStar(PalaceNum FirstStar, PalaceNum DayNum);  // FirstStar = ZiWeiNum
PalaceNum getSkyStarNUM(PalaceNum FirstStar);                     // Tian Fu position of a Zi Wei position
StarList getSkyStar(PalaceNum FirstStar, PalaceNum DayNum);       // FirstStar = ZiWeiNum
StarList getSkySubStar(PalaceNum SkyStar, PalaceNum DayNum);      // SkyStar = TianFuNum

// The names that colour a palace name red: the fourteen main stars, 天馬, 祿存.
inline constexpr std::string_view kMainStarSet =
    "天同天機太陽武曲紫微七殺天府天相天馬天梁太陰巨門破軍貪狼廉貞祿存";

}  // namespace ziwei
