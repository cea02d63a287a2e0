#pragma once

#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"

namespace ziwei {

// The two void branches of a stem-branch pair's decade ("戌亥" for 甲子), or
// the empty text when `SixStr` is not one of the sixty pairs.
std::string EmptyDead(std::string_view SixStr);

// "旬空" or the empty text (reads YearStem, YearBranch, YearBranchNum).
std::string getEmptyDead(const ChartState& chart, PalaceNum DayNum);

// "截空" or the empty text (reads YearStemNum).
std::string getDrDDTreeStar(const ChartState& chart, PalaceNum DayNum);

// The palace of "旬空" and of "截空" in one chart, 0 when it lies nowhere.
PalaceNum emptyDeadPalace(const ChartState& chart);
PalaceNum drDDTreePalace(const ChartState& chart);

}  // namespace ziwei
