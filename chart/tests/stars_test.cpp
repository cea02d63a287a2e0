// Star families, cycles, voids and brightness: what the sweep cannot reach
// (names given as text, labels and positions outside the ring, brightness,
// transformations and absolute starts), one test per family.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "chart/frame/cyclic_names.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/hour_month_stars.h"
#include "chart/stars/main_stars.h"
#include "chart/stars/voids.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {
namespace {

ChartState yearChart(std::int16_t stem, std::int16_t branch) {
  ChartState c;
  c.YearStemNum = stem;
  c.YearBranchNum = branch;
  c.YearStem = getSKYWORD(stem);
  c.YearBranch = getEARTHWORD(branch);
  return c;
}

ChartState hourMonthChart(PalaceNum hour, PalaceNum month) {
  ChartState c = yearChart(1, 1);
  c.HourNum = hour;
  c.MonthPalaceNum = month;
  return c;
}

TEST(MainStars, PositionsOutsideTheRingNameNoStar) {
  // Every Zi Wei position is placed and ordered in the sweep.
  EXPECT_EQ(getSkyStarNUM(0), 0);
  EXPECT_EQ(getFirstSubStar(7, 7), "");
  EXPECT_EQ(getSkySubStar(7, 7), "");
  EXPECT_EQ(getFirstSubStar(13, 12), "");
  EXPECT_EQ(getSkyStar(0, 6), "");
  EXPECT_EQ(getSkySubStar(5, 0), "");
}

TEST(HourMonthStars, WithoutAGroupOrAChart) {
  // Placement and shared palaces are checked for every input in the sweep.
  ChartState c = hourMonthChart(1, 3);
  c.YearBranch = "";  // no group: neither 火星 nor 鈴星
  std::string all;
  for (PalaceNum p = 1; p <= 12; ++p) all += getHourFirstStar(c, p) + ";";
  EXPECT_EQ(all, ";;;;文曲;;;;;;文昌;;");

  EXPECT_EQ(getMonthSecondStar(hourMonthChart(1, 3), 0), "");
  EXPECT_EQ(getMonthSecondStar(hourMonthChart(1, 0), 11), "");  // no chart yet
}

TEST(YearStemStars, PlacementAndTransformations) {
  EXPECT_EQ(getSkySFirstStar(yearChart(1, 1), 2), "陀羅,天魁");
  EXPECT_EQ(getSkySFirstStar(yearChart(7, 1), 8), "陀羅,天鉞");
  EXPECT_EQ(getSkySSecondStar(yearChart(3, 1), 1), "天福,天廚");
  EXPECT_EQ(getSkySFirstStar(yearChart(0, 1), 3), "");

  using enum Transformation;
  // {stem, star, transformation}: each stem's four, and stars without one.
  const struct {
    std::int16_t stem;
    Star star;
    Transformation transformation;
  } rows[] = {{1, Star::LianZhen, Lu},   {1, Star::PoJun, Quan},  {1, Star::WuQu, Ke},
              {1, Star::TaiYang, Ji},    {2, Star::ZiWei, Ke},    {3, Star::WenChang, Ke},
              {5, Star::YouBi, Ke},      {6, Star::WenQu, Ji},    {8, Star::WenChang, Ji},
              {9, Star::ZuoFu, Ke},      {9, Star::ZiWei, Quan},  {10, Star::TanLang, Ji},
              {10, Star::PoJun, Lu},     {1, Star::TianFu, None}, {4, Star::LuCun, None},
              {0, Star::LianZhen, None}, {11, Star::PoJun, None}};
  for (const auto& row : rows) {
    EXPECT_EQ(transformationOf(yearChart(row.stem, 1), row.star), row.transformation)
        << row.stem << " " << starName(row.star);
  }
  for (std::int16_t stem = 1; stem <= 10; ++stem) {
    int marked = 0;
    for (const StarInfo& info : kStars) {
      marked += transformationOf(yearChart(stem, 1), info.star) != None ? 1 : 0;
    }
    EXPECT_EQ(marked, 4) << stem;
  }
}

TEST(YearBranchStars, SharedPalacesTianCaiAndTianShou) {
  EXPECT_EQ(getEarthSecondStar(yearChart(5, 0), 1), "");

  const ChartState zi = yearChart(1, 1);
  EXPECT_EQ(getEarthSecondStar2(zi, 3, "命宮", 3), "天才,天壽");
  EXPECT_EQ(getEarthSecondStar2(zi, 3, "命宮 ", 3), "天壽");
  EXPECT_EQ(getEarthSecondStar2(zi, 4, "父母宮", 3), "");
  EXPECT_EQ(getEarthSecondStar2(yearChart(10, 12), 2, "兄弟宮", 3), "天才,天壽");
  EXPECT_EQ(getEarthSecondStar2(zi, 0, "命宮", 3), "");
  EXPECT_EQ(earthSecondStar2Palaces(12, 3, 0), (std::array<PalaceNum, 2>{2, 0}));
}

TEST(Cycles, StartsDirectionsAndLabels) {
  const ChartState jiaZi = yearChart(1, 1);
  const std::array<std::string, 12> doctor = {"博士", "力士", "青龍", "小耗", "將軍", "奏書",
                                              "蜚廉", "喜神", "病符", "大耗", "伏兵", "官府"};
  const std::array<std::string, 12> yearFront = {"歲建", "晦氣", "喪門", "貫索", "官符", "小耗",
                                                 "大耗", "龍德", "白虎", "天德", "弔客", "病符"};
  const std::array<std::string, 12> general = {"將星", "攀鞍", "歲驛", "息神", "華蓋", "劫煞",
                                               "災煞", "天煞", "指背", "咸池", "地煞", "亡神"};
  const std::array<std::string, 12> growth = {"長生", "沐浴", "冠帶", "臨官", "帝旺", "衰",
                                              "病",   "死",   "墓",   "絕",   "胎",   "養"};
  for (std::size_t step = 0; step < 12; ++step) {
    const auto from = [&](std::size_t start) {
      return static_cast<PalaceNum>((start - 1 + step) % 12 + 1);
    };
    EXPECT_EQ(getDrTreeStar(jiaZi, from(3), "陽男"), doctor[step]);
    EXPECT_EQ(getYearYFourStar(jiaZi, from(1)), yearFront[step]);
    EXPECT_EQ(getYearSSFourStar(jiaZi, from(1)), general[step]);
    EXPECT_EQ(getFiveLongLifeStar("水二局", "陰女", from(9)), growth[step]);
  }
  EXPECT_EQ(getDrTreeStar(jiaZi, 3, "男"), "");
  // Starts and directions are checked against 祿存 in the sweep; these pin
  // 祿存 itself through the doctor's start.
  EXPECT_EQ(getDrTreeStar(yearChart(5, 1), 6, "陽男"), "博士");  // 戊 like 丙
  EXPECT_EQ(getDrTreeStar(yearChart(3, 1), 6, "陽男"), "博士");
  EXPECT_EQ(getDrTreeStar(yearChart(6, 1), 7, "陽男"), "博士");  // 己 like 丁
  EXPECT_EQ(getDrTreeStar(yearChart(10, 1), 1, "陰男"), "博士");
  EXPECT_EQ(getDrTreeStar(yearChart(0, 1), 1, "陽男"), "");
  EXPECT_EQ(getFiveLongLifeStar("木三局", "?", 11), "沐浴");  // unknown label runs backward
  EXPECT_EQ(getFiveLongLifeStar("木三", "陽男", 12), "");
  EXPECT_EQ(getFiveLongLifeStar("金四局", "陽男", 0), "");

  EXPECT_EQ(getSkySSTreeStar(13, 8), "");
}

TEST(Voids, DecadeAndCutOff) {
  const std::pair<const char*, const char*> pairs[] = {
      {"甲子", "戌亥"}, {"癸酉", "戌亥"}, {"甲戌", "申酉"}, {"壬子", "寅卯"}, {"癸亥", "子丑"},
      {"甲丑", ""},     {"", ""},         {"甲", ""},       {"甲子 ", ""},    {"子甲", ""}};
  for (const auto& [pair, voids] : pairs) EXPECT_EQ(EmptyDead(pair), voids) << pair;

  for (PalaceNum p = 1; p <= 12; ++p) EXPECT_EQ(getEmptyDead(yearChart(1, 2), p), "") << p;  // 甲丑
  EXPECT_EQ(getDrDDTreeStar(yearChart(0, 1), 9), "");
}

TEST(Brightness, MainAndMinorGrades) {
  // {palace, star, main-group text, minor-group text ("" = not checked)}
  const struct {
    PalaceNum p;
    const char* star;
    const char* main;
    const char* minor;
  } rows[] = {
      {1, "紫微", "紫微△", ""},  {7, "紫微", "紫微◎", ""},  {2, "紫微", "紫微◎", "紫微ˉ"},
      {3, "紫微", "紫微○", ""},  {1, "太陽", "太陽Ｘ", ""}, {12, "太陽", "太陽Ｘ", ""},
      {4, "太陽", "太陽◎", ""},  {3, "天同", "天同△", ""},  {4, "天同", "天同△", ""},
      {7, "太陰", "太陰Ｘ", ""}, {4, "太陰", "太陰Ｘ", ""}, {3, "擎羊", "擎羊ˉ", ""},
      {1, "陀羅", "陀羅ˉ", ""},  {5, "祿存", "祿存ˉ", ""},  {2, "祿存", "祿存ˉ", ""},
      {3, "鈴星", "鈴星◎", ""},  {11, "天空", "", "天空ˉ"}, {12, "天空", "", "天空Ｘ"},
      {3, "天刑", "", "天刑◎"},  {1, "天刑", "", "天刑△"},  {2, "天刑", "天刑ˉ", "天刑Ｘ"},
      {12, "天壽", "", "天壽◎"}, {3, "地空", "", "地空ˉ"},  {2, "紫微 ", "紫微 ˉ", ""},
      {0, "紫微", "", ""},       {13, "天刑", "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.star) + " " + std::to_string(row.p));
    if (*row.main != '\0' || *row.minor == '\0') {
      EXPECT_EQ(checkMainStarType(row.p, row.star, 0), row.main);
    }
    if (*row.minor != '\0' || *row.main == '\0') {
      EXPECT_EQ(checkSubStarType(row.p, row.star, 0), row.minor);
    }
  }
  for (const char* star : {"左輔", "右弼", "天魁", "天鉞"}) {
    for (PalaceNum p = 1; p <= 12; ++p) {
      EXPECT_EQ(checkMainStarType(p, star, 0), std::string(star) + "ˉ");
    }
  }
}

}  // namespace
}  // namespace ziwei
