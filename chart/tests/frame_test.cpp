// The chart frame, its cyclic names and the masters: worked examples.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

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
  constexpr std::array<std::string_view, 4> kSexLabels = {"陽男", "陰男", "陽女", "陰女"};
  return std::string(nameOf(c.YearStem)) + std::string(nameOf(c.YearBranch)) + " " +
         n(c.YearStem.number()) + "," + n(c.YearBranch.number()) + " " + n(c.BirthYear) + "/" +
         n(c.BirthMonth) + "/" + n(c.BirthDay) + " " + n(c.BirthHour) + ":" + n(c.BirthMinute) +
         ":" + n(c.BirthSecond) + " m" + n(c.MonthPalaceNum.number()) + " h" +
         n(c.HourNum.number()) + " s" + n(static_cast<int>(c.SexNum)) +
         std::string(kSexLabels[static_cast<std::size_t>(c.SexText)]) + " L" +
         n(c.LifePalaceNum.number()) + " B" + n(c.BodyPalaceNum.number()) + " b" +
         n(bureauNumber(c.BureauName)) + " Z" + n(c.ZiWeiNum.number()) + " F" +
         n(c.TianFuNum.number());
}

// The sweep derives the frame for every selection 1912..2100 with even hours
// (the leap months' halves and 天府 opposite 紫微 among it); these pin worked
// examples, years outside it, odd hours and blanks.
TEST(Frame, WorkedExamplesAndEdges) {
  EXPECT_EQ(summary(castFrame(birth(1984, 1, false, 1, 0, true))),
            "甲子 1,1 1984/1/1 0:7:59 m3 h1 s1陽男 L3 B3 b6 Z10 F8");
  EXPECT_EQ(summary(castFrame(birth(2000, 4, true, 20, 13, false))),
            "庚辰 7,5 2000/5/20 13:7:59 m7 h8 s2陽女 L12 B2 b5 Z6 F12");

  const auto pair = [](int year) {
    const ChartState c = castFrame(birth(year, 1, false, 1, 0, true));
    return std::string(nameOf(c.YearStem)) + std::string(nameOf(c.YearBranch));
  };
  EXPECT_EQ(pair(1888), "戊子");
  EXPECT_EQ(pair(1800), "庚申");  // below 1863 too
  EXPECT_EQ(pair(2100), "庚申");
  for (const auto& [hour, branch] : {std::pair(23, 1), std::pair(1, 2), std::pair(13, 8)}) {
    EXPECT_EQ(castFrame(birth(1990, 1, false, 1, hour, true)).HourNum, Branch(branch)) << hour;
  }
}

TEST(Frame, ZiWeiAndTianFu) {
  EXPECT_EQ(ziWeiPalace(Bureau::Water, 1), PalaceNum(2));
  EXPECT_EQ(ziWeiPalace(Bureau::Wood, 25), PalaceNum(1));
  EXPECT_EQ(ziWeiPalace(Bureau::Fire, 30), PalaceNum(7));
  EXPECT_FALSE(ziWeiPalace(Bureau::Fire, 31).valid());
  EXPECT_FALSE(tianFuPalace(PalaceNum()).valid());
}

// A palace, a stem and a branch are different things: none converts from an
// int or from another without saying so.
static_assert(!std::is_convertible_v<int, PalaceNum> && !std::is_convertible_v<int, Stem> &&
              !std::is_convertible_v<int, Branch>);
static_assert(!std::is_convertible_v<PalaceNum, Stem> &&
              !std::is_convertible_v<PalaceNum, Branch> &&
              !std::is_convertible_v<Branch, PalaceNum> && !std::is_convertible_v<Stem, Branch>);
static_assert(!std::is_invocable_v<decltype(palaceStem), PalaceNum, PalaceNum>);
static_assert(std::is_invocable_v<decltype(palaceStem), Stem, PalaceNum>);

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

TEST(CyclicNames, PalaceStemsRolesAndBody) {
  // Palace stems of a year stem, palaces 子 .. 亥 (寅 takes the first).
  const auto stems = [](int yearStem) {
    std::string all;
    for (const PalaceNum p : kPalaces) all += nameOf(palaceStem(Stem(yearStem), p));
    return all;
  };
  EXPECT_EQ(stems(1), "丙丁丙丁戊己庚辛壬癸甲乙");
  EXPECT_EQ(stems(9), "壬癸壬癸甲乙丙丁戊己庚辛");
  EXPECT_EQ(stems(10), "甲乙甲乙丙丁戊己庚辛壬癸");
  EXPECT_FALSE(palaceStem(Stem(), PalaceNum(1)).valid());

  // From the Life palace backwards round the ring: 命宮, 兄弟宮, 夫妻宮 ...
  for (int step = 0; step < 12; ++step) {
    EXPECT_EQ(roleOf(PalaceNum(3), PalaceNum(3) - step), static_cast<PalaceRole>((12 - step) % 12))
        << step;
  }
  EXPECT_EQ(roleOf(PalaceNum(12), PalaceNum(1)), PalaceRole::Parents);
  EXPECT_EQ(roleOf(PalaceNum(1), PalaceNum(12)), PalaceRole::Siblings);
  EXPECT_EQ(palaceOfRole(PalaceNum(1), PalaceRole::Siblings), PalaceNum(12));

  ChartState c;
  c.MonthPalaceNum = PalaceNum(7);
  c.HourNum = Branch(8);
  for (const PalaceNum p : kPalaces)
    EXPECT_EQ(getBodyHourse(c, p), p == PalaceNum(2)) << p.number();
}

TEST(Masters, LifeBodyAndDouJun) {
  EXPECT_EQ(getLiftStart(PalaceNum(7)), Star::PoJun);
  EXPECT_EQ(getLiftStart(PalaceNum(1)), Star::TanLang);
  EXPECT_EQ(getLiftStart(PalaceNum(11)), Star::LuCun);
  ChartState c;
  for (const auto& [branch, master] :
       {std::pair(1, Star::HuoXing), std::pair(7, Star::HuoXing), std::pair(12, Star::TianJi)}) {
    c.YearBranch = Branch(branch);
    EXPECT_EQ(getBodyStart(c), master) << branch;
  }

  const auto douJun = [](int hour, int month) {
    ChartState s;
    s.HourNum = Branch(hour);
    s.MonthPalaceNum = PalaceNum(month);
    return getLifeDStart(s).number();
  };
  EXPECT_EQ(douJun(1, 3), 1);
  EXPECT_EQ(douJun(1, 4), 12);
  EXPECT_EQ(douJun(12, 1), 2);
  EXPECT_EQ(douJun(5, 8), 12);
  EXPECT_EQ(douJun(1, 0), 0);
  // A leap month from its 16th day counts as the next month here too.
  EXPECT_EQ(getLifeDStart(castFrame(birth(2000, 4, true, 16, 0, true))), PalaceNum(9));
  EXPECT_EQ(getLifeDStart(castFrame(birth(2000, 4, true, 15, 0, true))), PalaceNum(10));
}

}  // namespace
}  // namespace ziwei
