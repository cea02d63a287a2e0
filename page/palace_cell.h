#pragma once

#include "chart/chart.h"
#include "page/append_buffer.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// Appends the HTML cell of palace `fateNUM` to `out`, in the buffer's
// encoding: its stars, periods, name, cycles, growth phase, stem and branch,
// named by `words` (zh-Hant for a Big5 buffer).
void HourInStr(AppendBuffer& out, const Chart& chart, PalaceNum fateNUM, const Vocabulary& words);

// The star row of a cell: its void, marker, minor and main stars, right to
// left. With `periods`, each main star's marks are followed by the decade's
// and the year's transformation marks (運祿 ... 流忌) it takes.
void appendStarRow(AppendBuffer& out, const ChartPalace& palace, const Vocabulary& words,
                   const RunningPeriods* periods);

// The four-transformation mark as the page shows it after a main star's
// name and brightness (the mark of none alone for none).
void appendTransformationMark(AppendBuffer& out, Transformation transformation,
                              const Vocabulary& words);

}  // namespace ziwei
