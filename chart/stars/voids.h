#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// The branch of "旬空" (reads YearStem and YearBranch: of the two branches
// the year's decade of the sexagenary cycle leaves void, the one of the
// year branch's polarity) and the palace of "截空" (reads YearStem).
FamilyPalaces<Family::DecadeVoid> getEmptyDead(const ChartState& chart);
FamilyPalaces<Family::CutOffVoid> getDrDDTreeStar(const ChartState& chart);

// The two branches the decade of a stem-branch pair leaves void (戌 and 亥
// for 甲子); none for a pair that is not one of the sixty.
std::array<Branch, 2> EmptyDead(StemBranch SixStr);

}  // namespace ziwei
