// The rules of the traditions, each on a worked example reckoned by hand from
// the rule's words (the calendar dates from the lunar and solar-term tables).

#include <gtest/gtest.h>

#include <optional>

#include "birth/target_moment.h"
#include "chart/chart.h"
#include "chart/frame/chart_frame.h"
#include "chart/tests/chart_builders.h"

namespace ziwei {
namespace {

using test::birthOf;
using test::placed;

Chart castWith(ChartRequest request, void (*rule)(ChartOptions&),
               std::optional<calendar::GregorianDate> on = std::nullopt,
               std::optional<ClockOfDay> time = std::nullopt) {
  if (rule != nullptr) rule(request.options);
  if (on) request.target = targetOnSolar(*on, time);
  return cast(request);
}

StemBranch sb(int stem, int branch) { return {Stem(stem), Branch(branch)}; }
StemBranch yearOf(const Chart& c) { return {c.frame.YearStem, c.frame.YearBranch}; }

TEST(YearBoundary, SpringMovesTheYearOfBirthsBetweenNewYearAndLiChun) {
  const auto spring = [](ChartOptions& o) { o.yearBoundary = YearBoundary::Spring; };
  // Lunar 1984-01-01 子 hour is 1984-02-02 00:00 CST; 立春 1984 is 1984-02-04
  // 23:19 CST, so by 立春 the birth is still in 1983, 癸亥. Life 寅 (month 1,
  // 子 hour) carries 甲 by the five tigers of 癸: 甲寅 with 戊癸 gives 水二局;
  // 癸 is yin, so the male is 陰男 and his decades run backward.
  const Chart byNewYear = castWith(birthOf(1984, 1, 1, 0), nullptr);
  const Chart bySpring = castWith(birthOf(1984, 1, 1, 0), spring);
  EXPECT_EQ(yearOf(byNewYear), sb(1, 1));
  EXPECT_EQ(byNewYear.frame.BureauName, Bureau::Fire);
  EXPECT_EQ(yearOf(bySpring), sb(10, 12));
  EXPECT_EQ(bySpring.frame.LifePalaceNum, byNewYear.frame.LifePalaceNum);
  EXPECT_EQ(bySpring[branch::Yin].stem, Stem(1));
  EXPECT_EQ(bySpring.frame.BureauName, Bureau::Water);
  EXPECT_EQ(bySpring.frame.SexText, SexLabel::YinMale);
  EXPECT_EQ(bySpring.frame.BirthYear, 1984) << "the lunar date stays";
  // 1984-02-05 (lunar 1984-01-04) is after 立春: 甲子 either way.
  const Chart after = castWith(birthOf(1984, 1, 4, 0), spring);
  EXPECT_EQ(yearOf(after), sb(1, 1));
  // Lunar 2020-12-23 子 hour is 2021-02-04 00:00 CST, after 立春 2021
  // (2021-02-03 22:59 CST): 辛丑 by 立春, 庚子 by the new year.
  const Chart early = castWith(birthOf(2020, 12, 23, 0), spring);
  EXPECT_EQ(yearOf(early), sb(8, 2));
  // A birth recorded in New York: 1984-02-04 12:00 EST is 1984-02-05 01:00
  // UTC+8, after 立春 (lunar 1984-01-03 in New York's date).
  ChartRequest newYork = birthOf(1984, 1, 3, 12);
  newYork.birthInstant = 444762000;  // 1984-02-04T17:00:00Z
  const Chart recorded = castWith(newYork, spring);
  EXPECT_EQ(yearOf(recorded), sb(1, 1));
  newYork.birthInstant = 444762000 - 12 * 3600;  // 05:00Z, before 立春 at 15:19Z
  EXPECT_EQ(castWith(newYork, spring).frame.YearStem, Stem(10));
}

TEST(PeriodBoundary, SolarTermsTakeTheYearAndMonthFromLiChunAndEachJie) {
  const auto solarTerms = [](ChartOptions& o) { o.periodBoundary = PeriodBoundary::SolarTerms; };
  // Birth lunar 1984-01-01 子 male: 斗君 子. Target 2026-02-10, lunar
  // 2025-12-23: by the lunar calendar 乙巳 (palace 巳) and month 12, 己丑 (乙
  // gives 戊寅 for month 1), month 1 at 子 counted from 巳 = 巳, month 12 at
  // 辰. By the terms it is after 立春 2026 (02-04 04:02): 丙午, palace 午;
  // month 1 (寅), 庚寅, at 午.
  const calendar::GregorianDate on{2026, 2, 10};
  const Chart lunar = castWith(birthOf(1984, 1, 1, 0), nullptr, on);
  const Chart terms = castWith(birthOf(1984, 1, 1, 0), solarTerms, on);
  using enum PeriodLevel;
  EXPECT_EQ((*lunar.periods)[Year].stemBranch, sb(2, 6));
  EXPECT_EQ((*lunar.periods)[Year].palace, branch::Si);
  EXPECT_EQ((*lunar.periods)[Month].stemBranch, sb(6, 2));
  EXPECT_EQ((*lunar.periods)[Month].palace, branch::Chen);
  EXPECT_EQ((*terms.periods)[Year].stemBranch, sb(3, 7));
  EXPECT_EQ((*terms.periods)[Year].palace, branch::Wu);
  EXPECT_EQ((*terms.periods)[Month].stemBranch, sb(7, 3));
  EXPECT_EQ((*terms.periods)[Month].palace, branch::Wu);
  EXPECT_EQ(terms.periods->month, 1);
  // The running year is the year of its stem-branch: 2026 by the terms.
  EXPECT_EQ(lunar.periods->year, 2025);
  EXPECT_EQ(terms.periods->year, 2026);
  // The decade, minor period and age are not the year's.
  EXPECT_EQ(terms.periods->age, lunar.periods->age);
  EXPECT_EQ((*terms.periods)[Decade].palace, (*lunar.periods)[Decade].palace);
  // 2026-03-05 驚蟄 falls at 21:59 CST: that day counts in month 2 (卯), at
  // 09:00 it is still month 1.
  EXPECT_EQ(castWith(birthOf(1984, 1, 1, 0), solarTerms, calendar::GregorianDate{2026, 3, 5})
                .periods->month,
            2);
  EXPECT_EQ(castWith(birthOf(1984, 1, 1, 0), solarTerms, calendar::GregorianDate{2026, 3, 5},
                     ClockOfDay{9, 0})
                .periods->month,
            1);
}

TEST(AgeCount, BirthdayCountsOneLessUntilTheLunarBirthday) {
  const auto birthday = [](ChartOptions& o) { o.age = AgeCount::Birthday; };
  // Birth lunar 1984-06-15 子 male: Life 未, 甲 with 午未 gives 土五局, decades
  // forward from 未: 35-44 戌, 45-54 亥. Minor: a 子 year starts at 戌, male
  // forward. Target 2026-05-14, lunar 2026-03-28, before the birthday:
  // nominal 43 (minor 辰), by the birthday 42 (minor 卯).
  const ChartRequest birth = birthOf(1984, 6, 15, 0);
  const Chart nominal = castWith(birth, nullptr, calendar::GregorianDate{2026, 5, 14});
  const Chart counted = castWith(birth, birthday, calendar::GregorianDate{2026, 5, 14});
  using enum PeriodLevel;
  EXPECT_EQ(nominal.periods->age, 43);
  EXPECT_EQ(counted.periods->age, 42);
  EXPECT_EQ((*nominal.periods)[Minor].palace, branch::Chen);
  EXPECT_EQ((*counted.periods)[Minor].palace, branch::Mao);
  EXPECT_EQ((*counted.periods)[Year].palace, (*nominal.periods)[Year].palace);
  // The year stays 2026 (丙午) whatever the age.
  EXPECT_EQ(counted.periods->year, 2026);
  EXPECT_EQ(nominal.periods->year, 2026);
  // 2028-03-01 (lunar 2028-02-06): nominal 45 is the 亥 decade, 44 the 戌.
  const Chart decade = castWith(birth, birthday, calendar::GregorianDate{2028, 3, 1});
  EXPECT_EQ(decade.periods->age, 44);
  EXPECT_EQ((*decade.periods)[Decade].palace, branch::Xu);
  EXPECT_EQ(decade.periods->decadeFirstAge, 35);
  // On the birthday itself (lunar 2026-06-15 = 2026-07-28) the age is 43, the day
  // before 42.
  EXPECT_EQ(castWith(birth, birthday, calendar::GregorianDate{2026, 7, 28}).periods->age, 43);
  EXPECT_EQ(castWith(birth, birthday, calendar::GregorianDate{2026, 7, 27}).periods->age, 42);
  // In the birth year the age stays 1.
  EXPECT_EQ(castWith(birth, birthday, calendar::GregorianDate{1984, 3, 1}).periods->age, 1);
}

TEST(LeapMonth, SplitThisAndNext) {
  // 2001 has a leap 4th month. Day 10 and day 20 of it, for the birth (the
  // month palace: month 4 at 巳, month 5 at 午) and for a target.
  const struct {
    LeapMonthRule rule;
    int day10, day20;
  } rules[] = {
      {LeapMonthRule::Split, 4, 5}, {LeapMonthRule::This, 4, 4}, {LeapMonthRule::Next, 5, 5}};
  for (const auto& r : rules) {
    const auto month = [&](int day) {
      ChartOptions options;
      options.leapMonth = r.rule;
      return castFrame({2001, 4, true, day, 0, 0, 0, true}, options).BirthMonth;
    };
    EXPECT_EQ(month(10), r.day10);
    EXPECT_EQ(month(15), r.day10) << "day 15 counts as day 10";
    EXPECT_EQ(month(16), r.day20) << "day 16 counts as day 20";
    EXPECT_EQ(month(20), r.day20);
    ChartRequest request = birthOf(1984, 1, 1, 0);
    request.options.leapMonth = r.rule;
    request.target = targetOnLunar({2001, 4, true, 20});
    EXPECT_EQ(cast(request).periods->month, r.day20);
    EXPECT_EQ(castFrame({2001, 12, true, 1, 0, 0, 0, true}, request.options).BirthMonth,
              r.rule == LeapMonthRule::Next ? 1 : 12)
        << "the next of month 12 is month 1";
  }
}

TEST(LifeMaster, ByTheYearBranch) {
  // 1984 (子) month 1 子 hour: Life 寅, 命主 祿存 by the palace, 貪狼 by 子.
  EXPECT_EQ(castWith(birthOf(1984, 1, 1, 0), nullptr).lifeMaster, Star::LuCun);
  const auto byYear = [](ChartOptions& o) { o.lifeMaster = LifeMasterRule::Year; };
  EXPECT_EQ(castWith(birthOf(1984, 1, 1, 0), byYear).lifeMaster, Star::TanLang);
  // 1990 (午): 破軍; 1991 (未): 武曲; 1994 (戌): 祿存.
  EXPECT_EQ(castWith(birthOf(1990, 1, 1, 0), byYear).lifeMaster, Star::PoJun);
  EXPECT_EQ(castWith(birthOf(1991, 1, 1, 0), byYear).lifeMaster, Star::WuQu);
  EXPECT_EQ(castWith(birthOf(1994, 1, 1, 0), byYear).lifeMaster, Star::LuCun);
}

TEST(TianShangTianShi, PolaritySwapsThemForYinMalesAndYangFemales) {
  const auto polarity = [](ChartOptions& o) { o.tianShangTianShi = TianShangTianShi::Polarity; };
  // 1984 (甲, yang) month 1 子 hour: Life 寅; 僕役宮 is 未 and 疾厄宮 酉.
  for (const bool male : {true, false}) {
    const Chart fixed = castWith(birthOf(1984, 1, 1, 0, male), nullptr);
    const Chart chart = castWith(birthOf(1984, 1, 1, 0, male), polarity);
    EXPECT_EQ(placed(fixed, Star::TianShang).first, branch::Wei);
    EXPECT_EQ(placed(fixed, Star::TianShi).first, branch::You);
    EXPECT_EQ(placed(chart, Star::TianShang).first, male ? branch::Wei : branch::You);
    EXPECT_EQ(placed(chart, Star::TianShi).first, male ? branch::You : branch::Wei);
  }
  // 1985 (乙, yin) male, month 1 子: Life 寅 too; 陰男 swaps.
  EXPECT_EQ(placed(castWith(birthOf(1985, 1, 1, 0), polarity), Star::TianShang).first, branch::You);
}

TEST(Transformations, ATableOfAnotherTraditionAppliesEverywhere) {
  // 戊 with 太陽 for 科 (instead of 右弼): a 戊辰 birth, 1988, and its 戊
  // palace stems and running levels.
  const auto taiYangKe = [](ChartOptions& o) {
    o.transformations[4] = {Star::TanLang, Star::TaiYin, Star::TaiYang, Star::TianJi};
  };
  const Chart standard = castWith(birthOf(1988, 1, 1, 0), nullptr);
  const Chart variant = castWith(birthOf(1988, 1, 1, 0), taiYangKe,
                                 calendar::GregorianDate{2018, 6, 1});  // 戊戌 year
  EXPECT_EQ(placed(standard, Star::YouBi).second, Transformation::Ke);
  EXPECT_EQ(placed(standard, Star::TaiYang).second, Transformation::None);
  EXPECT_EQ(placed(variant, Star::YouBi).second, Transformation::None);
  EXPECT_EQ(placed(variant, Star::TaiYang).second, Transformation::Ke);
  EXPECT_EQ(placed(variant, Star::TanLang).second, Transformation::Lu);
  const LevelPeriod& year = (*variant.periods)[PeriodLevel::Year];
  ASSERT_EQ(year.stemBranch.stem, Stem(5));
  EXPECT_EQ(year.transformed, variant.request.options.transformations[4]);
}

}  // namespace
}  // namespace ziwei
