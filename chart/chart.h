#pragma once
// The one chart value every writer reads: cast(request) computes the frame,
// the twelve palaces with their stars, brightness, transformations, cycle
// spirits and period ages, the masters and, when the request has a target,
// the running periods. Numbers and enums only; a vocabulary names them.

#include <array>
#include <cstdint>
#include <optional>

#include "chart/frame/chart_state.h"
#include "chart/frame/numbering.h"
#include "chart/periods/running_periods.h"
#include "chart/request.h"
#include "chart/stars/cycles.h"
#include "chart/stars/palace_layout.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// One palace of a chart.
struct ChartPalace {
  PalaceNum palace;  // its position, the number of its branch
  Stem stem;         // the stem it carries in the birth year
  PalaceRole role = PalaceRole::Life;  // its name, counted from the Life palace
  bool body = false;                   // it is the Body palace (身宮)
  PalaceStars stars;
  // The entry of each cycle here, by Cycle.
  std::array<CycleStep, kCycleCount> cycles{};
  int majorPeriodFirstAge = 0;  // its major period runs from this age to age + 9
  int minorPeriodFirstAge = 0;  // the first of its nine minor-period ages, 1..12

  CycleStep cycle(Cycle which) const { return cycles[static_cast<std::size_t>(which)]; }
};

struct Chart {
  ChartRequest request;  // what it was cast from
  ChartState frame;
  Star lifeMaster{};  // 命主
  Star bodyMaster{};  // 身主
  PalaceNum douJun;   // 斗君
  std::array<ChartPalace, 12> palaces{};  // 子..亥
  std::optional<RunningPeriods> periods;  // when the request has a target

  const ChartPalace& operator[](PalaceNum palace) const { return palaces[palace.index()]; }
};

// Casts the chart of `request`. Throws std::invalid_argument, naming the
// field, for a birth field outside its range (any year 1..9999), and for a
// target before the birth's lunar year or outside the calendar's numbers.
Chart cast(const ChartRequest& request);
// The same into `chart`, reusing its room (for casting many in a row).
void cast(const ChartRequest& request, Chart& chart);

}  // namespace ziwei
