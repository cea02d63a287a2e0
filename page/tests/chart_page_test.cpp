#include "page/chart_page.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "example_charts.h"
#include "ordered_replacement.h"
#include "page/page_template.h"
#include "page/palace_cell.h"

namespace ziwei {
namespace {

std::string pageOf(const Chart& chart, std::string_view name = "您的姓名",
                   std::string_view date = "2026/12/6") {
  return assembleChartPage(test::renamed(chart, name), buildPageTemplate(), date);
}

bool has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// The centre block: print date, titles, sex label, name, animal, lunar date,
// then Dou Jun, Body master, Life master and bureau.
TEST(ChartPage, ExamplesFillTheCentreBlock) {
  const std::string first = pageOf(test::firstExample());
  for (const char* part :
       {"<td width='30%'>2026/12/6</td>", "<strong>Tessaro</strong>",
        "<strong>~ Tessaro紫微斗數命盤 ~ </strong>", "<font color='#6633FF'>陽男</font>",
        "<font color='#0000FF'>[                您的姓名 ]</font>",
        "<font color='#FF0000'>肖鼠</font>", "農曆:73年1月1日0時0分",
        "                        子</font></td>", "                        火星</font></td>",
        "                        祿存</font></td>", "                        火六局</font></td>",
        "<pre></pre>"}) {
    EXPECT_TRUE(has(first, part)) << part;
  }
  EXPECT_EQ(first.find('@'), std::string::npos);
  EXPECT_EQ(first.find_first_of("\r\n"), std::string::npos);
  // The month after the leap rule.
  const std::string second = pageOf(test::secondExample());
  for (const char* part :
       {"農曆:89年5月20日13時0分", "<font color='#6633FF'>陽女</font>", "肖龍",
        "                        卯</font></td>", "                        文昌</font></td>",
        "                        巨門</font></td>", "                        土五局</font></td>"}) {
    EXPECT_TRUE(has(second, part)) << part;
  }
}

TEST(ChartPage, EveryPalaceCellStandsInItsGridPlace) {
  const Chart chart = test::secondExample();
  const std::string page = pageOf(chart);
  const auto cell = [&chart](int n) { return test::cellText(chart, n); };
  EXPECT_TRUE(has(page, "<td width='157'>" + cell(6) + "    </td>"));
  EXPECT_TRUE(has(page, "<td width='157'>      " + cell(4) + "    </td>"));
  EXPECT_TRUE(has(page, "<td width='157'>      " + cell(3) + "    </td>"));
  for (int n : {7, 5, 2}) EXPECT_TRUE(has(page, "<td width='157'>" + cell(n) + " </td>")) << n;
  for (int n : {8, 9, 10, 11, 1, 12}) {
    EXPECT_TRUE(has(page, "<td width='158'>" + cell(n) + " </td>")) << n;
  }
}

TEST(ChartPage, RepublicYearAndLeapMonthEdges) {
  LunarBirth birth{1912, 12, true, 16, 23, 59, 0, true};
  EXPECT_TRUE(has(pageOf(test::chartOf(birth)), "農曆:1年1月16日23時59分"));
  birth.year = 2010;
  birth.leap = false;
  EXPECT_TRUE(has(pageOf(test::chartOf(birth)), "農曆:99年12月16日23時59分"));
}

TEST(ChartPage, TemplateIsLeftUnchanged) {
  const std::string pageTemplate = buildPageTemplate();
  const std::string copy = pageTemplate;
  const std::string first = assembleChartPage(test::firstExample(), pageTemplate, "d");
  const std::string second = assembleChartPage(test::secondExample(), pageTemplate, "d");
  EXPECT_EQ(pageTemplate, copy);
  EXPECT_NE(first, second);
}

// The one pass gives the page of ordered replacement, as text and as the
// Big5 and UTF-8 files, over births spread across the input space and names
// with markup, placeholders, characters Big5 cannot hold and broken UTF-8.
TEST(ChartPage, OnePassGivesThePageOfOrderedReplacement) {
  const PreparedTemplate& prepared = chartPageTemplate();
  ASSERT_EQ(prepared.text(), buildPageTemplate());
  const std::vector<std::string> names = {"陳大文", "@CYY@ & <b>", "😀 𠀋 \xE4", "\xFF\xE4\xB8", ""};
  std::size_t n = 0;
  for (const BirthRequest& request : test::spreadBirths()) {
    if (n++ % 3 != 0) continue;
    const Chart chart = test::chartOf(request.birth, names[n % names.size()]);
    const std::string reference =
        test::pageByOrderedReplacement(chart, prepared.text(), "2026/12/7");
    ASSERT_EQ(assembleChartPage(prepared, chart, "2026/12/7"), reference) << n;
    ASSERT_EQ(chartPageFile(prepared, chart, "2026/12/7", PageEncoding::Big5),
              encodePage(reference, PageEncoding::Big5))
        << n;
    if (n % 31 == 0) {
      ASSERT_EQ(chartPageFile(prepared, chart, "2026/12/7", PageEncoding::Utf8),
                encodePage(reference, PageEncoding::Utf8));
    }
  }
}

// Templates where a placeholder could form from neighbours, or whose pieces
// could encode otherwise than the whole, are refused when prepared.
TEST(ChartPage, TemplatesOnePassCannotFillAreRefused) {
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"<p>@txtNAME@Title@</p>", "byte 17: this \"@\" opens no placeholder"},
      {"a@b @CYY@", "byte 1: this \"@\" opens no placeholder"},
      {"@CYY@@CMM@", "byte 5: nothing but name characters"},
      {"@CDD@CHH@CMU@", "byte 8: nothing but name characters"},
      {"@CYY@_x9@CMM@", "byte 8: nothing but name characters"},
      {"ok \xE4", "byte 0: the template is not valid UTF-8"},
  };
  for (const auto& [text, why] : refused) {
    try {
      PreparedTemplate prepared(text);
      ADD_FAILURE() << text << " accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_TRUE(std::string(error.what()).starts_with("page template: " + why)) << error.what();
    }
  }
  const Chart chart = test::renamed(test::firstExample(), "@CYY@名");
  for (const std::string text : {"", "no placeholders", "@CYY@-@CYY@ @HourseNUM12@|@Title@",
                                 "@PAGENOTE@", "@txtNAME@ @CYY@"}) {
    EXPECT_EQ(assembleChartPage(chart, text, "d"), test::pageByOrderedReplacement(chart, text, "d"))
        << text;
  }
}

TEST(ChartPage, TodayIsAShortDate) {
  const std::string today = todayShortDate();
  EXPECT_FALSE(today.empty());
  EXPECT_LT(today.size(), 40u);
  EXPECT_EQ(today.find_first_of("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace ziwei
