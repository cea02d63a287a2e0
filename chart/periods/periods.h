#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"

namespace ziwei {

// The major period of palace `DayNum`, e.g. "2-11"; empty for an unknown
// bureau name.
std::string getBigYear(std::string_view FiveHourse, std::string_view SEXTEXT, PalaceNum liftHourse,
                       PalaceNum DayNum);

// The nine minor-period ages of palace `DayNum`, each preceded by one blank,
// e.g. " 1 13 25 37 49 61 73 85 97"; empty for a year branch outside 1..12.
std::string getSmallYear(std::int16_t YN2, std::int16_t SEX, PalaceNum DayNum);

}  // namespace ziwei
