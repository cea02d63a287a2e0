#include "rules/rule_text.h"

#include <gtest/gtest.h>

#include "chart/rule_options.h"

namespace ziwei {
namespace {

using S = Star;

TEST(TransformationText, ReadsOneStemInAnyLanguage) {
  ChartOptions options;
  // The 戊 variant with 太陽 for 科, in zh-Hant; 庚 陽武同陰 in zh-Hans;
  // 癸 with 太陽 for 科 in English, with blanks around the names.
  EXPECT_FALSE(setTransformationText(options, "戊=貪狼,太陰,太陽,天機"));
  EXPECT_FALSE(setTransformationText(options, "庚=太阳,武曲,天同,太阴"));
  const std::string yinTaiYang =
      "Gui = " + std::string(kEnglish(S::PoJun)) + ", " + std::string(kEnglish(S::JuMen)) + " ," +
      std::string(kEnglish(S::TaiYang)) + "," + std::string(kEnglish(S::TanLang));
  EXPECT_FALSE(setTransformationText(options, yinTaiYang));
  EXPECT_EQ(options.transformations[4], (std::array{S::TanLang, S::TaiYin, S::TaiYang, S::TianJi}));
  EXPECT_EQ(options.transformations[6], (std::array{S::TaiYang, S::WuQu, S::TianTong, S::TaiYin}));
  EXPECT_EQ(options.transformations[9], (std::array{S::PoJun, S::JuMen, S::TaiYang, S::TanLang}));
  for (const std::size_t untouched : {0U, 1U, 2U, 3U, 5U, 7U, 8U}) {
    EXPECT_EQ(options.transformations[untouched], kTransformations[untouched]) << untouched;
  }
  EXPECT_EQ(transformationsText(options),
            "戊=貪狼,太陰,太陽,天機;庚=太陽,武曲,天同,太陰;癸=破軍,巨門,太陽,貪狼");
}

TEST(TransformationText, RefusesNamingWhatIsWrong) {
  const struct {
    std::string_view text;
    std::string_view says;
  } cases[] = {
      {"戊 貪狼,太陰,太陽,天機", "is not STEM=S1,S2,S3,S4"},
      {"子=貪狼,太陰,太陽,天機", "\"子\" is not a stem: 甲 乙"},
      {"戊=貪狼,太陰,太陽", "does not name four stars"},
      {"戊=貪狼,太陰,太陽,天機,天同", "does not name four stars"},
      {"戊=貪狼,,太陽,天機", "does not name four stars"},
      {"戊=貪狼,太陰,貪狼,天機", "names 貪狼 twice"},
  };
  for (const auto& c : cases) {
    ChartOptions options;
    const auto error = setTransformationText(options, c.text);
    ASSERT_TRUE(error) << c.text;
    EXPECT_NE(error->find(c.says), std::string::npos) << *error;
    EXPECT_EQ(options, ChartOptions{}) << c.text;
  }
}

TEST(TransformationText, SeveralStemsSetAllOrNothing) {
  ChartOptions options;
  EXPECT_TRUE(setTransformationsText(options, "戊=貪狼,太陰,太陽,天機;壬=天梁,紫微,天府"));
  EXPECT_EQ(options, ChartOptions{});
  EXPECT_FALSE(setTransformationsText(options, ""));
  EXPECT_FALSE(setTransformationsText(options, "戊=貪狼,太陰,太陽,天機; 壬=天梁,紫微,天府,武曲"));
  EXPECT_EQ(options.transformations[8][2], S::TianFu);
  ChartOptions again;
  EXPECT_FALSE(setTransformationsText(again, transformationsText(options)));
  EXPECT_EQ(again, options);
  EXPECT_EQ(transformationsText(ChartOptions{}), "");
}

TEST(RulesFile, ReadsNamesWordsCommentsAndTransformations) {
  ChartOptions options;
  options.lateZi = LateZi::NextDay;  // kept: the file does not name it
  const auto error = readRulesText(
      "# my tradition\n"
      "\n"
      "year-boundary = spring   # 立春\n"
      "  age=birthday\r\n"
      "transformation = 壬=天梁,紫微,天府,武曲\n"
      "life-master = year",
      options);
  ASSERT_FALSE(error) << error->message;
  EXPECT_EQ(options.lateZi, LateZi::NextDay);
  EXPECT_EQ(options.yearBoundary, YearBoundary::Spring);
  EXPECT_EQ(options.age, AgeCount::Birthday);
  EXPECT_EQ(options.lifeMaster, LifeMasterRule::Year);
  EXPECT_EQ(options.transformations[8][2], S::TianFu);

  ChartOptions read;
  ASSERT_FALSE(readRulesText(rulesFileText(options), read));
  EXPECT_EQ(read, options);
  EXPECT_EQ(rulesFileText(ChartOptions{}).find('\n') + 1, rulesFileText(ChartOptions{}).size());
}

TEST(RulesFile, RefusesTheFirstBadLineByNumber) {
  const struct {
    std::string_view text;
    std::size_t line;
    std::string_view says;
  } cases[] = {
      {"age = birthday\nyear-boundary\n", 2, "is not NAME = WORD"},
      {"# x\n\nyear-bound = spring\n", 3, "\"year-bound\" is not a rule; the rules: late-zi"},
      {"leap-month = half\n", 1, "leap-month: \"half\" is not allowed; allowed: split|this|next"},
      {"age = birthday\ntransformation = 戊=貪狼\n", 2, "does not name four stars"},
  };
  for (const auto& c : cases) {
    ChartOptions options;
    const auto error = readRulesText(c.text, options);
    ASSERT_TRUE(error) << c.text;
    EXPECT_EQ(error->line, c.line) << c.text;
    EXPECT_NE(error->message.find(c.says), std::string::npos) << error->message;
    EXPECT_EQ(options, ChartOptions{}) << "a refused file sets nothing: " << c.text;
  }
}

}  // namespace
}  // namespace ziwei
