#pragma once

#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The nineteen stars placed by the year branch alone, 天哭 ... 咸池 (all 0
// when YearBranchNum is outside 1..12).
FamilyPalaces<Family::BranchSecond> earthSecondStarPalaces(const ChartState& chart);
// The same for a year of branch `branch`.
FamilyPalaces<Family::BranchSecond> branchSecondPalaces(int branch);
// 天才, counted from the Life palace `LiftNum`, and 天壽, from the Body palace
// `BodyHourse`, by the year branch `YN`; 0 for each whose palace or YN is
// outside the ring.
FamilyPalaces<Family::BranchLifeBody> earthSecondStar2Palaces(std::int16_t YN, PalaceNum LiftNum,
                                                              PalaceNum BodyHourse);

// The same palace by palace (reads YearBranchNum).
StarList getEarthSecondStar(const ChartState& chart, PalaceNum DayNum);
// `hourseW` is the name of palace `DayNum` (which tells the Life palace).
StarList getEarthSecondStar2(const ChartState& chart, PalaceNum DayNum, std::string_view hourseW,
                             PalaceNum BodyHourse);

}  // namespace ziwei
