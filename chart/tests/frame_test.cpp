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

BirthSelection birth(std::string year, std::string month, std::string leap, std::string day,
                     std::string hour, bool male) {
  BirthSelection s;
  s.year = std::move(year);
  s.month = std::move(month);
  s.leap = std::move(leap);
  s.day = std::move(day);
  s.hour = std::move(hour);
  s.minute = "7";
  s.second = "59";
  s.male = male;
  return s;
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
  const ChartState first = castFrame(birth("1984", "1", "正", "1", "0", true));
  EXPECT_EQ(summary(first), "甲子 1,1 1984/1/1 0:7:59 m3 h1 s1陽男 L3 B3 火六局 Z10 F8");
  EXPECT_EQ(first.CycleStemIndex, 10);  // stem of the last sexagenary entry built
  EXPECT_EQ(summary(castFrame(birth("2000", "4", "閏", "20", "13", false))),
            "庚辰 7,5 2000/5/20 13:7:59 m7 h8 s2陽女 L12 B2 土五局 Z6 F12");

  const auto pair = [](const char* year, YearRange range) {
    const ChartState c = castFrame(birth(year, "1", "正", "1", "0", true), range);
    return c.YearStem + c.YearBranch;
  };
  EXPECT_EQ(pair("1888", {1800, 2100}), "戊子");
  EXPECT_EQ(pair("1800", {1800, 2100}), "庚申");  // below 1863 too
  EXPECT_EQ(pair("2100", {1912, 2100}), "庚申");
  // A padded leap flag still moves a leap month's second half on.
  EXPECT_EQ(castFrame(birth("1990", "4", " 閏 ", "16", "0", true)).BirthMonth, 5);
  for (const auto& [hour, branch] : {std::pair("23", 1), std::pair("1", 2), std::pair("13", 8)}) {
    EXPECT_EQ(castFrame(birth("1990", "1", "正", "1", hour, true)).HourNum, branch) << hour;
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

// Every field refuses what its selector would not offer, naming the field.
TEST(Frame, RefusesBadSelections) {
  const auto refusal = [](BirthSelection s, YearRange range = kSelectorYears) -> std::string {
    try {
      castFrame(s, range);
    } catch (const SelectionError& e) {
      return e.field() + "|" + e.given() + "|" + e.allowed();
    }
    return "accepted";
  };
  const BirthSelection good = birth("2000", "1", "正", "1", "0", true);
  const auto with = [&](std::string BirthSelection::*field, std::string text) {
    BirthSelection s = good;
    s.*field = std::move(text);
    return s;
  };
  using S = BirthSelection;
  const struct {
    std::string S::*field;
    const char* name;
    const char* allowed;
    std::vector<std::string> bad;
  } fields[] = {
      {&S::year,
       "year",
       "1912 to 2010",
       {"1911", "2011", "2100", "99999999999", "", "1e3", " 2000", "-2000", "２０００"}},
      {&S::month, "month", "1 to 12", {"0", "13", "12abc"}},
      {&S::leap, "leap", "正 or 閏", {"", "閏月", "　閏"}},  // ideographic blank
      {&S::day, "day", "1 to 30", {"0", "31", " "}},
      {&S::hour, "hour", "0 to 23", {"24", "+1"}},
      {&S::minute, "minute", "0 to 59", {"60", "5.5"}},
      {&S::second, "second", "0 to 59", {"60", "0x1"}},
  };
  for (const auto& f : fields) {
    for (const std::string& text : f.bad) {
      EXPECT_EQ(refusal(with(f.field, text)), std::string(f.name) + "|" + text + "|" + f.allowed);
    }
  }
  EXPECT_EQ(refusal(good), "accepted");
  EXPECT_EQ(refusal(with(&S::month, "012")), "accepted");
  EXPECT_EQ(refusal(with(&S::leap, "  正 ")), "accepted");
  EXPECT_EQ(refusal(with(&S::year, "2100"), {1912, 2100}), "accepted");
  EXPECT_EQ(refusal(with(&S::year, "2101"), {1912, 2100}), "year|2101|1912 to 2100");

  // The first bad field is the one named.
  BirthSelection twoBad = with(&BirthSelection::day, "99");
  twoBad.second = "99";
  EXPECT_EQ(refusal(twoBad), "day|99|1 to 30");

  try {
    castFrame(with(&BirthSelection::year, "1800"));
    ADD_FAILURE() << "1800 accepted";
  } catch (const SelectionError& e) {
    EXPECT_STREQ(e.what(), "year: \"1800\" is not allowed (allowed: 1912 to 2010)");
  }
  try {
    castFrame(with(&BirthSelection::leap, "x\n\"y"));
    ADD_FAILURE() << "bad leap flag accepted";
  } catch (const SelectionError& e) {
    EXPECT_STREQ(e.what(), "leap: \"x\\x0a\\\"y\" is not allowed (allowed: 正 or 閏)");
    EXPECT_EQ(e.given(), "x\n\"y");
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
  EXPECT_EQ(getLifeDStart(castFrame(birth("2000", "4", "閏", "16", "0", true))), 9);
  EXPECT_EQ(getLifeDStart(castFrame(birth("2000", "4", "閏", "15", "0", true))), 10);
}

}  // namespace
}  // namespace ziwei
