#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The fourteen main stars: the Zi Wei series (紫微 and five companions
// counted backwards) and the Tian Fu series (天府 and seven companions
// counted forwards).

// The placements, from the palace of 紫微 (FirstStar = ZiWeiNum) or of 天府
// (SkyStar = TianFuNum); all 0 outside 1..12.
FamilyPalaces<Family::ZiWei> ziWeiPalaces(PalaceNum FirstStar);
FamilyPalaces<Family::ZiWeiSeries> ziWeiSeriesPalaces(PalaceNum FirstStar);
FamilyPalaces<Family::TianFu> tianFuPalaces(PalaceNum FirstStar);
FamilyPalaces<Family::TianFuSeries> tianFuSeriesPalaces(PalaceNum SkyStar);

// The same families palace by palace. 紫微 itself is added by the cell
// composer.
StarList getFirstSubStar(PalaceNum FirstStar, PalaceNum DayNum);  // FirstStar = ZiWeiNum
PalaceNum getSkyStarNUM(PalaceNum FirstStar);  // Tian Fu position of a Zi Wei position
StarList getSkyStar(PalaceNum FirstStar, PalaceNum DayNum);   // FirstStar = ZiWeiNum
StarList getSkySubStar(PalaceNum SkyStar, PalaceNum DayNum);  // SkyStar = TianFuNum

}  // namespace ziwei
