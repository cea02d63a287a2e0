#include "chart/periods/periods.h"

#include <array>

namespace ziwei {

namespace {

using namespace branch;

// Palace of age 1 by year branch (子辰申 戌, 丑巳酉 未, 寅午戌 辰, 卯未亥 丑).
constexpr std::array<PalaceNum, 12> kMinorStart = {Xu, Wei, Chen, Chou, Xu, Wei,
                                                   Chen, Chou, Xu, Wei, Chen, Chou};

}  // namespace

int getBigYear(Bureau FiveHourse, SexLabel SEXTEXT, PalaceNum liftHourse, PalaceNum DayNum) {
  if (!liftHourse.valid() || !DayNum.valid()) return 0;
  const int d = DayNum.number() - liftHourse.number();
  const int n = floorMod(runsForward(SEXTEXT) ? d : -d, 12);
  return bureauNumber(FiveHourse) + 10 * n;  // B .. B + 110
}

int getSmallYear(Branch YN2, Sex SEX, PalaceNum DayNum) {
  if (!YN2.valid() || !DayNum.valid()) return 0;
  const int d = DayNum.number() - kMinorStart[YN2.index()].number();
  return floorMod(SEX == Sex::Male ? d : -d, 12) + 1;  // 1..12
}

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
