// Exhaustive checks: the frame of every birth the command line accepts, each
// star family's table against the rule it follows for every input the frame
// can give it, and the one placement pass against the families.

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/numbering.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/day_stars.h"
#include "chart/stars/hour_month_stars.h"
#include "chart/stars/main_stars.h"
#include "chart/stars/palace_layout.h"
#include "chart/stars/voids.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {
namespace {

int wrap(int n) { return PalaceNum::wrap(n).number(); }

ChartState chartOf(int stem, int branch, int month = 3, int hour = 1, int day = 1) {
  ChartState c;
  c.YearStem = Stem(stem);
  c.YearBranch = Branch(branch);
  c.MonthPalaceNum = PalaceNum(month);
  c.HourNum = Branch(hour);
  c.BirthDay = static_cast<std::int16_t>(day);
  return c;
}

// Expects family F placed at the palaces numbered `expected` (its stars in
// their order; 0 for nowhere).
template <Family F>
void expectPlaced(const FamilyPalaces<F>& placed, const std::vector<int>& expected,
                  const std::string& where) {
  static constexpr auto kFamily = familyStars<F>();
  ASSERT_EQ(expected.size(), kFamily.size());
  for (std::size_t i = 0; i < kFamily.size(); ++i) {
    EXPECT_EQ(placed[i].number(), expected[i]) << where << " star " << static_cast<int>(kFamily[i]);
  }
}

// A twelve-spirit cycle gives every palace one of its twelve entries, each
// once: the first at `start`, the second one step on in its direction.
template <class StepOf>
void expectCycle(StepOf stepOf, int start, bool forward, const std::string& where) {
  std::set<int> steps;
  for (const PalaceNum p : kPalaces) steps.insert(stepOf(p));
  EXPECT_EQ(steps.size(), 12u) << where;
  EXPECT_EQ(*steps.rbegin(), 11) << where;
  EXPECT_EQ(stepOf(PalaceNum(start)), 0) << where;
  EXPECT_EQ(stepOf(PalaceNum(start) + (forward ? 1 : -1)), 1) << where;
}

constexpr std::array<SexLabel, 4> kLabels = {SexLabel::YangMale, SexLabel::YinMale,
                                             SexLabel::YangFemale, SexLabel::YinFemale};

TEST(Sweep, EveryBirthGivesItsFrame) {
  long charts = 0;
  for (int year = 1912; year <= 2100; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (const bool leap : {false, true}) {
        for (int day = 1; day <= 30; ++day) {
          for (int hour = 0; hour < 24; hour += 2) {
            for (const bool male : {true, false}) {
              const ChartState c = castFrame({year, month, leap, day, hour, 0, 0, male});
              ++charts;
              const int lunarMonth = leap && day > 15 ? month % 12 + 1 : month;
              const int m = c.MonthPalaceNum.number();
              const int h = c.HourNum.number();
              const int zf = c.ZiWeiNum.number() + c.TianFuNum.number();
              const bool yang = c.YearStem.number() % 2 == 1;
              const bool ok = c.YearStem.number() == floorMod(year - 4, 10) + 1 &&
                              c.YearBranch.number() == floorMod(year - 4, 12) + 1 &&
                              c.BirthMonth == lunarMonth && m == wrap(lunarMonth + 2) &&
                              h == hour / 2 + 1 && c.SexNum == (male ? Sex::Male : Sex::Female) &&
                              c.SexText == kLabels[(yang ? 0u : 1u) + (male ? 0u : 2u)] &&
                              c.LifePalaceNum.number() == wrap(m - h + 1) &&
                              c.BodyPalaceNum.number() == wrap(m + h - 1) &&
                              c.ZiWeiNum == ziWeiByRule(bureauNumber(c.BureauName), day) &&
                              (zf == 6 || zf == 18);
              ASSERT_TRUE(ok) << year << "/" << month << (leap ? " leap" : "") << "/" << day << " "
                              << hour << (male ? " male" : " female");
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(charts, 189L * 12 * 2 * 30 * 12 * 2);
}

// The main series by Zi Wei position, rows of the placement chart: 紫微,
// 天機, 太陽, 武曲, 天同, 廉貞, 天府, 太陰, 貪狼, 巨門, 天相, 天梁, 七殺, 破軍.
TEST(Families, MainSeries) {
  const std::array<std::array<int, 14>, 3> rows = {{
      {1, 12, 10, 9, 8, 5, 5, 6, 7, 8, 9, 10, 11, 3},
      {2, 1, 11, 10, 9, 6, 4, 5, 6, 7, 8, 9, 10, 2},
      {6, 5, 3, 2, 1, 10, 12, 1, 2, 3, 4, 5, 6, 10},
  }};
  for (const auto& row : rows) {
    const PalaceNum z(row[0]);
    const std::string where = "Zi Wei " + std::to_string(row[0]);
    expectPlaced<Family::ZiWei>(ziWeiPalaces(z), {row[0]}, where);
    expectPlaced<Family::ZiWeiSeries>(getFirstSubStar(z), {row[1], row[2], row[3], row[4], row[5]},
                                      where);
    expectPlaced<Family::TianFu>(getSkyStar(z), {row[6]}, where);
    expectPlaced<Family::TianFuSeries>(getSkySubStar(PalaceNum(row[6])),
                                       {row[7], row[8], row[9], row[10], row[11], row[12], row[13]},
                                       where);
  }
  for (int z = 1; z <= 12; ++z) {
    const int f = getSkyStar(PalaceNum(z))[0].number();
    EXPECT_TRUE(z + f == 6 || z + f == 18) << z;
    expectPlaced<Family::ZiWeiSeries>(
        getFirstSubStar(PalaceNum(z)),
        {wrap(z - 1), wrap(z - 3), wrap(z - 4), wrap(z - 5), wrap(z - 8)}, std::to_string(z));
  }
  expectPlaced<Family::ZiWeiSeries>(getFirstSubStar(PalaceNum()), {0, 0, 0, 0, 0}, "none");
  expectPlaced<Family::TianFu>(getSkyStar(PalaceNum(13)), {0}, "none");
  expectPlaced<Family::TianFu>(getSkyStar(PalaceNum()), {0}, "none");
  expectPlaced<Family::TianFuSeries>(getSkySubStar(PalaceNum(13)), {0, 0, 0, 0, 0, 0, 0}, "none");
}

// Hour, month and day families for every hour branch, month palace and year
// branch, the day stars for every day.
TEST(Families, HourMonthAndDay) {
  // 火星 and 鈴星: steps from the hour branch, by year branch % 4 (亥卯未,
  // 申子辰, 巳酉丑, 寅午戌).
  constexpr std::array<std::array<int, 2>, 4> kFireBell = {{{9, 10}, {2, 10}, {3, 10}, {1, 3}}};
  // By month palace % 4 for 天馬; by month - 1 for the others.
  constexpr std::array<int, 4> kHorse = {6, 3, 12, 9};
  constexpr std::array<int, 4> kWitch = {6, 9, 3, 12};
  constexpr std::array<int, 6> kYinSha = {3, 1, 11, 9, 7, 5};
  constexpr std::array<int, 12> kMoon = {11, 6, 5, 3, 8, 4, 12, 8, 3, 7, 11, 3};
  for (int h = 1; h <= 12; ++h) {
    for (int m = 1; m <= 12; ++m) {
      for (int y = 1; y <= 12; ++y) {
        const ChartState c = chartOf(1, y, m, h);
        const std::string where =
            "h" + std::to_string(h) + " m" + std::to_string(m) + " y" + std::to_string(y);
        const auto& fb = kFireBell[static_cast<std::size_t>(y % 4)];
        expectPlaced<Family::HourFirst>(
            getHourFirstStar(c), {wrap(12 - h), wrap(h + 4), wrap(h + fb[0]), wrap(h + fb[1])},
            where);
        if (y != 1) continue;
        const auto k = static_cast<std::size_t>(floorMod(m - 3, 12));  // month - 1
        expectPlaced<Family::HourSecond>(
            getHourSecondStar(c), {wrap(h - 1), wrap(13 - h), wrap(h + 6), wrap(h + 2)}, where);
        expectPlaced<Family::MonthFirst>(getMonthFirstStar(c), {wrap(m + 2), wrap(14 - m)}, where);
        expectPlaced<Family::MonthSecond>(
            getMonthSecondStar(c),
            {wrap(m + 7), wrap(m - 1), kHorse[static_cast<std::size_t>(m % 4)],
             wrap(9 + 2 * static_cast<int>(k / 2)), kWitch[k % 4], kMoon[k], kYinSha[k % 6]},
            where);
        for (int day = 1; day <= 30; ++day) {
          const int d = day - 1;
          expectPlaced<Family::DaySecond>(
              getDaySecondStar(chartOf(1, 1, m, h, day)),
              {wrap(m + 2 + d), wrap(14 - m - d), wrap(12 - h + d - 1), wrap(h + 4 + d - 1)},
              where + " d" + std::to_string(day));
        }
      }
    }
  }
  expectPlaced<Family::HourFirst>(getHourFirstStar(chartOf(1, 1, 3, 0)), {0, 0, 0, 0}, "none");
  expectPlaced<Family::MonthSecond>(getMonthSecondStar(chartOf(1, 1, 0, 1)), {0, 0, 0, 0, 0, 0, 0},
                                    "none");
}

// Year-stem and year-branch families, voids and the year cycles for every
// year pair of the sexagenary cycle.
TEST(Families, YearPairs) {
  // 祿存 by stem; 天魁 and 天鉞; 天官, 天福, 天廚.
  constexpr std::array<int, 10> kLuCun = {3, 4, 6, 7, 6, 7, 9, 10, 12, 1};
  constexpr std::array<std::array<int, 5>, 10> kKuiYueLuck = {{{2, 8, 8, 10, 6},
                                                               {1, 9, 5, 9, 7},
                                                               {12, 10, 6, 1, 1},
                                                               {12, 10, 3, 12, 6},
                                                               {2, 8, 4, 4, 7},
                                                               {1, 9, 10, 3, 9},
                                                               {2, 8, 12, 7, 3},
                                                               {7, 3, 10, 6, 7},
                                                               {4, 6, 11, 7, 10},
                                                               {4, 6, 7, 6, 12}}};
  for (int pair = 1; pair <= 60; ++pair) {
    const int s = floorMod(pair - 1, 10) + 1;
    const int y = floorMod(pair - 1, 12) + 1;
    const ChartState c = chartOf(s, y);
    const std::string where = std::string(nameOf(c.YearStem)) + std::string(nameOf(c.YearBranch));
    const int lu = kLuCun[static_cast<std::size_t>(s - 1)];
    const auto& kyl = kKuiYueLuck[static_cast<std::size_t>(s - 1)];
    expectPlaced<Family::StemFirst>(getSkySFirstStar(c),
                                    {lu, wrap(lu + 1), wrap(lu - 1), kyl[0], kyl[1]}, where);
    expectPlaced<Family::StemSecond>(getSkySSecondStar(c), {kyl[2], kyl[3], kyl[4]}, where);

    const auto group = static_cast<std::size_t>(y % 4);
    const auto season = static_cast<std::size_t>(floorMod(y - 3, 12) / 3);
    expectPlaced<Family::BranchSecond>(
        getEarthSecondStar(c),
        {wrap(8 - y), wrap(y + 6), wrap(y + 4), wrap(12 - y), wrap(5 - y), wrap(11 - y),
         std::array{6, 9, 12, 3}[season], std::array{2, 5, 8, 11}[season],
         std::array{9, 10, 11, 6, 7, 8, 3, 4, 5, 12, 1, 2}[static_cast<std::size_t>(y - 1)],
         std::array{6, 2, 10}[static_cast<std::size_t>((y - 1) % 3)], wrap(y + 5), wrap(y + 6),
         wrap(12 - y), std::array{8, 9, 10, 11, 12, 7}[static_cast<std::size_t>((y - 1) / 2)],
         std::array{6, 3, 12, 9}[group], wrap(y + 1), std::array{8, 5, 2, 11}[group], y,
         std::array{1, 10, 7, 4}[group]},
        where);

    // 旬空: the decade of the pair starts at 甲 with branch b0 and leaves
    // b0 - 2 and b0 - 1 void, the odd year branches taking the second.
    const int b0 = wrap(y - (s - 1));
    expectPlaced<Family::DecadeVoid>(getEmptyDead(c), {wrap(y % 2 == 1 ? b0 - 1 : b0 - 2)}, where);
    // 截空: the stem pairs 甲己 ... 戊癸 share two branches, the yang stem the odd one.
    expectPlaced<Family::CutOffVoid>(getDrDDTreeStar(c), {9 - 2 * ((s - 1) % 5) + (s > 5 ? 1 : 0)},
                                     where);

    expectCycle([&](PalaceNum p) { return getYearYFourStar(c.YearBranch, p); }, y, true, where);
    expectCycle([&](PalaceNum p) { return getYearSSFourStar(c.YearBranch, p); },
                std::array{4, 1, 10, 7}[group], true, where);
    for (const SexLabel label : kLabels) {
      expectCycle([&](PalaceNum p) { return getDrTreeStar(c, p, label); }, lu, runsForward(label),
                  where + " label " + std::to_string(static_cast<int>(label)));
    }
  }
  expectPlaced<Family::StemFirst>(getSkySFirstStar(chartOf(0, 1)), {0, 0, 0, 0, 0}, "none");
  expectPlaced<Family::DecadeVoid>(getEmptyDead(chartOf(1, 2)), {0}, "甲丑");
}

// What the Life and Body palaces place, and the periods they start, for
// every year branch, Life and Body palace, bureau and sex label.
TEST(Families, LifeAndBody) {
  constexpr std::array<int, 5> kGrowthStart = {9, 12, 6, 9, 3};
  for (int y = 1; y <= 12; ++y) {
    for (int life = 1; life <= 12; ++life) {
      for (int body = 1; body <= 12; ++body) {
        expectPlaced<Family::BranchLifeBody>(
            getEarthSecondStar2(Branch(y), PalaceNum(life), PalaceNum(body)),
            {wrap(life + y - 1), wrap(body + y - 1)}, std::to_string(y));
      }
    }
  }
  for (const PalaceNum life : kPalaces) {
    const auto markers = getSkySSTreeStar(life);
    EXPECT_EQ(roleOf(life, markers[0]), PalaceRole::Friends);  // 僕役宮
    EXPECT_EQ(roleOf(life, markers[1]), PalaceRole::Health);   // 疾厄宮
    for (int b = 0; b < 5; ++b) {
      const auto bureau = static_cast<Bureau>(b);
      for (const SexLabel label : kLabels) {
        const std::string where = "bureau " + std::to_string(b) + " label " +
                                  std::to_string(static_cast<int>(label)) + " life " +
                                  std::to_string(life.number());
        const int number = bureauNumber(bureau);
        const bool forward = runsForward(label);
        expectCycle([&](PalaceNum p) { return getFiveLongLifeStar(bureau, label, p); },
                    kGrowthStart[static_cast<std::size_t>(b)], forward, where);
        // Ten years a palace from the bureau's number, the Life palace first.
        for (const PalaceNum p : kPalaces) {
          const int d = p.number() - life.number();
          const int from = number + 10 * floorMod(forward ? d : -d, 12);
          ASSERT_EQ(getBigYear(bureau, label, life, p), from) << where;
        }
      }
    }
  }
  // The minor-period ages 1..108 fall once each over the twelve palaces.
  for (int y = 1; y <= 12; ++y) {
    for (const Sex sex : {Sex::Male, Sex::Female}) {
      std::set<int> firsts;
      for (const PalaceNum p : kPalaces) firsts.insert(getSmallYear(Branch(y), sex, p));
      EXPECT_EQ(firsts, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})) << y;
    }
  }
}

// The one pass puts every family's stars, and only those, into its group
// of the palace the family gives, in the order of the families, graded and
// transformed as the named steps say.
template <Family F>
void addFamily(std::array<std::array<std::vector<Star>, 4>, 12>& expected,
               const FamilyPalaces<F>& palaces) {
  static constexpr auto kFamily = familyStars<F>();
  for (std::size_t i = 0; i < kFamily.size(); ++i) {
    if (!palaces[i].valid()) continue;
    expected[palaces[i].index()][static_cast<std::size_t>(groupOf(F))].push_back(kFamily[i]);
  }
}

template <std::size_t Capacity>
std::vector<Star> starsOf(const StarRow<Capacity>& row) {
  std::vector<Star> stars;
  for (const PlacedStar& star : row) stars.push_back(star.star);
  return stars;
}

TEST(Layout, FollowsTheFamiliesInTheirOrder) {
  for (int year = 1912; year < 1972; ++year) {
    const ChartState c =
        castFrame({year, year % 12 + 1, false, year % 30 + 1, year % 24, 0, 0, year % 2 == 0});
    std::array<std::array<std::vector<Star>, 4>, 12> expected;
    addFamily<Family::ZiWei>(expected, ziWeiPalaces(c.ZiWeiNum));
    addFamily<Family::ZiWeiSeries>(expected, getFirstSubStar(c.ZiWeiNum));
    addFamily<Family::TianFu>(expected, getSkyStar(c.ZiWeiNum));
    addFamily<Family::TianFuSeries>(expected, getSkySubStar(c.TianFuNum));
    addFamily<Family::HourFirst>(expected, getHourFirstStar(c));
    addFamily<Family::StemFirst>(expected, getSkySFirstStar(c));
    addFamily<Family::MonthFirst>(expected, getMonthFirstStar(c));
    addFamily<Family::DecadeVoid>(expected, getEmptyDead(c));
    addFamily<Family::LifeMarkers>(expected, getSkySSTreeStar(c.LifePalaceNum));
    addFamily<Family::CutOffVoid>(expected, getDrDDTreeStar(c));
    addFamily<Family::HourSecond>(expected, getHourSecondStar(c));
    addFamily<Family::MonthSecond>(expected, getMonthSecondStar(c));
    addFamily<Family::StemSecond>(expected, getSkySSecondStar(c));
    addFamily<Family::BranchSecond>(expected, getEarthSecondStar(c));
    addFamily<Family::BranchLifeBody>(
        expected, getEarthSecondStar2(c.YearBranch, c.LifePalaceNum, c.BodyPalaceNum));
    addFamily<Family::DaySecond>(expected, getDaySecondStar(c));

    PalaceStarsByPalace layout;
    layOutPalaces(c, layout);
    for (const PalaceNum p : kPalaces) {
      const PalaceStars& palace = layout[p.index()];
      const auto& want = expected[p.index()];
      const std::string where = std::to_string(year) + " palace " + std::to_string(p.number());
      EXPECT_EQ(starsOf(palace.main), want[0]) << where;
      EXPECT_EQ(starsOf(palace.voids), want[1]) << where;
      EXPECT_EQ(starsOf(palace.markers), want[2]) << where;
      EXPECT_EQ(starsOf(palace.minor), want[3]) << where;
      bool red = false;
      for (const PlacedStar& star : palace.main) {
        red = red || starInfo(star.star).redName;
        EXPECT_EQ(star.brightness, checkMainStarType(p, star.star)) << where;
        EXPECT_EQ(star.transformation, getSkyOFirstStar(c, star.star)) << where;
      }
      for (const PlacedStar& star : palace.minor) {
        EXPECT_EQ(star.brightness, checkSubStarType(p, star.star)) << where;
      }
      EXPECT_EQ(palace.redName, red) << where;
    }
  }
}

// The red-name stars: the fourteen main stars, 天馬 and 祿存.
static_assert([] {
  int red = 0;
  for (const StarInfo& info : kStars) red += info.redName ? 1 : 0;
  return red == 16 && starInfo(Star::TianMa).redName && starInfo(Star::LuCun).redName;
}());

}  // namespace
}  // namespace ziwei
