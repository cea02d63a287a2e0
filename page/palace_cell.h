#pragma once

#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/periods/running_periods.h"
#include "chart/stars/palace_layout.h"
#include "chart/stars/year_stem_stars.h"
#include "page/append_buffer.h"

namespace ziwei {

// Appends the HTML cell of palace `fateNUM` (1..12) to `out`, in the
// buffer's encoding: its stars from the palace's layout, periods, name,
// cycles, growth phase, stem and branch.
void appendPalaceCell(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                      PalaceNum fateNUM);

// The star row of a cell: its void, marker, minor and main stars, right to
// left. With `periods`, each main star's marks are followed by the decade's
// and the year's transformation marks (運祿 ... 流忌) it takes.
void appendStarRow(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                   PalaceNum fateNUM, const RunningPeriods* periods);

// The same cell as text; the empty text outside 1..12.
std::string HourInStr(const ChartState& chart, PalaceNum fateNUM);

// The four-transformation mark as the page shows it after a main star's
// name and brightness ("ˉ" for none).
std::string_view transformationMark(Transformation transformation);

// `strW` (a main star's name, possibly followed by its brightness mark)
// followed by the star's transformation mark for the year stem; the empty
// text when YearStemNum is outside 1..10.
std::string getSkyOFirstStar(const ChartState& chart, std::string_view strW);

}  // namespace ziwei
