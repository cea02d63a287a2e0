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
  EXPECT_EQ(minor(1, Sex::Male, 11), 1);
  EXPECT_EQ(minor(1, Sex::Male, 12), 2);
  EXPECT_EQ(minor(1, Sex::Male, 10), 12);
  EXPECT_EQ(minor(1, Sex::Female, 11), 1);
  EXPECT_EQ(minor(1, Sex::Female, 10), 2);
  EXPECT_EQ(minor(1, Sex::Female, 12), 12);
  EXPECT_EQ(minor(4, Sex::Male, 2), 1);
  EXPECT_EQ(minor(4, Sex::Male, 1), 12);
  EXPECT_EQ(minor(4, Sex::Female, 2), 1);
  EXPECT_EQ(minor(4, Sex::Female, 3), 12);
  EXPECT_EQ(minor(6, Sex::Male, 8), 1);  // 巳 year starts at 未
  EXPECT_EQ(minor(7, Sex::Male, 5), 1);  // 午 year starts at 辰
  EXPECT_EQ(minor(0, Sex::Male, 5), 0);
  EXPECT_EQ(minor(13, Sex::Male, 5), 0);
  // And back: age 25 of a 子 year is in 戌 again, age 14 one on.
  EXPECT_EQ(minorPeriodPalace(Branch(1), Sex::Male, 25), PalaceNum(11));
  EXPECT_EQ(minorPeriodPalace(Branch(1), Sex::Female, 14), PalaceNum(10));
}

}  // namespace
}  // namespace ziwei
