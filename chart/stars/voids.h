#pragma once

#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The two void branches of a stem-branch pair's decade ("戌亥" for 甲子), or
// the empty text when `SixStr` is not one of the sixty pairs.
std::string EmptyDead(std::string_view SixStr);

// The palace of "旬空" (reads YearStem, YearBranch, YearBranchNum) and of
// "截空" (reads YearStemNum) in one chart; 0 when it lies nowhere.
FamilyPalaces<Family::DecadeVoid> emptyDeadPalaces(const ChartState& chart);
FamilyPalaces<Family::CutOffVoid> drDDTreePalaces(const ChartState& chart);

// "旬空" or the empty text.
StarList getEmptyDead(const ChartState& chart, PalaceNum DayNum);
// "截空" or the empty text.
StarList getDrDDTreeStar(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
