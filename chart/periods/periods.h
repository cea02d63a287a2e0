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

// The same periods as numbers: the first age of the major period (it runs to
// that age + 9), and the first of the nine minor-period ages (1..12, each
// next one 12 more); 0 where the texts above are empty.
int majorPeriodStart(std::string_view FiveHourse, std::string_view SEXTEXT, PalaceNum liftHourse,
                     PalaceNum DayNum);
int minorPeriodFirstAge(std::int16_t YN2, std::int16_t SEX, PalaceNum DayNum);

// The other way round: the palace whose major period holds `age` (0 before
// the first period, past the twelfth and for an unknown bureau name), and
// the palace where the minor period of `age` (1 up, continued every twelve
// years past the nine ages shown) stands (0 for a year branch outside 1..12).
PalaceNum majorPeriodPalace(std::string_view FiveHourse, std::string_view SEXTEXT,
                            PalaceNum liftHourse, int age);
PalaceNum minorPeriodPalace(std::int16_t YN2, std::int16_t SEX, int age);

// The nine minor-period ages of palace `DayNum`, each preceded by one blank,
// e.g. " 1 13 25 37 49 61 73 85 97"; empty for a year branch outside 1..12.
std::string getSmallYear(std::int16_t YN2, std::int16_t SEX, PalaceNum DayNum);

}  // namespace ziwei
