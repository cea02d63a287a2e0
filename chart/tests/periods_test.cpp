// Major and minor periods: the minor starts, inputs outside the ring and the
// way back from an age.

#include <gtest/gtest.h>

#include "chart/periods/periods.h"

namespace ziwei {
namespace {

using enum Bureau;
using enum SexLabel;

int major(Bureau bureau, SexLabel label, int life, int palace) {
  return getBigYear(bureau, label, PalaceNum(life), PalaceNum(palace));
}
int minor(int yearBranch, Sex sex, int palace) {
  return getSmallYear(Branch(yearBranch), sex, PalaceNum(palace));
}

TEST(Periods, MajorPeriodsOutsideTheRingAndBack) {
  // The sweep checks every valid input against the rule; these are outside
  // the ring, and the way back from an age.
  EXPECT_EQ(major(Earth, YangMale, 0, 4), 0);
  EXPECT_EQ(major(Earth, YangMale, 5, 13), 0);
  // And back: the palace of an age.
  EXPECT_EQ(majorPeriodPalace(Fire, YinFemale, PalaceNum(12), 16), PalaceNum(1));
  EXPECT_EQ(majorPeriodPalace(Water, YinMale, PalaceNum(3), 121), PalaceNum(4));
  EXPECT_FALSE(majorPeriodPalace(Water, YinMale, PalaceNum(3), 122).valid());
  EXPECT_FALSE(majorPeriodPalace(Fire, YinMale, PalaceNum(3), 5).valid());
}

TEST(Periods, MinorPeriods) {
  using enum Sex;
  // {year branch, sex, palace, first age}: a 子 year starts at 戌, a 卯 year
  // at 丑, a 巳 year at 未, a 午 year at 辰; males forward, females backward;
  // no year branch, no age.
  const struct {
    int yearBranch;
    Sex sex;
    int palace, age;
  } rows[] = {{1, Male, 11, 1},   {1, Male, 12, 2},    {1, Male, 10, 12}, {1, Female, 11, 1},
              {1, Female, 10, 2}, {1, Female, 12, 12}, {4, Male, 2, 1},   {4, Male, 1, 12},
              {4, Female, 2, 1},  {4, Female, 3, 12},  {6, Male, 8, 1},   {7, Male, 5, 1},
              {0, Male, 5, 0},    {13, Male, 5, 0}};
  for (const auto& r : rows) {
    EXPECT_EQ(minor(r.yearBranch, r.sex, r.palace), r.age) << r.yearBranch << " " << r.palace;
  }
  // And back: age 25 of a 子 year is in 戌 again, age 14 one on.
  EXPECT_EQ(minorPeriodPalace(Branch(1), Male, 25), PalaceNum(11));
  EXPECT_EQ(minorPeriodPalace(Branch(1), Female, 14), PalaceNum(10));
}

}  // namespace
}  // namespace ziwei
