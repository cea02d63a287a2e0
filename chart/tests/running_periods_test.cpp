// Running periods: worked examples derived by hand from the rules, then the
// rules' invariants over many births and targets.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "birth/target_moment.h"
#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/periods/periods.h"
#include "chart/periods/running_periods.h"

namespace ziwei {
namespace {

using enum PeriodLevel;
using enum RunningStar;

std::size_t at(RunningStar s) { return static_cast<std::size_t>(s); }

// Palaces by number, as the worked examples count them.
template <class... N>
std::array<PalaceNum, sizeof...(N)> palaces(N... numbers) {
  return {PalaceNum(numbers)...};
}

struct Expected {
  PeriodLevel level;
  int palace, stem, branch;
};

void expectLevels(const RunningPeriods& p, std::initializer_list<Expected> rows) {
  for (const Expected& e : rows) {
    const LevelPeriod& l = p[e.level];
    const std::string where = "level " + std::to_string(static_cast<int>(e.level));
    EXPECT_TRUE(l.present) << where;
    EXPECT_EQ(l.palace, PalaceNum(e.palace)) << where;
    EXPECT_EQ(l.stemBranch, (StemBranch{Stem(e.stem), Branch(e.branch)})) << where;
  }
}

// 1984 (甲子) month 1 day 1 子 hour, male: 陽男, Life 寅, 火六局, 斗君 子;
// palace stems 丙寅 丁卯 戊辰 己巳 庚午 ...
// Target 2026-05-14 13:30 = lunar 2026 month 3 day 28, a 戊子 day; 2026 is 丙午.
//   age 2026 - 1984 + 1 = 43; decades run forward from 寅 by 6: 36-45 is 巳 (己巳).
//   minor: 子 year starts at 戌, male forward, (43 - 1) % 12 = 6 steps: 辰 (戊辰).
//   year: 午; month 1 at 斗君 子 counted from 午 = 午, month 3 two on: 申, 丙 year
//   gives 庚寅 for month 1, so 壬辰; day 28 is 27 on from 申: 亥, 戊子;
//   13:30 is 未 (8), 7 on from 亥: 午; 戊 day's 子 hour is 壬子, so 未 is 己未.
TEST(RunningPeriods, WorkedExampleOfAnAdult) {
  const ChartState chart = castFrame({1984, 1, false, 1, 0, 0, 0, true});
  const RunningPeriods p = castPeriods(chart, targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30}));
  EXPECT_EQ(p.age, 43);
  EXPECT_EQ(p.month, 3);
  EXPECT_FALSE(p.childhood);
  EXPECT_EQ(p.decadeFirstAge, 36);
  EXPECT_EQ(p.decadeLastAge, 45);
  expectLevels(p, {{Decade, 6, 6, 6},
                   {Minor, 5, 5, 5},
                   {Year, 7, 3, 7},
                   {Month, 9, 9, 5},
                   {Day, 12, 5, 1},
                   {Hour, 7, 6, 8}});
  // 己 decade: 武曲 祿, 貪狼 權, 天梁 科, 文曲 忌; 祿 午, 羊 未, 陀 巳, 魁 子,
  // 鉞 申, 昌 酉, 曲 巳; 巳 branch: 馬 亥, 鸞 卯 back 5 = 戌, 喜 opposite: 辰.
  const LevelPeriod& decade = p[Decade];
  EXPECT_EQ(decade.transformed,
            (std::array{Star::WuQu, Star::TanLang, Star::TianLiang, Star::WenQu}));
  EXPECT_EQ(decade.stars, palaces(1, 9, 7, 8, 6, 10, 6, 12, 11, 5));
  // 丙午 year: 祿 巳, 魁 亥, 鉞 酉, 昌 申, 曲 午, 馬 申, 鸞 酉, 喜 卯.
  EXPECT_EQ(p[Year].stars, palaces(12, 10, 6, 7, 5, 9, 7, 9, 10, 4));
  EXPECT_EQ(p[Year].transformed[0], Star::TianTong);
  // 戊子 day: 馬 寅, 鸞 卯, 喜 酉.
  EXPECT_EQ(p[Day].stars[at(Ma)], PalaceNum(3));
  EXPECT_EQ(p[Day].stars[at(Luan)], PalaceNum(4));
  EXPECT_EQ(p[Minor].stars, (std::array<PalaceNum, 10>{}));  // the minor period carries none
}

// 2000 leap month 4 day 20 未 hour, female: month 5, 陽女 (backward), Life 亥,
// 土五局 (5), 斗君 卯. 2003 (癸未) is age 4: the childhood decade's 夫妻宮,
// ten palaces forward of 亥: 酉; 庚 year stems give 酉 乙. Without a time
// there is no hour.
// 2023 (癸卯) is age 24: 15-24 is the second palace backward from 亥, 戌 (丙戌).
// Month 1 at 斗君 卯 counted from 卯: 午. Lunar 2023 leap month 2: day 1 is
// month 2 (未, 乙卯 by the five tigers: 癸 gives 甲寅); day 16 counts as month 3 (申), and day 16
// is 15 on: 亥.
TEST(RunningPeriods, WorkedExamplesOfChildhoodAndALeapMonth) {
  const ChartState chart = castFrame({2000, 4, true, 20, 13, 0, 0, false});
  const RunningPeriods child = castPeriods(chart, targetOnLunar({2003, 6, false, 1}));
  EXPECT_EQ(child.age, 4);
  EXPECT_TRUE(child.childhood);
  EXPECT_EQ(child.decadeFirstAge, 1);
  EXPECT_EQ(child.decadeLastAge, 4);
  expectLevels(child, {{Decade, 10, 2, 10}});
  EXPECT_FALSE(child[Hour].present);

  const RunningPeriods early = castPeriods(chart, targetOnLunar({2023, 2, true, 1}));
  const RunningPeriods late = castPeriods(chart, targetOnLunar({2023, 2, true, 16}));
  EXPECT_EQ(early.age, 24);
  expectLevels(early, {{Decade, 11, 3, 11}, {Year, 4, 10, 4}, {Month, 8, 2, 4}});
  EXPECT_EQ(late.month, 3);
  expectLevels(late, {{Month, 9, 3, 5}});
  EXPECT_EQ(late[Day].palace, PalaceNum(12));
}

TEST(RunningPeriods, SexagenaryDaysAndRefusals) {
  EXPECT_EQ(dayStemBranch({1900, 1, 31}), (StemBranch{Stem(1), Branch(5)}));  // 甲辰
  EXPECT_EQ(dayStemBranch({2000, 1, 1}), (StemBranch{Stem(5), Branch(7)}));   // 戊午
  EXPECT_EQ(dayStemBranch({2000, 3, 1}), (StemBranch{Stem(5), Branch(7)}));   // sixty days on

  const ChartState chart = castFrame({1984, 1, false, 1, 0, 0, 0, true});
  EXPECT_THROW(castPeriods(chart, targetOnSolar({1984, 2, 1})), std::invalid_argument);
  try {
    checkTargetAfterBirth(targetOnSolar({1984, 2, 1}), 1984);  // the eve of 1984's new year
    FAIL() << "accepted";
  } catch (const TargetError& e) {
    EXPECT_EQ(std::string(e.what()),
              "the target 1984-02-01 falls in lunar year 1983, before the birth year 1984 "
              "(allowed: from lunar year 1984 on, its first day 1984-02-02 to 2100-12-31)");
  }
  EXPECT_EQ(castPeriods(chart, targetOnSolar({1984, 2, 2})).age, 1);
  EXPECT_NO_THROW(checkTargetAfterBirth(targetOnSolar({1984, 2, 2}), 1984));
  TargetMoment made = targetOnSolar({2000, 1, 1});
  made.lunar.day = 31;
  EXPECT_THROW(castPeriods(chart, made), std::invalid_argument);
}

// Every level of every target: where the rules put it, whatever the birth.
TEST(RunningPeriods, InvariantsOverBirthsAndTargets) {
  using enum PalaceRole;
  const std::array<PalaceRole, 6> childhood = {Life, Wealth, Health, Spouse, Fortune, Career};
  int checked = 0;
  for (int year = 1912; year < 1972; year += 1) {
    const LunarBirth birth{year, 1 + year % 12, year % 7 == 0, 1 + year * 7 % 30, year * 5 % 24, 0,
                           0,    year % 2 == 0};
    const ChartState chart = castFrame(birth);
    const int bureau = bureauNumber(chart.BureauName);
    for (int age = 1; year + age - 1 < 2100; age += 1) {  // 2100 ends in month 12
      std::set<PalaceNum> months;
      for (int month = 1; month <= 12; ++month) {
        const int day = 1 + (age * 13 + month) % 29;
        const RunningPeriods p = castPeriods(
            chart,
            targetOnLunar({year + age - 1, month, false, day}, ClockOfDay{(age + month) % 24, 0}));
        ++checked;
        ASSERT_EQ(p.age, age);
        months.insert(p[Month].palace);
        const LevelPeriod& decade = p[Decade];
        if (age < bureau) {
          ASSERT_TRUE(p.childhood);
          EXPECT_EQ(roleOf(chart.LifePalaceNum, decade.palace),
                    childhood[static_cast<std::size_t>(age - 1)]);
        } else if (age <= bureau + 119) {
          const int start =
              getBigYear(chart.BureauName, chart.SexText, chart.LifePalaceNum, decade.palace);
          EXPECT_TRUE(start <= age && age <= start + 9) << year << " age " << age;
          EXPECT_EQ(p.decadeFirstAge, start);
        } else {
          EXPECT_FALSE(decade.present);
        }
        EXPECT_EQ(getSmallYear(chart.YearBranch, chart.SexNum, p[Minor].palace),
                  (age - 1) % 12 + 1);
        EXPECT_EQ(p[Day].palace, p[Month].palace + (day - 1));
        EXPECT_EQ(p[Hour].palace, p[Day].palace + (p[Hour].stemBranch.branch.number() - 1));
        for (const PeriodLevel running : {Decade, Year, Month, Day, Hour}) {
          const LevelPeriod& level = p[running];
          if (!level.present) continue;
          const auto& s = level.stars;
          EXPECT_EQ(s[at(Yang)], s[at(Lu)] + 1);
          EXPECT_EQ(s[at(Tuo)], s[at(Lu)] - 1);
          EXPECT_EQ(s[at(Xi)], s[at(Luan)] + 6);
          for (const PalaceNum star : s) EXPECT_TRUE(star.valid());
        }
      }
      EXPECT_EQ(months.size(), 12u) << year << " age " << age;
    }
  }
  EXPECT_GT(checked, 100000);
}

}  // namespace
}  // namespace ziwei
