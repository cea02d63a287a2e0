#pragma once

#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// `strStar` followed by its one-character brightness mark in palace `DayNum`
// ("◎", "○", "△", "Ｘ", or "ˉ" without a grade); the empty text when
// `DayNum` lies outside 1..12. `typeN` is accepted and not used.
std::string checkMainStarType(PalaceNum DayNum, std::string_view strStar, int typeN);
std::string checkSubStarType(PalaceNum DayNum, std::string_view strStar, int typeN);

// The mark alone, by star: what checkMainStarType and checkSubStarType append
// to the star's name; empty outside 1..12.
std::string_view mainStarMark(Star star, PalaceNum DayNum);
std::string_view minorStarMark(Star star, PalaceNum DayNum);

}  // namespace ziwei
