#pragma once

#include <optional>
#include <string>

#include "birth/birth_time.h"
#include "calendar/gregorian.h"
#include "chart/chart.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// What the record of a birth adds to the chart's own request: the Gregorian
// date it was converted from, and how the lunar birth was found from the
// birth time as recorded.
struct ChartRecord {
  std::optional<calendar::GregorianDate> solar;
  const BirthTimeSteps* steps = nullptr;
};

// The chart as one JSON object (UTF-8, no trailing line break):
//   {"input": {...the request as given...},
//    "options": {...the rules cast by other than their defaults...},
//    "frame": {...the chart frame, masters and Dou Jun...},
//    "palaces": [twelve palaces, palaces[i].num == i + 1],
//    "periods": {...the running periods at their target...}}
// "options" only when a rule is not its default, "periods" only for a chart
// cast with a target. Each palace ends with its "relations" (三方四正,
// flanks, flights, self and inward transformations), and so do the levels
// with stems, as a list by palace. Each palace lists its star groups in the order the
// star families give them, the same order and marks as its page cell; the
// names are those of `words` (keys and the user's name as they are). With
// record.steps "input" also records the steps: "clock", "place", "zone",
// "utcOffset", "dstRemoved", "standardTime", "longitude",
// "meanTimeCorrection", "equationOfTime", "trueSolarTime", "lateZi",
// "lateZiMoved" and "hourBranch" (null where a step does not apply). Throws
// std::invalid_argument when the name is not valid UTF-8, and for `words`
// other than the vocabularies of vocabularyOf.
std::string chartJson(const Chart& chart, const ChartRecord& record = {},
                      const Vocabulary& words = kZhHant);

// Appends the same document to `out` (nothing when it throws).
void appendChartJson(std::string& out, const Chart& chart, const ChartRecord& record = {},
                     const Vocabulary& words = kZhHant);

}  // namespace ziwei
