#pragma once

#include "chart/frame/chart_state.h"
#include "chart/frame/numbering.h"

namespace ziwei {

// The stem that palace `earthnum` carries in a year of stem `yearStem`
// (none outside the ranges). Counted from the 寅 palace, it is also the
// five-tigers rule: the stem of a month of that year whose branch is
// `earthnum` (month 1 at 寅).
Stem palaceStem(Stem yearStem, PalaceNum earthnum);

// The stem palace `earthnum` carries in the birth year.
Stem getSky(const ChartState& chart, PalaceNum earthnum);

// True when `DayNum` is the Body palace (from HourNum and MonthPalaceNum).
bool getBodyHourse(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
