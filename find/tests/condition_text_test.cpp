// Reading conditions from text: every name of every vocabulary, the forms a
// user writes, and refusals that say where and what was meant.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "find/condition_text.h"
#include "find/tests/read_conditions.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::find {
namespace {

using test::accepted;

ConditionError refused(std::string_view text) {
  auto read = readCondition(text);
  if (const auto* error = std::get_if<ConditionError>(&read)) return *error;
  ADD_FAILURE() << text << ": accepted";
  return {};
}

Condition made(PalaceChoice palace, ConditionKind kind, std::initializer_list<Star> stars,
               std::initializer_list<Transformation> kinds = {}) {
  Condition condition{palace, kind, {}, {}};
  for (const Star star : stars) condition.stars.set(static_cast<std::size_t>(star));
  for (const Transformation t : kinds) condition.transformations.add(t);
  return condition;
}

constexpr PalaceChoice role(PalaceRole r) { return {PalaceBy::Role, r, PalaceNum{}}; }
constexpr PalaceChoice kBody{PalaceBy::Body, PalaceRole::Life, PalaceNum{}};
constexpr PalaceChoice branchPalace(int n) {
  return {PalaceBy::Branch, PalaceRole::Life, PalaceNum(n)};
}

TEST(ConditionText, EveryNameOfEveryVocabularyReadsAsItself) {
  for (const Vocabulary* words : {&kZhHant, &kZhHans, &kEnglish}) {
    for (std::size_t s = 0; s < kStarCount; ++s) {
      const std::string text = "命宮 has " + std::string(words->stars[s]);
      EXPECT_EQ(accepted(text),
                made(role(PalaceRole::Life), ConditionKind::Has, {static_cast<Star>(s)}))
          << text;
    }
    for (std::size_t r = 0; r < kPalaceRoleCount; ++r) {
      const std::string text = std::string(words->palaces[r]) + " empty";
      EXPECT_EQ(accepted(text).palace, role(static_cast<PalaceRole>(r))) << text;
    }
    EXPECT_EQ(accepted(std::string(words->bodyPalace) + " empty").palace, kBody);
    for (const PalaceNum palace : kPalaces) {
      const std::string text = std::string((*words)(branchOf(palace))) + " empty";
      EXPECT_EQ(accepted(text).palace, branchPalace(palace.number())) << text;
    }
    for (const Transformation kind : kFourTransformations) {
      const std::string text = "命宮 self " + std::string((*words)(kind));
      EXPECT_EQ(accepted(text), made(role(PalaceRole::Life), ConditionKind::Self, {}, {kind}))
          << text;
    }
  }
}

TEST(ConditionText, FormsAUserWrites) {
  const Condition lifeHas =
      made(role(PalaceRole::Life), ConditionKind::Has, {Star::ZiWei, Star::TianFu});
  for (const std::string_view text :
       {"命宮 has 紫微,天府", "命 has 紫微,天府", "命宫 has 紫微，天府",
        "  命宮\thas 紫微 、 天府  ", "命宮\u3000has\u3000紫微,天府", "LIFE HAS emperor, Treasurer",
        "命宮 has 天府,紫微,紫微"}) {
    EXPECT_EQ(accepted(text), lifeHas) << text;
  }
  using enum Transformation;
  const struct {
    std::string_view text;
    Condition condition;
  } cases[] = {
      {"財帛 has-any 武曲,祿,化忌",
       made(role(PalaceRole::Wealth), ConditionKind::HasAny, {Star::WuQu}, {Lu, Ji})},
      {"身 lacks 擎羊,陀罗", made(kBody, ConditionKind::Lacks, {Star::QingYang, Star::TuoLuo})},
      {"官禄宫 sees 禄,权,科",
       made(role(PalaceRole::Career), ConditionKind::Sees, {}, {Lu, Quan, Ke})},
      {"Body sees Great Gate,fame", made(kBody, ConditionKind::Sees, {Star::JuMen}, {Ke})},
      {"亥 empty", made(branchPalace(12), ConditionKind::Empty, {})},
      {"午宮 empty", made(branchPalace(7), ConditionKind::Empty, {})},
      {"Wu self 化祿,忌", made(branchPalace(7), ConditionKind::Self, {}, {Lu, Ji})},
  };
  for (const auto& c : cases) EXPECT_EQ(accepted(c.text), c.condition) << c.text;
}

TEST(ConditionText, RefusalsSayWhereAndWhatWasMeant) {
  const struct {
    std::string_view text;
    std::size_t character;
    std::string_view message;
  } cases[] = {
      {"", 1, "the condition is empty (PALACE KIND STAR[,STAR...], e.g. 命宮 has 紫微)"},
      {"   ", 1, "the condition is empty (PALACE KIND STAR[,STAR...], e.g. 命宮 has 紫微)"},
      {"命官 has 紫微", 1, "unknown palace \"命官\" (close: 命宮)"},
      {"Lief has 紫微", 1, "unknown palace \"Lief\" (close: Life)"},
      {"田宇宮 has 紫微", 1, "unknown palace \"田宇宮\" (close: 田宅宮)"},
      {"夫婦 has 紫微", 1, "unknown palace \"夫婦\" (close: 夫妻宮)"},
      {"火 has 紫微", 1,
       "unknown palace \"火\" (a palace is named 命宮 .. 父母宮, 身宮 or by a "
       "branch 子 .. 亥)"},
      {"命宮", 3,
       "the kind of condition is missing after \"命宮\" (allowed: has, has-any, lacks, sees, "
       "empty, self)"},
      {"命宮 hass 紫微", 4,
       "unknown kind \"hass\" (close: has; allowed: has, has-any, lacks, sees, empty, self)"},
      {"命宮 紫微", 4, "unknown kind \"紫微\" (allowed: has, has-any, lacks, sees, empty, self)"},
      {"命宮 has", 7, "has lists stars (or 祿, 權, 科, 忌) after it, e.g. 命宮 has 紫微,天府"},
      {"命宮 self ", 8, "self lists the transformations 祿, 權, 科 or 忌 after it"},
      {"命宮 has 紫薇", 8, "unknown star \"紫薇\" (close: 紫微)"},
      {"命宮 has 紫微,天机,廉正", 14, "unknown star \"廉正\" (close: 廉貞)"},
      {"命宮 has 紫微,,天府", 11, "a star's name is missing between commas"},
      {"命宮 has 紫微,", 11, "a star's name is missing between commas"},
      {"Life has Emperer", 10, "unknown star \"Emperer\" (close: Emperor)"},
      {"命宮 has 星", 8, "unknown star \"星\" (a star of the chart, or 祿, 權, 科 or 忌)"},
      {"命宮 empty 紫微", 10, "empty lists nothing, but \"紫微\" follows it"},
      {"命宮 self 祿,紫微", 11,
       "self lists the transformations 祿, 權, 科 or 忌, not the star \"紫微\""},
      {"命宮 has \xff", 8, "unknown star \"\\xFF\" (a star of the chart, or 祿, 權, 科 or 忌)"},
  };
  for (const auto& c : cases) {
    const ConditionError error = refused(c.text);
    EXPECT_EQ(error.character, c.character) << c.text;
    EXPECT_EQ(error.message, c.message) << c.text;
  }
}

}  // namespace
}  // namespace ziwei::find
