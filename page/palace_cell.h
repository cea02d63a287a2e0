#pragma once

#include <string>

#include "chart/frame/chart_state.h"
#include "page/append_buffer.h"
#include "page/palace_layout.h"

namespace ziwei {

// The HTML cell of palace `fateNUM` (1..12): stars, periods, name, cycles,
// growth phase, stem and branch.
std::string HourInStr(const ChartState& chart, PalaceNum fateNUM);

// Appends the same cell to `out` from the palace's layout (see
// page/palace_layout.h), without building the families' texts. `fateNUM`
// must lie in 1..12.
void appendPalaceCell(std::string& out, const ChartState& chart, const PalaceLayout& palace,
                      PalaceNum fateNUM);
// The same through a buffer, in the buffer's encoding.
void appendPalaceCell(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                      PalaceNum fateNUM);

}  // namespace ziwei
