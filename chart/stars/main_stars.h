#pragma once

#include "chart/frame/numbering.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// The fourteen main stars: the Zi Wei series (紫微 and five companions
// counted backwards) and the Tian Fu series (天府 and seven companions
// counted forwards), placed from the palace of 紫微 (FirstStar = ZiWeiNum)
// or of 天府 (SkyStar = TianFuNum); nowhere for no palace.
FamilyPalaces<Family::ZiWei> ziWeiPalaces(PalaceNum FirstStar);
FamilyPalaces<Family::ZiWeiSeries> getFirstSubStar(PalaceNum FirstStar);
FamilyPalaces<Family::TianFu> getSkyStar(PalaceNum FirstStar);
FamilyPalaces<Family::TianFuSeries> getSkySubStar(PalaceNum SkyStar);

}  // namespace ziwei
