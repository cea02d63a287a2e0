#pragma once

#include <string>

#include "chart/frame/chart_state.h"

namespace ziwei {

// Life master (命主) by the branch of the Life palace.
std::string getLiftStart(PalaceNum liftHourse);

// Body master (身主) by the year branch (reads YearBranchNum).
std::string getBodyStart(const ChartState& chart);

// Dou Jun (斗君) palace (reads HourNum and MonthPalaceNum); 0 when the month
// palace lies outside 1..12.
PalaceNum getLifeDStart(const ChartState& chart);

}  // namespace ziwei
