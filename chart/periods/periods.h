#pragma once

#include <array>

#include "chart/frame/numbering.h"

namespace ziwei {

// The major period of palace `DayNum`: the first age of its ten years (it
// runs to that age + 9), counted from the Life palace `liftHourse` forward
// for 陽男 and 陰女, backward for the others; 0 for no palace.
constexpr int getBigYear(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum liftHourse,
                         PalaceNum DayNum) {
  if (!liftHourse.valid() || !DayNum.valid()) return 0;
  const int d = DayNum.number() - liftHourse.number();
  const int n = floorMod(runsForward(SEXTEXT) ? d : -d, 12);
  return bureauNumber(FiveHourse) + 10 * n;  // B .. B + 110
}

// Palace of age 1 by year branch (子辰申 戌, 丑巳酉 未, 寅午戌 辰, 卯未亥 丑).
inline constexpr std::array<PalaceNum, 12> kMinorStart = [] {
  using namespace branch;
  return std::array<PalaceNum, 12>{Xu, Wei, Chen, Chou, Xu, Wei, Chen, Chou, Xu, Wei, Chen, Chou};
}();

// The first of the nine minor-period ages of palace `DayNum` (1..12, each
// next one 12 more), forward for a male, backward for a female from the
// palace of age 1 by the year branch `YN2`; 0 for no palace or branch.
constexpr int getSmallYear(Branch YN2, Sex SEX, PalaceNum DayNum) {
  if (!YN2.valid() || !DayNum.valid()) return 0;
  const int d = DayNum.number() - kMinorStart[YN2.index()].number();
  return floorMod(SEX == Sex::Male ? d : -d, 12) + 1;  // 1..12
}

// The other way round: the palace whose major period holds `age` (nowhere
// before the first period and past the twelfth), and the palace where the
// minor period of `age` (1 up, continued every twelve years past the nine
// ages shown) stands.
PalaceNum majorPeriodPalace(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum liftHourse, int age);
PalaceNum minorPeriodPalace(Branch YN2, Sex SEX, int age);

}  // namespace ziwei
