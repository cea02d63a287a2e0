// Major and minor periods: worked examples.

#include <gtest/gtest.h>

#include "chart/periods/periods.h"

namespace ziwei {
namespace {

TEST(Periods, MajorPeriods) {
  EXPECT_EQ(getBigYear("水二局", "陽男", 1, 1), "2-11");
  EXPECT_EQ(getBigYear("水二局", "陽男", 1, 2), "12-21");
  EXPECT_EQ(getBigYear("水二局", "陽男", 1, 12), "112-121");
  EXPECT_EQ(getBigYear("水二局", "陰男", 3, 3), "2-11");
  EXPECT_EQ(getBigYear("水二局", "陰男", 3, 2), "12-21");
  EXPECT_EQ(getBigYear("水二局", "陰男", 3, 4), "112-121");
  EXPECT_EQ(getBigYear("火六局", "陰女", 12, 12), "6-15");
  EXPECT_EQ(getBigYear("火六局", "陰女", 12, 1), "16-25");
  EXPECT_EQ(getBigYear("火六局", "陰女", 12, 11), "116-125");
  EXPECT_EQ(getBigYear("木三局", "陽女", 5, 4), "13-22");  // counts like 陰男
  EXPECT_EQ(getBigYear("金四局", "陰女", 5, 6), "14-23");  // counts like 陽男
  EXPECT_EQ(getBigYear("土五局", "某", 5, 4), "15-24");    // any other label counts backwards
  EXPECT_EQ(getBigYear("土五", "陽男", 5, 4), "");
  EXPECT_EQ(getBigYear("土五局", "陽男", 0, 4), "");
  EXPECT_EQ(getBigYear("土五局", "陽男", 5, 13), "");
}

TEST(Periods, MinorPeriods) {
  EXPECT_EQ(getSmallYear(1, 1, 11), " 1 13 25 37 49 61 73 85 97");
  EXPECT_EQ(getSmallYear(1, 1, 12), " 2 14 26 38 50 62 74 86 98");
  EXPECT_EQ(getSmallYear(1, 1, 10), " 12 24 36 48 60 72 84 96 108");
  EXPECT_EQ(getSmallYear(1, 2, 11), " 1 13 25 37 49 61 73 85 97");
  EXPECT_EQ(getSmallYear(1, 2, 10), " 2 14 26 38 50 62 74 86 98");
  EXPECT_EQ(getSmallYear(1, 2, 12), " 12 24 36 48 60 72 84 96 108");
  EXPECT_EQ(getSmallYear(4, 1, 2).substr(0, 3), " 1 ");
  EXPECT_EQ(getSmallYear(4, 1, 1).substr(0, 4), " 12 ");
  EXPECT_EQ(getSmallYear(4, 2, 2).substr(0, 3), " 1 ");
  EXPECT_EQ(getSmallYear(4, 2, 3).substr(0, 4), " 12 ");
  EXPECT_EQ(getSmallYear(6, 1, 8).substr(0, 3), " 1 ");  // 巳 year starts at 未
  EXPECT_EQ(getSmallYear(7, 1, 5).substr(0, 3), " 1 ");  // 午 year starts at 辰
  EXPECT_EQ(getSmallYear(0, 1, 5), "");
  EXPECT_EQ(getSmallYear(13, 1, 5), "");
}

}  // namespace
}  // namespace ziwei
