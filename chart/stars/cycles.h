#pragma once

#include <array>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// Each returns the one name of its twelve-spirit cycle that falls in the
// palace, or the empty text.

// Doctor cycle 博士 ... (reads YearStemNum); empty for an unknown sex label.
std::string getDrTreeStar(const ChartState& chart, PalaceNum DayNum, std::string_view SEXTEXT);
// Year-front cycle 歲建 ... (reads YearBranchNum).
std::string getYearYFourStar(const ChartState& chart, PalaceNum DayNum);
// General-star cycle 將星 ... (reads YearBranchNum).
std::string getYearSSFourStar(const ChartState& chart, PalaceNum DayNum);
// Growth-phase cycle 長生 ...; empty for an unknown bureau name.
std::string getFiveLongLifeStar(std::string_view FiveHourse, std::string_view SEXTEXT,
                                PalaceNum DayNum);
// The same four names as views of the cycles' constant tables.
std::string_view doctorName(const ChartState& chart, PalaceNum DayNum, std::string_view SEXTEXT);
std::string_view yearFrontName(const ChartState& chart, PalaceNum DayNum);
std::string_view generalName(const ChartState& chart, PalaceNum DayNum);
std::string_view growthName(std::string_view FiveHourse, std::string_view SEXTEXT,
                            PalaceNum DayNum);
// The Year-front and General-star names for a year of branch `yearBranch`
// (1..12; the empty text otherwise), as a running year carries them.
std::string_view yearFrontName(int yearBranch, PalaceNum DayNum);
std::string_view generalName(int yearBranch, PalaceNum DayNum);

// 天傷 and 天使, seven and five palaces backward from the Life palace
// `LiftNum` (0 when it lies outside 1..12), and the same palace by palace.
FamilyPalaces<Family::LifeMarkers> skySSTreePalaces(PalaceNum LiftNum);
StarList getSkySSTreeStar(PalaceNum DayNum, PalaceNum LiftNum);

}  // namespace ziwei
