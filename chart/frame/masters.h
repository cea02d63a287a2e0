#pragma once

#include "chart/frame/chart_state.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// Life master (命主) by the branch of the Life palace.
Star getLiftStart(PalaceNum liftHourse);

// Body master (身主) by the year branch.
Star getBodyStart(const ChartState& chart);

// Dou Jun (斗君) palace (reads HourNum and MonthPalaceNum); nowhere when the
// month palace is none.
PalaceNum getLifeDStart(const ChartState& chart);

}  // namespace ziwei
