#pragma once

#include <string>

#include "chart/frame/chart_state.h"

namespace ziwei {

// The HTML cell of palace `fateNUM` (1..12): stars, periods, name, cycles,
// growth phase, stem and branch.
std::string HourInStr(const ChartState& chart, PalaceNum fateNUM);

}  // namespace ziwei
