#pragma once

#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// The nineteen stars placed by the year branch alone, 天哭 ... 咸池
// (reads YearBranchNum).
StarList getEarthSecondStar(const ChartState& chart, PalaceNum DayNum);

// 天才 (by the palace name `hourseW`) and 天壽 (from the Body palace
// `BodyHourse`) (reads YearBranchNum).
StarList getEarthSecondStar2(const ChartState& chart, PalaceNum DayNum, std::string_view hourseW,
                             PalaceNum BodyHourse);

}  // namespace ziwei
