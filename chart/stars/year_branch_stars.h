#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// The nineteen stars placed by the year branch alone, 天哭 ... 咸池, for a
// year of branch `branch` (nowhere for no branch), and for the birth year.
FamilyPalaces<Family::BranchSecond> branchSecondPalaces(Branch branch);
FamilyPalaces<Family::BranchSecond> getEarthSecondStar(const ChartState& chart);

// 天才, counted from the Life palace `LiftNum`, and 天壽, from the Body palace
// `BodyHourse`, by the year branch `YN`; nowhere for each whose palace or YN
// is none.
FamilyPalaces<Family::BranchLifeBody> getEarthSecondStar2(Branch YN, PalaceNum LiftNum,
                                                          PalaceNum BodyHourse);

}  // namespace ziwei
