#pragma once

#include <cstddef>
#include <cstdint>

#include "chart/frame/chart_state.h"
#include "chart/stars/family_palaces.h"

namespace ziwei {

// The four twelve-spirit cycles. Each gives every palace one of its twelve
// names, counted from the cycle's start palace in its direction; a palace's
// entry is that count, 0..11 (the Doctor cycle's 博士 is 0, 力士 1, ...).
enum class Cycle : std::uint8_t { Doctor, General, YearFront, Growth };
inline constexpr std::size_t kCycleCount = 4;
inline constexpr std::size_t kCycleLength = 12;
using CycleStep = std::uint8_t;

// Doctor cycle 博士 ..., from the palace of 祿存 of the year stem, forward
// for 陽男 and 陰女.
CycleStep getDrTreeStar(const ChartState& chart, PalaceNum DayNum, SexLabel SEXTEXT);
// Year-front cycle 歲建 ... and General-star cycle 將星 ... for a year of
// branch `yearBranch`: the birth year's, or a running year's.
CycleStep getYearYFourStar(Branch yearBranch, PalaceNum DayNum);
CycleStep getYearSSFourStar(Branch yearBranch, PalaceNum DayNum);
// Growth-phase cycle 長生 ... by the bureau.
CycleStep getFiveLongLifeStar(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum DayNum);

// 天傷 and 天使, seven and five palaces backward from the Life palace
// `LiftNum` (nowhere for no palace).
FamilyPalaces<Family::LifeMarkers> getSkySSTreeStar(PalaceNum LiftNum);

}  // namespace ziwei
