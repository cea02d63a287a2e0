#include "chart/periods/periods.h"

#include <array>
#include <cstddef>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

// Palace of age 1 by year branch (子辰申 戌, 丑巳酉 未, 寅午戌 辰, 卯未亥 丑).
constexpr std::array<PalaceNum, 12> kMinorStart = {11, 8, 5, 2, 11, 8, 5, 2, 11, 8, 5, 2};

}  // namespace

int majorPeriodStart(std::string_view FiveHourse, std::string_view SEXTEXT, PalaceNum liftHourse,
                     PalaceNum DayNum) {
  const int bureau = bureauNumber(FiveHourse);
  if (bureau == 0 || !isPalace(liftHourse) || !isPalace(DayNum)) return 0;
  int n = runsForward(SEXTEXT) ? DayNum - liftHourse : liftHourse - DayNum;
  if (n < 0) n += 12;
  return bureau + 10 * n;  // B .. B + 110
}

int minorPeriodFirstAge(std::int16_t YN2, std::int16_t SEX, PalaceNum DayNum) {
  if (!isPalace(YN2) || !isPalace(DayNum)) return 0;
  const int start = kMinorStart[static_cast<std::size_t>(YN2 - 1)];
  int age = SEX == 1 ? DayNum - start + 1 : start - DayNum + 1;
  if (age <= 0) age += 12;  // 1..12
  return age;
}

PalaceNum majorPeriodPalace(std::string_view FiveHourse, std::string_view SEXTEXT,
                            PalaceNum liftHourse, int age) {
  const int bureau = bureauNumber(FiveHourse);
  if (bureau == 0 || !isPalace(liftHourse) || age < bureau || age > bureau + 119) return 0;
  const int n = (age - bureau) / 10;  // 0..11
  return wrapPalace(runsForward(SEXTEXT) ? liftHourse + n : liftHourse - n);
}

PalaceNum minorPeriodPalace(std::int16_t YN2, std::int16_t SEX, int age) {
  if (!isPalace(YN2) || age < 1) return 0;
  const int start = kMinorStart[static_cast<std::size_t>(YN2 - 1)];
  const int steps = (age - 1) % 12;
  return wrapPalace(SEX == 1 ? start + steps : start - steps);
}

std::string getBigYear(std::string_view FiveHourse, std::string_view SEXTEXT, PalaceNum liftHourse,
                       PalaceNum DayNum) {
  const int start = majorPeriodStart(FiveHourse, SEXTEXT, liftHourse, DayNum);
  if (start == 0) return {};
  return std::to_string(start) + "-" + std::to_string(start + 9);
}

std::string getSmallYear(std::int16_t YN2, std::int16_t SEX, PalaceNum DayNum) {
  int age = minorPeriodFirstAge(YN2, SEX, DayNum);
  if (age == 0) return {};
  std::string ages;
  ages.reserve(9 * 4);
  for (int i = 0; i < 9; ++i, age += 12) {
    ages += ' ';
    ages += std::to_string(age);
  }
  return ages;
}

}  // namespace ziwei
