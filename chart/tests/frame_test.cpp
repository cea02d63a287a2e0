// The chart frame, its cyclic names and the masters: worked examples.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"

namespace ziwei {
namespace {

LunarBirth birth(int year, int month, bool leap, int day, int hour, bool male) {
  return {year, month, leap, day, hour, 7, 59, male};
}

// The frame in one line: pair, numbers, date and time, month palace, hour
// branch, sex, Life and Body palaces, bureau, Zi Wei and Tian Fu.
std::string summary(const ChartState& c) {
  const auto n = [](auto v) { return std::to_string(v); };
  return c.YearStem + c.YearBranch + " " + n(c.YearStemNum) + "," + n(c.YearBranchNum) + " " +
         n(c.BirthYear) + "/" + n(c.BirthMonth) + "/" + n(c.BirthDay) + " " + n(c.BirthHour) + ":" +
         n(c.BirthMinute) + ":" + n(c.BirthSecond) + " m" + n(c.MonthPalaceNum) + " h" +
         n(c.HourNum) + " s" + n(c.SexNum) + c.SexText + " L" + n(c.LifePalaceNum) + " B" +
         n(c.BodyPalaceNum) + " " + c.BureauName + " Z" + n(c.ZiWeiNum) + " F" + n(c.TianFuNum);
}

// The sweep derives the frame for every selection 1912..2100 with even hours;
// these pin worked examples, years outside it, odd hours and blanks.
TEST(Frame, WorkedExamplesAndEdges) {
  const ChartState first = castFrame(birth(1984, 1, false, 1, 0, true));
  EXPECT_EQ(summary(first), "甲子 1,1 1984/1/1 0:7:59 m3 h1 s1陽男 L3 B3 火六局 Z10 F8");
  EXPECT_EQ(first.CycleStemIndex, 10);  // stem of the last sexagenary entry built
  EXPECT_EQ(summary(castFrame(birth(2000, 4, true, 20, 13, false))),
            "庚辰 7,5 2000/5/20 13:7:59 m7 h8 s2陽女 L12 B2 土五局 Z6 F12");

  const auto pair = [](int year) {
    const ChartState c = castFrame(birth(year, 1, false, 1, 0, true));
    return c.YearStem + c.YearBranch;
  };
  EXPECT_EQ(pair(1888), "戊子");
  EXPECT_EQ(pair(1800), "庚申");  // below 1863 too
  EXPECT_EQ(pair(2100), "庚申");
  // A leap month's second half counts as the next month.
  EXPECT_EQ(castFrame(birth(1990, 4, true, 16, 0, true)).BirthMonth, 5);
  EXPECT_EQ(castFrame(birth(1990, 12, true, 16, 0, true)).BirthMonth, 1);
  EXPECT_EQ(castFrame(birth(1990, 4, true, 15, 0, true)).BirthMonth, 4);
  for (const auto& [hour, branch] : {std::pair(23, 1), std::pair(1, 2), std::pair(13, 8)}) {
    EXPECT_EQ(castFrame(birth(1990, 1, false, 1, hour, true)).HourNum, branch) << hour;
  }
}

TEST(Frame, ZiWeiAndTianFu) {
  EXPECT_EQ(ziWeiPalace("水二局", 1), 2);
  EXPECT_EQ(ziWeiPalace("木三局", 25), 1);
  EXPECT_EQ(ziWeiPalace("火六局", 30), 7);
  EXPECT_EQ(ziWeiPalace("火六局", 31), 0);
  EXPECT_EQ(ziWeiPalace("火六", 1), 0);
  EXPECT_EQ(tianFuPalace(3), 3);
  EXPECT_EQ(tianFuPalace(9), 9);
  EXPECT_EQ(tianFuPalace(6), 12);
  EXPECT_EQ(tianFuPalace(1), 5);
  EXPECT_EQ(tianFuPalace(7), 11);
  EXPECT_EQ(tianFuPalace(0), 0);
}

// Numbers outside their fields are refused, not looked up.
TEST(Frame, RefusesNumbersOutsideTheirFields) {
  for (int LunarBirth::*field : {&LunarBirth::month, &LunarBirth::day, &LunarBirth::hour,
                                 &LunarBirth::minute, &LunarBirth::second, &LunarBirth::year}) {
    LunarBirth bad;
    bad.*field = -1;
    EXPECT_THROW(castFrame(bad), std::invalid_argument);
    bad.*field = 100000;
    EXPECT_THROW(castFrame(bad), std::invalid_argument);
  }
}

TEST(CyclicNames, Lookups) {
  EXPECT_EQ(getAnimal(0), "");
  EXPECT_EQ(getAnimal(1), "鼠");
  EXPECT_EQ(getAnimal(12), "豬");
  EXPECT_EQ(getAnimal(13), "");
  EXPECT_EQ(getSKYWORD(1), "甲");
  EXPECT_EQ(getSKYWORD(10), "癸");
  EXPECT_EQ(getSKYWORD(11), "");
  EXPECT_EQ(getEARTHWORD(12), "亥");
  EXPECT_EQ(getEARTHWORD(-1), "");

  // Palace stems of a year stem, palaces 子 .. 亥 (寅 takes the first).
  const auto stems = [](std::int16_t yearStem) {
    ChartState c;
    c.YearStemNum = yearStem;
    std::string all;
    for (PalaceNum p = 0; p <= 13; ++p) all += getSky(c, p);
    return all;
  };
  EXPECT_EQ(stems(0), "");  // no chart yet
  EXPECT_EQ(stems(1), "丙丁丙丁戊己庚辛壬癸甲乙");
  EXPECT_EQ(stems(9), "壬癸壬癸甲乙丙丁戊己庚辛");
  EXPECT_EQ(stems(10), "甲乙甲乙丙丁戊己庚辛壬癸");

  std::string ring;  // from the Life palace backwards round the ring
  for (int step = 0; step < 12; ++step)
    ring += getOtherHourse(3, static_cast<PalaceNum>((14 - step) % 12 + 1));
  EXPECT_EQ(ring, "命宮兄弟宮夫妻宮子女宮財帛宮疾厄宮遷移宮僕役宮官祿宮田宅宮福德宮父母宮");
  EXPECT_EQ(getOtherHourse(12, 1), "父母宮");
  EXPECT_EQ(getOtherHourse(1, 12), "兄弟宮");
  EXPECT_EQ(getOtherHourse(0, 3), "");

  ChartState c;
  c.MonthPalaceNum = 7;
  c.HourNum = 8;
  for (PalaceNum p = 1; p <= 12; ++p) EXPECT_EQ(getBodyHourse(c, p), p == 2 ? "身宮" : "") << p;
}

TEST(Masters, LifeBodyAndDouJun) {
  EXPECT_EQ(getLiftStart(7), "破軍");
  EXPECT_EQ(getLiftStart(1), "貪狼");
  EXPECT_EQ(getLiftStart(11), "祿存");
  EXPECT_EQ(getLiftStart(0), "");
  ChartState c;
  EXPECT_EQ(getBodyStart(c), "");
  c.YearBranchNum = 1;
  EXPECT_EQ(getBodyStart(c), "火星");
  c.YearBranchNum = 7;
  EXPECT_EQ(getBodyStart(c), "火星");
  c.YearBranchNum = 12;
  EXPECT_EQ(getBodyStart(c), "天機");

  const auto douJun = [](PalaceNum hour, PalaceNum month) {
    ChartState s;
    s.HourNum = hour;
    s.MonthPalaceNum = month;
    return getLifeDStart(s);
  };
  EXPECT_EQ(douJun(1, 3), 1);
  EXPECT_EQ(douJun(1, 4), 12);
  EXPECT_EQ(douJun(12, 1), 2);
  EXPECT_EQ(douJun(5, 8), 12);
  EXPECT_EQ(douJun(1, 0), 0);
  EXPECT_EQ(douJun(1, 13), 0);
  // A leap month from its 16th day counts as the next month here too.
  EXPECT_EQ(getLifeDStart(castFrame(birth(2000, 4, true, 16, 0, true))), 9);
  EXPECT_EQ(getLifeDStart(castFrame(birth(2000, 4, true, 15, 0, true))), 10);
}

}  // namespace
}  // namespace ziwei
