// Each kind of condition on two charts read by hand: a 陰男 born on lunar
// 2001 leap month 4, day 17 (2001-06-08), in the 子 hour and in the 卯 hour.
//
// 子 hour: 命宮 and 身宮 at 午 (天梁, 天魁, 右弼; 台輔, 陰煞, 天廚, 天空, 咸池);
// 遷移宮 子 (太陽 權 of the 辛 year; its stem 庚 gives 太陽 祿 back: 自化祿);
// 財帛宮 寅 (天機, 太陰, 天鉞; 庚 gives 太陰 科); 夫妻宮 辰 (巨門 祿, 文曲 科);
// 官祿宮 戌 (天同, 文昌 忌, 鈴星, 擎羊); 田宅宮 酉 (祿存 alone); 僕役宮 亥
// (武曲, 破軍; 己 gives 武曲 祿). The trine of 午: 午, 子, 戌, 寅.
// 卯 hour: 命宮 卯 (太陽 權, 天梁; 辛 gives 太陽 權 back); 身宮 酉, the
// 遷移宮 (祿存 alone); 官祿宮 未 (文昌 忌, 文曲 科, no main star).
#include <gtest/gtest.h>

#include <variant>

#include "chart/chart.h"
#include "find/condition.h"
#include "find/condition_text.h"
#include "find/tests/read_conditions.h"

namespace ziwei::find {
namespace {

Chart chartAt(int hour, const ChartOptions& options = {}) {
  ChartRequest request;
  request.birth = {2001, 4, true, 17, hour, 0, 0, true};
  request.options = options;
  return cast(request);
}

bool meetsAll(const Chart& chart, std::initializer_list<std::string_view> texts) {
  return test::queryOf(texts).matches(chart);
}

struct Case {
  std::string_view condition;
  bool met;
};

void expectCases(const Chart& chart, std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(meetsAll(chart, {c.condition}), c.met) << c.condition;
}

TEST(Condition, HasHasAnyAndLacksReadEveryRowOfThePalace) {
  const Chart zi = chartAt(0);
  expectCases(zi, {
                      {"命宮 has 天梁", true},
                      {"命宮 has 天梁,右弼,天空", true},  // main and minor rows
                      {"命宮 has 天梁,紫微", false},
                      {"父母宮 has 天月", true},
                      {"兄弟宮 has 截空", true},  // the markers
                      {"福德宮 has 旬空", true},  // the void
                      {"命宮 has-any 紫微,右弼", true},
                      {"命宮 has-any 紫微,天府", false},
                      {"命宮 has-any 咸池", true},
                      {"命宮 lacks 紫微,天府", true},
                      {"命宮 lacks 紫微,天空", false},
                      {"午 has 天梁", true},
                      {"子 has 天梁", false},
                      {"身宮 has 天梁", true},
                  });
}

TEST(Condition, BirthYearTransformationsAreThoseOnThePalacesStars) {
  const Chart zi = chartAt(0);
  expectCases(zi, {
                      {"夫妻宮 has 祿", true},
                      {"夫妻宮 has 祿,科", true},
                      {"夫妻宮 has 巨門,化祿", true},
                      {"夫妻宮 has 祿,忌", false},
                      {"官祿宮 has 忌", true},
                      {"遷移宮 has 權", true},
                      {"命宮 has-any 祿,權,科,忌", false},
                      {"命宮 lacks 祿,權,科,忌", true},
                      {"官祿宮 lacks 忌", false},
                  });
}

TEST(Condition, SeesReadsTheFourPalacesOfTheTrine) {
  const Chart zi = chartAt(0);
  expectCases(zi, {
                      {"命宮 sees 天梁,太陽,天同,天機", true},  // 午, 子, 戌, 寅
                      {"命宮 sees 權,忌", true},         // 太陽 權 at 子, 文昌 忌 at 戌
                      {"命宮 sees 權,忌,科", false},     // 文曲 科 at 辰
                      {"命宮 sees 祿", false},           // 巨門 祿 at 辰, outside the trine
                      {"命宮 sees 紫微", false},         // 卯
                      {"夫妻宮 sees 祿,科,天同", true},  // 辰, 戌, 申, 子
                      {"夫妻宮 sees 祿,科,天府", false},
                  });
}

TEST(Condition, EmptyCountsTheFourteenMainStarsOnly) {
  const Chart zi = chartAt(0);
  expectCases(zi, {
                      {"田宅宮 empty", true},  // 祿存 alone in the main row
                      {"福德宮 empty", true},  // 陀羅 and 左輔
                      {"命宮 empty", false},
                      {"遷移宮 empty", false},
                  });
  const Chart mao = chartAt(5);  // the 卯 hour
  expectCases(mao, {
                       {"官祿宮 empty", true},  // 文昌 忌 and 文曲 科
                       {"官祿宮 has 忌,科", true},
                       {"身宮 empty", true},
                       {"身宮 has 祿存", true},
                       {"遷移宮 has 祿存", true},
                       {"命宮 has 祿存", false},
                   });
}

TEST(Condition, SelfIsThePalaceStemsTransformationOfItsOwnStars) {
  const Chart zi = chartAt(0);
  expectCases(zi, {
                      {"遷移宮 self 祿", true},
                      {"子 self 祿", true},
                      {"遷移宮 self 祿,權", false},
                      {"財帛宮 self 科", true},
                      {"財帛宮 self 祿", false},
                      {"僕役宮 self 祿", true},
                      {"命宮 self 祿", false},
                      {"命宮 self 忌", false},
                  });
  const Chart mao = chartAt(5);
  expectCases(mao, {
                       {"命宮 self 權", true},
                       {"夫妻宮 self 祿", true},
                       {"兄弟宮 self 權", true},
                       {"遷移宮 self 權", false},
                   });
  // By the transformation table of the rules: with 庚 = 武曲, 天同, 太陰,
  // 太陽 the 遷移宮 at 子 transforms its 太陽 to 忌 instead.
  ChartOptions options;
  options.transformations[6] = {Star::WuQu, Star::TianTong, Star::TaiYin, Star::TaiYang};
  const Chart ruled = chartAt(0, options);
  expectCases(ruled, {{"遷移宮 self 忌", true}, {"遷移宮 self 祿", false}});
}

TEST(Condition, AQueryMeetsEveryConditionOrNone) {
  const Chart zi = chartAt(0);
  EXPECT_TRUE(meetsAll(zi, {}));
  EXPECT_TRUE(meetsAll(zi, {"命宮 has 天梁", "遷移宮 self 祿", "田宅宮 empty"}));
  EXPECT_FALSE(meetsAll(zi, {"命宮 has 天梁", "遷移宮 self 忌", "田宅宮 empty"}));
  EXPECT_FALSE(meetsAll(zi, {"遷移宮 self 忌", "命宮 has 天梁"}));
}

TEST(Condition, AConditionBuiltByHandIsChecked) {
  Condition none;  // has, listing nothing
  EXPECT_EQ(conditionFault(none), "the condition lists no star and no transformation");
  EXPECT_THROW(Query({none}), std::invalid_argument);
  Condition self{{}, ConditionKind::Self, starSetOf(Star::ZiWei), {}};
  EXPECT_EQ(conditionFault(self), "a self condition lists transformations, not stars");
  Condition empty{{}, ConditionKind::Empty, starSetOf(Star::ZiWei), {}};
  EXPECT_EQ(conditionFault(empty), "an empty palace condition lists nothing");
  Condition branch{{PalaceBy::Branch, PalaceRole::Life, PalaceNum{}}, ConditionKind::Empty, {}, {}};
  EXPECT_EQ(conditionFault(branch), "the palace's branch is not one of the twelve");
  branch.palace.branch = PalaceNum(12);
  EXPECT_EQ(conditionFault(branch), std::nullopt);
}

}  // namespace
}  // namespace ziwei::find
