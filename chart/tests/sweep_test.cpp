// Exhaustive invariants over every birth selection the command line accepts:
// years 1912..2100, months 1..12, both leap flags, days 1..30, the twelve
// hour branches and both sexes. Every selection is cast; each star family is
// then checked for every distinct combination of the frame fields it reads,
// so each family sees every input the sweep produces without repeating work.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/numbering.h"
#include "chart/periods/periods.h"
#include "chart/stars/cycles.h"
#include "chart/stars/day_stars.h"
#include "chart/stars/hour_month_stars.h"
#include "chart/stars/main_stars.h"
#include "chart/stars/star_names.h"
#include "chart/stars/voids.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {
namespace {

constexpr YearRange kWideYears{1912, 2100};

int wrap(int n) { return wrapPalace(n); }

// The palace of every star named by one family's lists over the twelve
// palaces. Fails on a name outside the family, a name found twice, or names
// out of the family's test order within one list.
class FamilyLocator {
 public:
  explicit FamilyLocator(std::vector<Star> family) : family_(std::move(family)) {}

  template <class ListOf>
  std::array<int, kStarCount> locate(ListOf listOf, const std::string& context) const {
    std::array<int, kStarCount> where{};
    for (PalaceNum p = 1; p <= 12; ++p) {
      const std::string list = listOf(p);
      std::size_t lastRank = 0;
      std::size_t begin = 0;
      while (!list.empty() && begin <= list.size()) {
        std::size_t end = list.find(',', begin);
        if (end == std::string::npos) end = list.size();
        const std::string_view name(list.data() + begin, end - begin);
        const std::size_t rank = rankOf(name);
        if (rank == 0) {
          ADD_FAILURE() << context << ": stranger \"" << name << "\" in palace " << p;
          return where;
        }
        const auto star = static_cast<std::size_t>(family_[rank - 1]);
        EXPECT_EQ(where[star], 0) << context << ": " << name << " placed twice";
        EXPECT_GT(rank, lastRank) << context << ": order broken in \"" << list << "\"";
        where[star] = p;
        lastRank = rank;
        begin = end + 1;
      }
    }
    for (const Star star : family_) {
      EXPECT_NE(where[static_cast<std::size_t>(star)], 0)
          << context << ": " << starName(star) << " placed nowhere";
    }
    return where;
  }

 private:
  std::size_t rankOf(std::string_view name) const {
    for (std::size_t i = 0; i < family_.size(); ++i) {
      if (starName(family_[i]) == name) return i + 1;
    }
    return 0;
  }
  std::vector<Star> family_;
};

int at(const std::array<int, kStarCount>& where, Star star) {
  return where[static_cast<std::size_t>(star)];
}

std::string describe(const ChartState& c) {
  return std::to_string(c.BirthYear) + "/" + std::to_string(c.BirthMonth) + "/" +
         std::to_string(c.BirthDay) + " h" + std::to_string(c.HourNum) + " " + c.SexText;
}

// A twelve-spirit cycle gives every palace one name, twelve different names
// in all, and `first` at `start`, `second` one step on in its direction.
template <class NameOf>
void checkCycle(NameOf nameOf, int start, bool forward, std::string_view first,
                std::string_view second, const std::string& context) {
  std::set<std::string> names;
  for (PalaceNum p = 1; p <= 12; ++p) {
    const std::string name = nameOf(p);
    EXPECT_FALSE(name.empty()) << context << " palace " << p;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 12u) << context;
  EXPECT_EQ(nameOf(static_cast<PalaceNum>(start)), first) << context;
  EXPECT_EQ(nameOf(static_cast<PalaceNum>(wrap(start + (forward ? 1 : -1)))), second) << context;
}

// Notes which combinations of frame fields have been checked already.
struct Seen {
  std::vector<bool> flags;
  explicit Seen(std::size_t n) : flags(n) {}
  bool first(std::size_t key) { return !flags.at(key) && (flags[key] = true); }
  auto count() const { return std::count(flags.begin(), flags.end(), true); }
};

const FamilyLocator kMainFamily({Star::ZiWei, Star::TianJi, Star::TaiYang, Star::WuQu,
                                 Star::TianTong, Star::LianZhen, Star::TianFu, Star::TaiYin,
                                 Star::TanLang, Star::JuMen, Star::TianXiang, Star::TianLiang,
                                 Star::QiSha, Star::PoJun});
const FamilyLocator kHourFirst({kHourFirstStars.begin(), kHourFirstStars.end()});
const FamilyLocator kMonthFirst({kMonthFirstStars.begin(), kMonthFirstStars.end()});
const FamilyLocator kHourSecond({kHourSecondStars.begin(), kHourSecondStars.end()});
const FamilyLocator kMonthSecond({kMonthSecondStars.begin(), kMonthSecondStars.end()});
const FamilyLocator kStemFirst({kSkySFirstStars.begin(), kSkySFirstStars.end()});
const FamilyLocator kStemSecond({kSkySSecondStars.begin(), kSkySSecondStars.end()});
const FamilyLocator kBranchStars({kEarthSecondStars.begin(), kEarthSecondStars.end()});
const FamilyLocator kBranchStars2({kEarthSecondStars2.begin(), kEarthSecondStars2.end()});
const FamilyLocator kDayStars({kDaySecondStars.begin(), kDaySecondStars.end()});
const FamilyLocator kVoids({Star::XunKong});
const FamilyLocator kCutOff({Star::JieKong});
const FamilyLocator kLifeMarkers({Star::TianShang, Star::TianShi});

void checkFrame(const ChartState& c, int year, int month, bool leap, int day, int hour, bool male) {
  const std::string ctx = describe(c);
  ASSERT_EQ(c.YearStemNum, floorMod(year - 3 - 1, 10) + 1) << ctx;
  ASSERT_EQ(c.YearBranchNum, floorMod(year - 3 - 1, 12) + 1) << ctx;
  ASSERT_EQ(c.YearStem, getSKYWORD(c.YearStemNum)) << ctx;
  ASSERT_EQ(c.YearBranch, getEARTHWORD(c.YearBranchNum)) << ctx;
  const int lunarMonth = leap && day > 15 ? month % 12 + 1 : month;
  ASSERT_EQ(c.BirthMonth, lunarMonth) << ctx;
  ASSERT_EQ(c.MonthPalaceNum, wrap(lunarMonth + 2)) << ctx;
  ASSERT_EQ(c.HourNum, hour / 2 + 1) << ctx;  // even clock hours 0..22
  ASSERT_EQ(c.SexNum, male ? 1 : 2) << ctx;
  ASSERT_EQ(c.SexText, std::string(c.YearStemNum % 2 == 1 ? "陽" : "陰") + (male ? "男" : "女"))
      << ctx;
  ASSERT_EQ(c.LifePalaceNum, wrap(c.MonthPalaceNum - c.HourNum + 1)) << ctx;
  ASSERT_EQ(c.BodyPalaceNum, wrap(c.MonthPalaceNum + c.HourNum - 1)) << ctx;
  const int bureau = bureauNumber(c.BureauName);
  ASSERT_NE(bureau, 0) << ctx;
  ASSERT_EQ(c.ZiWeiNum, ziWeiByRule(bureau, day)) << ctx;
  ASSERT_TRUE(c.ZiWeiNum + c.TianFuNum == 6 || c.ZiWeiNum + c.TianFuNum == 18) << ctx;
}

void checkMainStars(const ChartState& c) {
  const auto where = kMainFamily.locate(
      [&](PalaceNum p) {
        std::string list = p == c.ZiWeiNum ? "紫微" : "";
        for (const std::string& part : {getFirstSubStar(c.ZiWeiNum, p), getSkyStar(c.ZiWeiNum, p),
                                        getSkySubStar(c.TianFuNum, p)}) {
          if (!part.empty()) list += (list.empty() ? "" : ",") + part;
        }
        return list;
      },
      "main stars, Zi Wei " + std::to_string(c.ZiWeiNum));
  const int z = c.ZiWeiNum;
  const int f = c.TianFuNum;
  EXPECT_EQ(at(where, Star::TianFu), f);
  EXPECT_EQ(getSkyStarNUM(c.ZiWeiNum), f);
  const std::array<std::pair<Star, int>, 13> rules = {{{Star::TianJi, z - 1},
                                                       {Star::TaiYang, z - 3},
                                                       {Star::WuQu, z - 4},
                                                       {Star::TianTong, z - 5},
                                                       {Star::LianZhen, z - 8},
                                                       {Star::TaiYin, f + 1},
                                                       {Star::TanLang, f + 2},
                                                       {Star::JuMen, f + 3},
                                                       {Star::TianXiang, f + 4},
                                                       {Star::TianLiang, f + 5},
                                                       {Star::QiSha, f + 6},
                                                       {Star::PoJun, f + 10},
                                                       {Star::ZiWei, z}}};
  for (const auto& [star, palace] : rules)
    EXPECT_EQ(at(where, star), wrap(palace)) << starName(star);
}

// Hour and month families, and the day stars counted from them.
void checkHourMonthDay(const ChartState& c, bool dayOnly) {
  const std::string ctx = describe(c);
  const int h = c.HourNum;
  const int m = c.MonthPalaceNum;
  const auto hourFirst =
      kHourFirst.locate([&](PalaceNum p) { return getHourFirstStar(c, p); }, ctx);
  const auto monthFirst =
      kMonthFirst.locate([&](PalaceNum p) { return getMonthFirstStar(c, p); }, ctx);
  const int k = c.BirthDay - 1;
  const auto day = kDayStars.locate([&](PalaceNum p) { return getDaySecondStar(c, p); }, ctx);
  EXPECT_EQ(at(day, Star::SanTai), wrap(at(monthFirst, Star::ZuoFu) + k)) << ctx;
  EXPECT_EQ(at(day, Star::BaZuo), wrap(at(monthFirst, Star::YouBi) - k)) << ctx;
  EXPECT_EQ(at(day, Star::EnGuang), wrap(at(hourFirst, Star::WenChang) + k - 1)) << ctx;
  EXPECT_EQ(at(day, Star::TianGui), wrap(at(hourFirst, Star::WenQu) + k - 1)) << ctx;
  if (dayOnly) return;

  EXPECT_EQ(at(hourFirst, Star::WenChang), wrap(12 - h)) << ctx;
  EXPECT_EQ(at(hourFirst, Star::WenQu), wrap(h + 4)) << ctx;
  // 火星 and 鈴星: steps from the hour branch by year-branch group.
  // by year branch % 4: 亥卯未, 申子辰, 巳酉丑, 寅午戌
  constexpr std::array<std::array<int, 2>, 4> kFireBellSteps = {
      {{9, 10}, {2, 10}, {3, 10}, {1, 3}}};
  const auto& steps = kFireBellSteps[static_cast<std::size_t>(c.YearBranchNum % 4)];
  EXPECT_EQ(at(hourFirst, Star::HuoXing), wrap(h + steps[0])) << ctx;
  EXPECT_EQ(at(hourFirst, Star::LingXing), wrap(h + steps[1])) << ctx;
  EXPECT_EQ(at(monthFirst, Star::ZuoFu), wrap(m + 2)) << ctx;
  EXPECT_EQ(at(monthFirst, Star::YouBi), wrap(14 - m)) << ctx;

  const auto hourSecond =
      kHourSecond.locate([&](PalaceNum p) { return getHourSecondStar(c, p); }, ctx);
  EXPECT_EQ(at(hourSecond, Star::DiJie), wrap(h - 1)) << ctx;
  EXPECT_EQ(at(hourSecond, Star::DiKong), wrap(13 - h)) << ctx;
  EXPECT_EQ(at(hourSecond, Star::TaiFu), wrap(h + 6)) << ctx;
  EXPECT_EQ(at(hourSecond, Star::FengGao), wrap(h + 2)) << ctx;

  const auto monthSecond =
      kMonthSecond.locate([&](PalaceNum p) { return getMonthSecondStar(c, p); }, ctx);
  const auto fromYin = static_cast<std::size_t>(floorMod(m - 3, 12));  // month - 1
  // 天馬 by month palace % 4: 亥卯未 巳, 申子辰 寅, 巳酉丑 亥, 寅午戌 申
  constexpr std::array<int, 4> kHorse = {6, 3, 12, 9};
  constexpr std::array<int, 4> kWitch = {6, 9, 3, 12};
  constexpr std::array<int, 6> kYinSha = {3, 1, 11, 9, 7, 5};
  constexpr std::array<int, 12> kMoon = {11, 6, 5, 3, 8, 4, 12, 8, 3, 7, 11, 3};  // by month
  EXPECT_EQ(at(monthSecond, Star::TianXing), wrap(m + 7)) << ctx;
  EXPECT_EQ(at(monthSecond, Star::TianYao), wrap(m - 1)) << ctx;
  EXPECT_EQ(at(monthSecond, Star::TianMa), kHorse[static_cast<std::size_t>(m % 4)]) << ctx;
  EXPECT_EQ(at(monthSecond, Star::JieShen), wrap(9 + 2 * static_cast<int>(fromYin / 2))) << ctx;
  EXPECT_EQ(at(monthSecond, Star::TianWu), kWitch[fromYin % 4]) << ctx;
  EXPECT_EQ(at(monthSecond, Star::TianYueMonth), kMoon[fromYin]) << ctx;
  EXPECT_EQ(at(monthSecond, Star::YinSha), kYinSha[fromYin % 6]) << ctx;
}

void checkYearStars(const ChartState& c) {
  const std::string ctx = describe(c);
  const int s = c.YearStemNum;
  const int y = c.YearBranchNum;

  const auto stem = kStemFirst.locate([&](PalaceNum p) { return getSkySFirstStar(c, p); }, ctx);
  kStemSecond.locate([&](PalaceNum p) { return getSkySSecondStar(c, p); }, ctx);
  const int luCun = at(stem, Star::LuCun);
  EXPECT_EQ(at(stem, Star::QingYang), wrap(luCun + 1)) << ctx;
  EXPECT_EQ(at(stem, Star::TuoLuo), wrap(luCun - 1)) << ctx;

  const auto br = kBranchStars.locate([&](PalaceNum p) { return getEarthSecondStar(c, p); }, ctx);
  const auto group = static_cast<std::size_t>(y % 4);  // 亥卯未, 申子辰, 巳酉丑, 寅午戌
  const auto season = static_cast<std::size_t>(floorMod(y - 3, 12) / 3);  // spring first
  const std::array<std::pair<Star, int>, 18> rules = {{
      {Star::TaiSui, y},
      {Star::TianKong, wrap(y + 1)},
      {Star::LongChi, wrap(y + 4)},
      {Star::YueDe, wrap(y + 5)},
      {Star::TianXu, wrap(y + 6)},
      {Star::SuiPo, wrap(y + 6)},
      {Star::TianKu, wrap(8 - y)},
      {Star::FengGe, wrap(12 - y)},
      {Star::TianXie, wrap(12 - y)},
      {Star::HongLuan, wrap(5 - y)},
      {Star::TianXi, wrap(11 - y)},
      {Star::MingMa, std::array{6, 3, 12, 9}[group]},
      {Star::HuaGai, std::array{8, 5, 2, 11}[group]},
      {Star::XianChi, std::array{1, 10, 7, 4}[group]},
      {Star::GuChen, std::array{6, 9, 12, 3}[season]},
      {Star::GuaSu, std::array{2, 5, 8, 11}[season]},
      {Star::PoSui, std::array{6, 2, 10}[static_cast<std::size_t>((y - 1) % 3)]},
      {Star::DiXie, std::array{8, 9, 10, 11, 12, 7}[static_cast<std::size_t>((y - 1) / 2)]},
  }};
  for (const auto& [star, palace] : rules) EXPECT_EQ(at(br, star), palace) << ctx << starName(star);

  // 旬空: the decade of the year's pair starts at 甲 with branch b0; it leaves
  // b0 - 2 and b0 - 1 void, the odd year branches taking the second.
  const int b0 = wrap(y - (s - 1));
  const auto xun = kVoids.locate([&](PalaceNum p) { return getEmptyDead(c, p); }, ctx);
  EXPECT_EQ(at(xun, Star::XunKong), wrap(y % 2 == 1 ? b0 - 1 : b0 - 2)) << ctx;
  // 截空: stem pairs 甲己 ... 戊癸 share a branch pair; the first stem takes its odd branch.
  const auto jie = kCutOff.locate([&](PalaceNum p) { return getDrDDTreeStar(c, p); }, ctx);
  EXPECT_EQ(at(jie, Star::JieKong), 9 - 2 * ((s - 1) % 5) + (s > 5 ? 1 : 0)) << ctx;

  checkCycle([&](PalaceNum p) { return getYearYFourStar(c, p); }, y, true, "歲建", "晦氣", ctx);
  checkCycle([&](PalaceNum p) { return getYearSSFourStar(c, p); }, std::array{4, 1, 10, 7}[group],
             true, "將星", "攀鞍", ctx);
  for (const char* label : {"陽男", "陰男", "陽女", "陰女"}) {
    checkCycle([&](PalaceNum p) { return getDrTreeStar(c, p, label); }, luCun, runsForward(label),
               "博士", "力士", ctx + " " + label);
  }
}

void checkLifeDependent(const ChartState& c) {
  const std::string ctx = describe(c);
  const int life = c.LifePalaceNum;
  const auto br2 = kBranchStars2.locate(
      [&](PalaceNum p) {
        return getEarthSecondStar2(c, p, getOtherHourse(c.LifePalaceNum, p), c.BodyPalaceNum);
      },
      ctx);
  EXPECT_EQ(at(br2, Star::TianCai), wrap(life + c.YearBranchNum - 1)) << ctx;
  EXPECT_EQ(at(br2, Star::TianShou), wrap(c.BodyPalaceNum + c.YearBranchNum - 1)) << ctx;

  const auto markers =
      kLifeMarkers.locate([&](PalaceNum p) { return getSkySSTreeStar(p, c.LifePalaceNum); }, ctx);
  EXPECT_EQ(getOtherHourse(c.LifePalaceNum, static_cast<PalaceNum>(at(markers, Star::TianShang))),
            "僕役宮");
  EXPECT_EQ(getOtherHourse(c.LifePalaceNum, static_cast<PalaceNum>(at(markers, Star::TianShi))),
            "疾厄宮");

  const bool forward = runsForward(c.SexText);
  constexpr std::array<int, 5> kGrowthStart = {9, 12, 6, 9, 3};
  const int bureau = bureauNumber(c.BureauName);
  checkCycle([&](PalaceNum p) { return getFiveLongLifeStar(c.BureauName, c.SexText, p); },
             kGrowthStart[static_cast<std::size_t>(bureau - 2)], forward, "長生", "沐浴", ctx);

  // The major periods run ten years a palace from the bureau's number, the
  // Life palace first, in the label's direction.
  for (PalaceNum p = 1; p <= 12; ++p) {
    const int from = bureau + 10 * floorMod(forward ? p - life : life - p, 12);
    ASSERT_EQ(getBigYear(c.BureauName, c.SexText, c.LifePalaceNum, p),
              std::to_string(from) + "-" + std::to_string(from + 9))
        << ctx;
  }
  // The minor-period ages 1..108 fall once each over the twelve palaces.
  std::array<int, 109> ages{};
  for (PalaceNum p = 1; p <= 12; ++p) {
    const std::string text = getSmallYear(c.YearBranchNum, c.SexNum, p);
    std::istringstream in(text);
    std::string rebuilt;  // " a b c": one blank before each age
    int count = 0;
    for (int age = 0; in >> age; ++count) {
      rebuilt += " " + std::to_string(age);
      ASSERT_TRUE(age >= 1 && age <= 108) << ctx;
      ++ages[static_cast<std::size_t>(age)];
    }
    EXPECT_EQ(rebuilt, text) << ctx;
    EXPECT_EQ(count, 9) << ctx;
  }
  for (int age = 1; age <= 108; ++age) EXPECT_EQ(ages[static_cast<std::size_t>(age)], 1) << ctx;
}

TEST(Sweep, EveryLunarBirthGivesAWholeChart) {
  Seen mainSeen(13), hourMonthSeen(13 * 13 * 13), daySeen(13 * 13 * 31), yearSeen(11 * 13),
      lifeSeen(2 * 2 * 5 * 13 * 13 * 13);
  long charts = 0;
  LunarBirth sel;
  for (int year = kWideYears.first; year <= kWideYears.last; ++year) {
    sel.year = year;
    for (int month = 1; month <= 12; ++month) {
      sel.month = month;
      for (const bool leap : {false, true}) {
        sel.leap = leap;
        for (int day = 1; day <= 30; ++day) {
          sel.day = day;
          for (int hour = 0; hour < 24; hour += 2) {
            sel.hour = hour;
            for (const bool male : {true, false}) {
              sel.male = male;
              const ChartState c = castFrame(sel);
              ++charts;
              checkFrame(c, year, month, leap, day, hour, male);
              if (mainSeen.first(static_cast<std::size_t>(c.ZiWeiNum))) checkMainStars(c);
              const auto hm = static_cast<std::size_t>((c.HourNum * 13 + c.MonthPalaceNum) * 13 +
                                                       c.YearBranchNum);
              const bool newHourMonth = hourMonthSeen.first(hm);
              const auto dk =
                  static_cast<std::size_t>((c.HourNum * 13 + c.MonthPalaceNum) * 31 + c.BirthDay);
              if (daySeen.first(dk) || newHourMonth) checkHourMonthDay(c, !newHourMonth);
              if (yearSeen.first(static_cast<std::size_t>(c.YearStemNum * 13 + c.YearBranchNum))) {
                checkYearStars(c);
              }
              const auto lk =
                  static_cast<std::size_t>(((((c.SexNum - 1) * 2 + (c.YearStemNum - 1) % 2) * 5 +
                                             (bureauNumber(c.BureauName) - 2)) *
                                                13 +
                                            c.LifePalaceNum) *
                                               13 * 13 +
                                           c.BodyPalaceNum * 13 + c.YearBranchNum);
              if (lifeSeen.first(lk)) checkLifeDependent(c);
              if (testing::Test::HasFatalFailure()) return;
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(charts, 189L * 12 * 2 * 30 * 12 * 2);
  // Every combination that can occur did occur.
  EXPECT_EQ(mainSeen.count(), 12);
  EXPECT_EQ(hourMonthSeen.count(), 12 * 12 * 12);
  EXPECT_EQ(daySeen.count(), 12 * 12 * 30);
  EXPECT_EQ(yearSeen.count(), 60);
}

// The Zi Wei day table agrees with its rule for every bureau and day.
TEST(Sweep, ZiWeiTableFollowsItsRule) {
  for (const std::string_view bureau : kBureauNames) {
    for (std::int16_t day = 1; day <= 30; ++day) {
      EXPECT_EQ(ziWeiPalace(bureau, day), ziWeiByRule(bureauNumber(bureau), day))
          << bureau << " day " << day;
    }
  }
}

}  // namespace
}  // namespace ziwei
