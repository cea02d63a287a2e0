#include "page/period_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "birth/target_moment.h"
#include "example_charts.h"

namespace ziwei {
namespace {

std::size_t count(const std::string& text, std::string_view part) {
  std::size_t found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

// The page of the running-periods worked example (chart/tests): 1984 month 1
// day 1 子 hour, male, at 2026-05-14 13:30 = 丙午 year, month 3 day 28, 未 hour;
// then a childhood target without a time, and a 水二局 chart at age 122, past
// its twelfth period.
struct PageCase {
  LunarBirth birth;
  TargetMoment target;
  std::vector<std::string_view> parts;
  std::size_t decadeMarks;
};

// The year's span names the year of its stem-branch, not the year of the
// age: by the birthday age (29 before the birthday in lunar 2030, 庚戌) and
// by the solar terms (2026-02-10, after 立春, is 丙午 2026).
TEST(PeriodPage, YearSpanIsTheRunningYear) {
  ChartRequest request;
  request.birth = {2001, 4, true, 17, 23, 30, 0, false};
  request.options.age = AgeCount::Birthday;
  request.target = targetOnSolar({2030, 2, 10});
  EXPECT_NE(assemblePeriodPage(cast(request), "d").find("<td>庚戌</td><td>2030年</td>"),
            std::string::npos);
  request.birth = test::firstExampleBirth();
  request.options = {};
  request.options.periodBoundary = PeriodBoundary::SolarTerms;
  request.target = targetOnSolar({2026, 2, 10});
  EXPECT_NE(assemblePeriodPage(cast(request), "d").find("<td>丙午</td><td>2026年</td>"),
            std::string::npos);
}

TEST(PeriodPage, CentreCellsAndMarks) {
  const std::vector<PageCase> cases = {
      {test::firstExampleBirth(),
       targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30}),
       {"<title>Tessaro紫微斗數運限</title>", "~ Tessaro紫微斗數運限盤 ~",
        "運限: 國曆2026年5月14日 13:30<br>農曆丙午年3月28日 未時 虛歲43歲",
        "<span class='pd'>大限</span></td><td>巳</td><td>己巳</td><td>36-45歲</td>",
        "<span class='pn'>小限</span></td><td>辰</td><td>戊辰</td><td>43歲</td>",
        "<span class='py'>流年</span></td><td>午</td><td>丙午</td><td>2026年</td>",
        "<span class='pm'>流月</span></td><td>申</td><td>壬辰</td><td>3月</td>",
        "<span class='pa'>流日</span></td><td>亥</td><td>戊子</td><td>28日</td>",
        "<span class='ph'>流時</span></td><td>午</td><td>己未</td><td>未時</td>",
        // 己 decade: 武曲 祿 beside its natal 科; 丙 year: 廉貞 忌 beside its 祿.
        "武曲△<font color='#0000FF'><strong>科</strong></font><span class='pd'><strong>運祿",
        "<span class='py'><strong>流忌</strong></span>", "<span class='lb pd'>大命</span>"},
       4},
      {test::secondExampleBirth(),
       targetOnSolar({2002, 3, 1}),
       {"國曆2002年3月1日<br>農曆壬午年1月18日 虛歲3歲", "<td>童限1-4歲</td>"},
       4},
      {{1912, 1, false, 1, 14, 0, 0, true},
       targetOnSolar({2033, 6, 1}),
       {"虛歲122歲", "<td colspan='3'>已過第十二大限</td>"},
       0},
  };
  for (const PageCase& c : cases) {
    const Chart chart = test::chartOf(c.birth, "陳<b>", c.target);
    const RunningPeriods& periods = *chart.periods;
    const std::string page = assemblePeriodPage(chart, "2026/12/7");
    for (const std::string_view part : c.parts)
      EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_EQ(page.find('@'), std::string::npos);
    EXPECT_EQ(page.find("陳<b>"), std::string::npos);
    // Outside the legend: the hour row only with a time; every level's stars once each; the four
    // transformed stars all stand in main groups.
    std::string cells = page;
    const auto key = cells.find("<div class='key'>");
    cells.erase(key, cells.find("</div>", key) - key);
    const bool hour = periods[PeriodLevel::Hour].present;
    EXPECT_EQ(count(cells, "流時"), hour ? 1u : 0u);
    // The legend names the hour level only when there is one.
    const std::string legend =
        page.substr(key, cells.size() < page.size() ? page.size() - cells.size() : 0);
    EXPECT_EQ(count(legend, "<span class='lb ph'>時</span>流時"), hour ? 1u : 0u) << legend;
    EXPECT_EQ(count(legend, "<span class='ph'>時</span> 魁鉞"), hour ? 1u : 0u) << legend;
    EXPECT_EQ(count(legend, "時"), hour ? 3u : 0u) << legend;
    for (const PeriodLevel level : {PeriodLevel::Decade, PeriodLevel::Year, PeriodLevel::Month,
                                    PeriodLevel::Day, PeriodLevel::Hour}) {
      const auto at = static_cast<std::size_t>(level);
      for (const std::string_view star : kZhHant.runningStars) {
        const std::string span =
            std::string("<span class='") + std::string(kPeriodLevelClasses[at]) + "'>" +
            std::string(kZhHant.runningPrefixes[at]) + std::string(star) + "</span> ";
        EXPECT_EQ(count(cells, span), periods[level].present ? 1u : 0u) << span;
      }
    }
    EXPECT_EQ(count(cells, "<span class='pd'><strong>運"), c.decadeMarks);
    EXPECT_EQ(count(cells, "<span class='py'><strong>流"), 4u);
    EXPECT_EQ(count(cells, "<span class='lb py'>年"), 12u);
    // The Big5 file is the UTF-8 page encoded.
    EXPECT_EQ(periodPageFile(chart, "2026/12/7", PageEncoding::Big5),
              encodePage(page, PageEncoding::Big5));
  }
}

}  // namespace
}  // namespace ziwei
