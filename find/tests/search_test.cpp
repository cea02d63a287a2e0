// The search over births: the order it hands matches back in, whatever the
// threads; the limit; the hours, sexes and the late 子 rule; the ranges it
// refuses.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "calendar/lunar.h"
#include "find/condition_text.h"
#include "find/search.h"
#include "find/tests/read_conditions.h"

namespace ziwei::find {
namespace {

using calendar::GregorianDate;

using test::queryOf;

std::vector<Match> found(const Query& query, const BirthRange& range, SearchSettings settings = {},
                         SearchTotals* totals = nullptr) {
  std::vector<Match> matches;
  const SearchTotals t =
      search(query, range, settings, [&](const Match& m) { matches.push_back(m); });
  if (totals) *totals = t;
  EXPECT_EQ(t.matches, matches.size());
  return matches;
}

BirthRange daysFrom(GregorianDate from, GregorianDate to) {
  BirthRange range;
  range.from = from;
  range.to = to;
  return range;
}

TEST(Search, EveryBirthInDateHourSexOrder) {
  const BirthRange range = daysFrom({2001, 6, 7}, {2001, 6, 8});
  SearchTotals totals;
  const std::vector<Match> all = found(Query({}), range, {}, &totals);
  ASSERT_EQ(all.size(), 2u * 12 * 2);
  EXPECT_EQ(totals.charts, birthCount(range));
  EXPECT_FALSE(totals.limited);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Match& m = all[i];
    EXPECT_EQ(m.birth, i);
    EXPECT_EQ(m.date, (GregorianDate{2001, 6, i < 24 ? 7 : 8}));
    EXPECT_EQ(m.hour, kBranchHours[i / 2 % 12]);
    EXPECT_EQ(m.male, i % 2 == 0);
    EXPECT_EQ(m.lunar, calendar::to_lunar(m.date));
  }
  EXPECT_EQ(all[24].lunar, (calendar::LunarDate{2001, 4, true, 17}));
}

TEST(Search, TheOrderIsTheSameOnAnyNumberOfThreads) {
  // About 90 days: more chunks than the threads keep under way.
  const BirthRange range = daysFrom({1999, 12, 1}, {2000, 2, 29});
  const Query query = queryOf({"命宮 has 紫微", "遷移宮 lacks 擎羊"});
  const std::vector<Match> one = found(query, range, {1, 0});
  EXPECT_GT(one.size(), 100u);
  EXPECT_EQ(found(query, range, {2, 0}), one);
  EXPECT_EQ(found(query, range, {7, 0}), one);
  for (std::size_t i = 1; i < one.size(); ++i) EXPECT_LT(one[i - 1].birth, one[i].birth);
}

TEST(Search, TheLimitStopsAtItsMatch) {
  const BirthRange range = daysFrom({1999, 12, 1}, {2000, 2, 29});
  const Query query = queryOf({"命宮 self 祿"});
  const std::vector<Match> all = found(query, range, {2, 0});
  ASSERT_GT(all.size(), 10u);
  for (const std::uint64_t limit : {1u, 10u}) {
    SearchTotals totals;
    const std::vector<Match> first = found(query, range, {2, limit}, &totals);
    EXPECT_EQ(first, std::vector<Match>(all.begin(), all.begin() + static_cast<long>(limit)));
    EXPECT_TRUE(totals.limited);
    EXPECT_EQ(totals.charts, first.back().birth + 1);
  }
  SearchTotals totals;
  EXPECT_EQ(found(query, range, {2, all.size()}, &totals).size(), all.size());
  EXPECT_TRUE(totals.limited);
}

TEST(Search, HoursAndSexesAsAskedAndTheLateZiRule) {
  BirthRange range = daysFrom({2001, 6, 8}, {2001, 6, 8});
  range.hours = {0, 2, 23};
  range.male = false;
  const std::vector<Match> same = found(Query({}), range);
  ASSERT_EQ(same.size(), 3u);
  for (const Match& m : same) {
    EXPECT_FALSE(m.male);
    EXPECT_EQ(m.lunar, (calendar::LunarDate{2001, 4, true, 17}));
  }
  EXPECT_EQ(same[2].hour, 23);
  range.options.lateZi = LateZi::NextDay;
  const std::vector<Match> next = found(Query({}), range);
  ASSERT_EQ(next.size(), 3u);
  EXPECT_EQ(next[1].lunar, (calendar::LunarDate{2001, 4, true, 17}));
  EXPECT_EQ(next[2].date, (GregorianDate{2001, 6, 8}));
  EXPECT_EQ(next[2].lunar, (calendar::LunarDate{2001, 4, true, 18}));
}

TEST(Search, OneDateWithEveryHourTellsTheHoursOfAChart) {
  // The 命宮 of the 子-hour chart of 2001-06-08 holds 天梁, 天魁 and 右弼;
  // in the 卯 hour 太陽 and 天梁 (find/tests/condition_test.cpp).
  BirthRange range = daysFrom({2001, 6, 8}, {2001, 6, 8});
  range.female = false;
  const std::vector<Match> zi = found(queryOf({"命宮 has 天梁,右弼"}), range);
  ASSERT_FALSE(zi.empty());
  EXPECT_EQ(zi.front().hour, 0);
  const std::vector<Match> mao = found(queryOf({"命宮 has 太陽,天梁", "官祿宮 empty"}), range);
  ASSERT_EQ(mao.size(), 1u);
  EXPECT_EQ(mao.front().hour, 5);
}

TEST(Search, RangesItCannotWalkAreRefused) {
  const auto fault = [](BirthRange range) { return rangeFault(range).value_or(""); };
  EXPECT_EQ(fault(BirthRange{}), "");
  EXPECT_EQ(birthCount(BirthRange{}), std::uint64_t{68984} * 12 * 2);
  EXPECT_EQ(fault(daysFrom({2001, 2, 29}, {2001, 3, 1})), "the date 2001-02-29 does not exist");
  EXPECT_EQ(fault(daysFrom({1912, 2, 17}, {2001, 3, 1})),
            "the date 1912-02-17 lies outside 1912-02-18 to 2100-12-31 (lunar years 1912 to "
            "2100)");
  EXPECT_EQ(fault(daysFrom({2001, 3, 2}, {2001, 3, 1})),
            "the range ends (2001-03-01) before it begins (2001-03-02)");
  BirthRange range;
  range.male = range.female = false;
  EXPECT_EQ(fault(range), "neither sex is searched");
  range = {};
  range.hours = {};
  EXPECT_EQ(fault(range), "no hour is searched");
  range.hours = {3, 1};
  EXPECT_EQ(fault(range), "the hours are not ascending, each once");
  range.hours = {24};
  EXPECT_EQ(fault(range), "the hour 24 is not 0 to 23");
  range.hours = {23};
  EXPECT_EQ(fault(range), "");
  range.options.lateZi = LateZi::NextDay;
  EXPECT_EQ(fault(range),
            "hour 23 under the late-zi next-day rule is the next day's 子 hour, and the calendar "
            "ends on 2100-12-31 (end the range a day earlier)");
  range.to = {2100, 12, 30};
  EXPECT_EQ(fault(range), "");
  range.to = {2100, 12, 31};
  EXPECT_THROW(search(Query({}), range, {}, [](const Match&) {}), std::invalid_argument);
}

TEST(Search, AFailureOfTheCallerEndsTheSearch) {
  const BirthRange range = daysFrom({2001, 1, 1}, {2001, 12, 31});
  std::size_t calls = 0;
  EXPECT_THROW(search(Query({}), range, {2, 0},
                      [&](const Match&) {
                        if (++calls == 100) throw std::runtime_error("the output is full");
                      }),
               std::runtime_error);
  EXPECT_EQ(calls, 100u);
}

}  // namespace
}  // namespace ziwei::find
