// Palace relations: a worked example reckoned by hand from the four
// transformations' table, the running levels' stems, and invariants over many
// births.

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "birth/target_moment.h"
#include "chart/chart.h"
#include "chart/relations/relations.h"
#include "chart/tests/chart_builders.h"

namespace ziwei {
namespace {

using namespace branch;

using test::birthOf;

// The palace that holds `star`.
PalaceNum cellOf(const Chart& chart, Star star) { return test::placed(chart, star).first; }

TEST(Relations, TrineAndFlanksAreTheChartsGeometry) {
  EXPECT_EQ(trineOf(Zi), (std::array{Zi, Wu, Chen, Shen}));
  EXPECT_EQ(trineOf(Hai), (std::array{Hai, Si, Mao, Wei}));
  EXPECT_EQ(flankOf(Zi), (std::array{Hai, Chou}));
  EXPECT_EQ(flankOf(Hai), (std::array{Xu, Zi}));
}

TEST(Relations, WorkedExampleOf1984) {
  // Lunar 1984-01-01 子 hour, male: 甲子 year, so 寅 carries 丙 and the
  // stems run 丙寅 丁卯 戊辰 己巳 庚午 辛未 壬申 癸酉 甲戌 乙亥, 子 丙 and 丑 丁.
  const Chart chart = cast(birthOf(1984, 1, 1, 0));
  // Where the stars the flights below reach stand in this chart.
  EXPECT_EQ(cellOf(chart, Star::TianTong), Chen);
  EXPECT_EQ(cellOf(chart, Star::TianJi), Shen);
  EXPECT_EQ(cellOf(chart, Star::WenChang), Xu);
  EXPECT_EQ(cellOf(chart, Star::LianZhen), Chou);
  EXPECT_EQ(cellOf(chart, Star::WuQu), Si);
  EXPECT_EQ(cellOf(chart, Star::TaiYang), Wu);
  EXPECT_EQ(cellOf(chart, Star::TanLang), You);
  EXPECT_EQ(cellOf(chart, Star::YouBi), Xu);
  EXPECT_EQ(cellOf(chart, Star::TianLiang), Zi);
  EXPECT_EQ(cellOf(chart, Star::WenQu), Chen);

  const PalaceRelationsByPalace r = palaceRelations(chart, natalStems(chart));
  // 子 丙: 天同 祿 (辰), 天機 權 (申), 文昌 科 (戌), 廉貞 忌 (丑).
  EXPECT_EQ(r[Zi.index()].flies, (std::array{Chen, Shen, Xu, Chou}));
  EXPECT_TRUE(r[Zi.index()].self.empty());
  // 巳 己: 武曲 祿 stays in 巳; 貪狼 權 (酉), 天梁 科 (子), 文曲 忌 (辰).
  EXPECT_EQ(r[Si.index()].flies, (std::array{Si, You, Zi, Chen}));
  TransformationSet lu;
  lu.add(Transformation::Lu);
  EXPECT_EQ(r[Si.index()].self, lu);
  // 午 庚 keeps its 太陽 祿; 酉 癸 its 貪狼 忌.
  EXPECT_EQ(r[Wu.index()].self, lu);
  EXPECT_TRUE(r[You.index()].self.has(Transformation::Ji));
  EXPECT_FALSE(r[You.index()].self.has(Transformation::Lu));
  // Inward: 申 holds 天機, which 寅's 丙 gives 權; 戌 holds 右弼, which 辰's
  // 戊 gives 科.
  TransformationSet quan;
  quan.add(Transformation::Quan);
  EXPECT_EQ(r[Shen.index()].inward, quan);
  EXPECT_TRUE(r[Xu.index()].inward.has(Transformation::Ke));
  EXPECT_TRUE(r[Zi.index()].inward.empty());
}

TEST(Relations, TheTableInForceSendsTheFlights) {
  // With 丙 giving 祿 to 紫微 instead of 天同, 子 and 寅 (both 丙) send their
  // 祿 to 紫微's palace, 酉 in the example; 權, 科 and 忌 stay.
  ChartRequest request = birthOf(1984, 1, 1, 0);
  request.options.transformations[2] = {Star::ZiWei, Star::TianJi, Star::WenChang, Star::LianZhen};
  const Chart chart = cast(request);
  const PalaceRelationsByPalace r = palaceRelations(chart, natalStems(chart));
  EXPECT_EQ(r[Zi.index()].flies, (std::array{You, Shen, Xu, Chou}));
  EXPECT_EQ(r[Yin.index()].flies, (std::array{You, Shen, Xu, Chou}));
}

TEST(Relations, RunningLevelsCarryNatalOrFiveTigerStems) {
  ChartRequest request = birthOf(1984, 1, 1, 0);
  request.target = targetOnSolar({2026, 12, 7}, ClockOfDay{10, 0});
  const Chart natal = cast(request);
  for (const PeriodLevel level : {PeriodLevel::Decade, PeriodLevel::Year, PeriodLevel::Month,
                                  PeriodLevel::Day, PeriodLevel::Hour}) {
    EXPECT_EQ(levelStems(natal, level), natalStems(natal));
  }
  EXPECT_THROW(levelStems(natal, PeriodLevel::Minor), std::invalid_argument);
  EXPECT_THROW(levelStems(cast(birthOf(1984, 1, 1, 0)), PeriodLevel::Year), std::invalid_argument);

  request.options.runningStems = RunningStems::FiveTigers;
  const Chart tigers = cast(request);
  // 2026 is 丙午: 丙 puts 庚 at 寅, so 午 carries 甲 and 子 庚 (子 and 丑
  // take 寅's and 卯's).
  const PalaceStems year = levelStems(tigers, PeriodLevel::Year);
  EXPECT_EQ(year[Yin.index()], Stem(7));
  EXPECT_EQ(year[Wu.index()], Stem(1));
  EXPECT_EQ(year[Zi.index()], Stem(7));
  EXPECT_EQ(levelStems(tigers, PeriodLevel::Decade), natalStems(tigers));
  // 午 甲 sends 太陽's 忌 to 午 itself.
  EXPECT_TRUE(palaceRelations(tigers, year)[Wu.index()].self.has(Transformation::Ji));
}

TEST(Relations, HoldOverManyBirths) {
  for (int year = 1912; year <= 2100; year += 7) {
    for (int month = 1; month <= 12; month += 5) {
      for (const int day : {1, 17, 29}) {
        for (int hour = 0; hour < 24; hour += 5) {
          const Chart chart = cast(birthOf(year, month, day, hour, year % 2 == 0));
          const PalaceStems stems = natalStems(chart);
          const PalaceRelationsByPalace r = palaceRelations(chart, stems);
          for (const PalaceNum p : kPalaces) {
            const PalaceRelations& at = r[p.index()];
            ASSERT_EQ(at.trine[0], p);
            ASSERT_EQ(at.trine[1], p + 6) << "the opposite palace";
            for (const PalaceNum q : at.trine) {
              ASSERT_EQ(std::count(at.trine.begin(), at.trine.end(), q), 1);
              ASSERT_EQ((q.number() - p.number() + 12) % 2, 0) << "same polarity";
            }
            const auto& row = kTransformations[stems[p.index()].index()];
            const auto& opposite = kTransformations[stems[(p + 6).index()].index()];
            for (std::size_t k = 0; k < 4; ++k) {
              ASSERT_EQ(at.flies[k], cellOf(chart, row[k])) << "each flight ends at its star";
              ASSERT_EQ(at.self.has(kFourTransformations[k]), cellOf(chart, row[k]) == p);
              ASSERT_EQ(at.inward.has(kFourTransformations[k]), cellOf(chart, opposite[k]) == p);
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace ziwei
