#pragma once

#include "chart/frame/numbering.h"

namespace ziwei {

// The major period of palace `DayNum`: the first age of its ten years (it
// runs to that age + 9), counted from the Life palace `liftHourse` forward
// for 陽男 and 陰女, backward for the others; 0 for no palace.
int getBigYear(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum liftHourse, PalaceNum DayNum);

// The first of the nine minor-period ages of palace `DayNum` (1..12, each
// next one 12 more), forward for a male, backward for a female from the
// palace of age 1 by the year branch `YN2`; 0 for no palace or branch.
int getSmallYear(Branch YN2, Sex SEX, PalaceNum DayNum);

// The other way round: the palace whose major period holds `age` (nowhere
// before the first period and past the twelfth), and the palace where the
// minor period of `age` (1 up, continued every twelve years past the nine
// ages shown) stands.
PalaceNum majorPeriodPalace(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum liftHourse, int age);
PalaceNum minorPeriodPalace(Branch YN2, Sex SEX, int age);

}  // namespace ziwei
