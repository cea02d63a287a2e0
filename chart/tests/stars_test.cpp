// Star families, cycles, voids and brightness: what the sweep cannot reach
// (positions outside the ring, brightness, transformations and absolute
// starts), one test per family.

#include <gtest/gtest.h>

#include <array>
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

using namespace branch;

ChartState yearChart(int stem, int yearBranch) {
  ChartState c;
  c.YearStem = Stem(stem);
  c.YearBranch = Branch(yearBranch);
  return c;
}

TEST(HourMonthStars, WithoutAYearBranch) {
  // Placement and shared palaces are checked for every input in the sweep.
  ChartState c = yearChart(1, 0);  // no group: neither 火星 nor 鈴星
  c.HourNum = Branch(1);
  c.MonthPalaceNum = Yin;
  const auto hourFirst = getHourFirstStar(c);
  EXPECT_EQ(hourFirst[0], Xu);    // 文昌
  EXPECT_EQ(hourFirst[1], Chen);  // 文曲
  EXPECT_FALSE(hourFirst[2].valid());
  EXPECT_FALSE(hourFirst[3].valid());
}

TEST(YearStemStars, Transformations) {
  using enum Transformation;
  // {stem, star, transformation}: each stem's four, and stars without one.
  const struct {
    int stem;
    Star star;
    Transformation transformation;
  } rows[] = {{1, Star::LianZhen, Lu},   {1, Star::PoJun, Quan},  {1, Star::WuQu, Ke},
              {1, Star::TaiYang, Ji},    {2, Star::ZiWei, Ke},    {3, Star::WenChang, Ke},
              {5, Star::YouBi, Ke},      {6, Star::WenQu, Ji},    {8, Star::WenChang, Ji},
              {9, Star::ZuoFu, Ke},      {9, Star::ZiWei, Quan},  {10, Star::TanLang, Ji},
              {10, Star::PoJun, Lu},     {1, Star::TianFu, None}, {4, Star::LuCun, None},
              {0, Star::LianZhen, None}, {11, Star::PoJun, None}};
  for (const auto& row : rows) {
    EXPECT_EQ(getSkyOFirstStar(yearChart(row.stem, 1), row.star), row.transformation)
        << row.stem << " " << static_cast<int>(row.star);
  }
  for (int stem = 1; stem <= 10; ++stem) {
    int marked = 0;
    for (const StarInfo& info : kStars) {
      marked += transformationBy(kTransformations, Stem(stem), info.star) != None ? 1 : 0;
    }
    EXPECT_EQ(marked, 4) << stem;
  }
}

TEST(YearBranchStars, WithoutABranchOrABodyPalace) {
  for (const PalaceNum p : getEarthSecondStar(yearChart(5, 0))) EXPECT_FALSE(p.valid());
  EXPECT_EQ(getEarthSecondStar2(Branch(12), Yin, PalaceNum()),
            (FamilyPalaces<Family::BranchLifeBody>{Chou, PalaceNum()}));
}

TEST(Cycles, StartsAndDirections) {
  const ChartState jiaZi = yearChart(1, 1);
  for (int step = 0; step < 12; ++step) {
    const auto from = [&](PalaceNum start) { return start + step; };
    const auto back = [&](PalaceNum start) { return start - step; };
    EXPECT_EQ(getDrTreeStar(jiaZi, from(Yin), SexLabel::YangMale), step);
    EXPECT_EQ(getDrTreeStar(jiaZi, back(Yin), SexLabel::YangFemale), step);
    EXPECT_EQ(getYearYFourStar(Branch(1), from(Zi)), step);
    EXPECT_EQ(getYearSSFourStar(Branch(1), from(Zi)), step);
    EXPECT_EQ(getYearSSFourStar(Branch(2), from(You)), step);
    EXPECT_EQ(getFiveLongLifeStar(Bureau::Water, SexLabel::YinFemale, from(Shen)), step);
    EXPECT_EQ(getFiveLongLifeStar(Bureau::Fire, SexLabel::YinMale, back(Yin)), step);
  }
  // Starts and directions are checked against 祿存 in the sweep; these pin
  // 祿存 itself through the doctor's start.
  EXPECT_EQ(getDrTreeStar(yearChart(5, 1), Si, SexLabel::YangMale), 0);  // 戊 like 丙
  EXPECT_EQ(getDrTreeStar(yearChart(3, 1), Si, SexLabel::YangMale), 0);
  EXPECT_EQ(getDrTreeStar(yearChart(6, 1), Wu, SexLabel::YangMale), 0);  // 己 like 丁
  EXPECT_EQ(getDrTreeStar(yearChart(10, 1), Zi, SexLabel::YinMale), 0);
  EXPECT_EQ(getFiveLongLifeStar(Bureau::Wood, SexLabel::YinMale, Xu), 1);  // 沐浴, backward

  for (const PalaceNum p : getSkySSTreeStar(PalaceNum())) EXPECT_FALSE(p.valid());
}

TEST(Voids, DecadeAndCutOff) {
  const auto voids = [](int stem, int yearBranch) {
    const std::array<Branch, 2> pair = EmptyDead({Stem(stem), Branch(yearBranch)});
    return std::string(nameOf(pair[0])) + std::string(nameOf(pair[1]));
  };
  EXPECT_EQ(voids(1, 1), "戌亥");    // 甲子
  EXPECT_EQ(voids(10, 10), "戌亥");  // 癸酉
  EXPECT_EQ(voids(1, 11), "申酉");   // 甲戌
  EXPECT_EQ(voids(9, 1), "寅卯");    // 壬子
  EXPECT_EQ(voids(10, 12), "子丑");  // 癸亥
  EXPECT_EQ(voids(1, 2), "");        // 甲丑 is no pair of the cycle
  EXPECT_EQ(voids(0, 1), "");

  EXPECT_FALSE(getDrDDTreeStar(yearChart(0, 1))[0].valid());
}

TEST(Brightness, MainAndMinorGrades) {
  using enum Brightness;
  // {palace, star, on the main scale, on the minor scale}
  const struct {
    int p;
    Star star;
    Brightness main;
    Brightness minor;
  } rows[] = {
      {1, Star::ZiWei, Fair, None},          {7, Star::ZiWei, Brightest, None},
      {2, Star::ZiWei, Brightest, None},     {3, Star::ZiWei, Bright, None},
      {1, Star::TaiYang, Dark, None},        {12, Star::TaiYang, Dark, None},
      {4, Star::TaiYang, Brightest, None},   {3, Star::TianTong, Fair, None},
      {4, Star::TianTong, Fair, None},       {7, Star::TaiYin, Dark, None},
      {4, Star::TaiYin, Dark, None},         {3, Star::QingYang, None, None},
      {1, Star::TuoLuo, None, None},         {5, Star::LuCun, None, None},
      {3, Star::LingXing, Brightest, None},  {11, Star::TianKong, None, None},
      {12, Star::TianKong, None, Dark},      {3, Star::TianXing, None, Brightest},
      {1, Star::TianXing, None, Fair},       {2, Star::TianXing, None, Dark},
      {12, Star::TianShou, None, Brightest}, {3, Star::DiKong, None, None},
      {0, Star::ZiWei, None, None},          {0, Star::TianXing, None, None},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(static_cast<int>(row.star)) + " " + std::to_string(row.p));
    EXPECT_EQ(checkMainStarType(PalaceNum(row.p), row.star), row.main);
    EXPECT_EQ(checkSubStarType(PalaceNum(row.p), row.star), row.minor);
  }
  for (const Star star : {Star::ZuoFu, Star::YouBi, Star::TianKui, Star::TianYue}) {
    for (const PalaceNum p : kPalaces) EXPECT_EQ(checkMainStarType(p, star), None);
  }
}

}  // namespace
}  // namespace ziwei
