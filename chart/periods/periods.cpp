#include "chart/periods/periods.h"

namespace ziwei {

PalaceNum majorPeriodPalace(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum liftHourse, int age) {
  const int bureau = bureauNumber(FiveHourse);
  if (!liftHourse.valid() || age < bureau || age > bureau + 119) return {};
  const int n = (age - bureau) / 10;  // 0..11
  return runsForward(SEXTEXT) ? liftHourse + n : liftHourse - n;
}

PalaceNum minorPeriodPalace(Branch YN2, Sex SEX, int age) {
  if (!YN2.valid() || age < 1) return {};
  const PalaceNum start = kMinorStart[YN2.index()];
  const int steps = (age - 1) % 12;
  return SEX == Sex::Male ? start + steps : start - steps;
}

}  // namespace ziwei
