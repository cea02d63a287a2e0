#pragma once

#include <string>

#include "birth/lunar_birth.h"
#include "chart/frame/chart_state.h"
#include "chart/periods/running_periods.h"

namespace ziwei {

// The chart as one JSON object (UTF-8, no trailing line break):
//   {"input": {...the request as given...},
//    "frame": {...the chart frame, masters and Dou Jun...},
//    "palaces": [twelve palaces, palaces[i].num == i + 1],
//    "periods": {...the running periods at their target...}}
// the last only with `periods` (castPeriods of `chart`).
// Each palace lists its star groups in the order the star families give
// them, the same order and marks as its page cell. `chart` must have been
// cast from `request`. Throws std::invalid_argument when the name is not valid
// UTF-8.
std::string chartJson(const BirthRequest& request, const ChartState& chart,
                      const RunningPeriods* periods = nullptr);

// Appends the same document to `out` (nothing when it throws).
void appendChartJson(std::string& out, const BirthRequest& request, const ChartState& chart,
                     const RunningPeriods* periods = nullptr);

}  // namespace ziwei
