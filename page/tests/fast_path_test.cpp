// The fast paths of the page (palace layouts and cells appended into one
// buffer, the template filled in one pass) against the plain ones (the
// families' texts, HourInStr, ordered whole-text replacement), over births
// spread across the whole input space.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "chart/stars/star_names.h"
#include "example_charts.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/palace_cell.h"
#include "page/palace_groups.h"
#include "page/palace_layout.h"

namespace ziwei {
namespace {

std::vector<ChartState> sweepCharts() {
  std::vector<ChartState> charts;
  for (const BirthRequest& request : test::spreadBirths())
    charts.push_back(castFrame(request.birth));
  return charts;
}

// Empty when the texts are equal, else where they first differ and what
// follows there in each.
std::string difference(std::string_view fast, std::string_view plain) {
  if (fast == plain) return {};
  std::size_t at = 0;
  while (at < fast.size() && at < plain.size() && fast[at] == plain[at]) ++at;
  return "differ at byte " + std::to_string(at) + ": fast \"" + std::string(fast.substr(at, 60)) +
         "\", plain \"" + std::string(plain.substr(at, 60)) + "\"";
}

std::vector<std::string> namesOf(const auto& row) {
  std::vector<std::string> names;
  for (const Star star : row) names.emplace_back(starName(star));
  return names;
}

TEST(FastPath, LayoutsAndCellsEqualTheFamiliesTexts) {
  for (const ChartState& chart : sweepCharts()) {
    const ChartLayout layout = layOutPalaces(chart);
    for (PalaceNum p = 1; p <= 12; ++p) {
      const PalaceGroups groups = gatherPalaceGroups(chart, p);
      const PalaceLayout& palace = layout[static_cast<std::size_t>(p - 1)];
      const std::string where = std::to_string(chart.BirthYear) + "/" +
                                std::to_string(chart.BirthMonth) + "/" +
                                std::to_string(chart.BirthDay) + " palace " + std::to_string(p);
      ASSERT_EQ(namesOf(palace.main), groups.main) << where;
      ASSERT_EQ(namesOf(palace.voids), groups.voids) << where;
      ASSERT_EQ(namesOf(palace.markers), groups.markers) << where;
      ASSERT_EQ(namesOf(palace.minor), groups.minor) << where;
      ASSERT_EQ(palace.redName, groups.redName) << where;
      std::string cell = "before";
      appendPalaceCell(cell, chart, palace, p);
      ASSERT_EQ(difference(cell, "before" + HourInStr(chart, p)), "") << where;
    }
  }
}

TEST(FastPath, PagesEqualOrderedReplacement) {
  const PreparedTemplate& prepared = chartPageTemplate();
  ASSERT_TRUE(prepared.fillsInOnePass());
  ASSERT_EQ(prepared.text(), buildPageTemplate());
  // Names with characters Big5 cannot hold and malformed UTF-8, whose
  // references must come out as when the whole page is encoded.
  const std::vector<std::string> names = {"陳大文", "@CYY@ & <b>", "😀 𠀋 \xE4", "\xFF\xE4\xB8", ""};
  std::size_t n = 0;
  for (const BirthRequest& request : test::spreadBirths()) {
    const LunarBirth& birth = request.birth;
    const ChartState chart = castFrame(birth);
    const std::string& name = names[n++ % names.size()];
    const std::string plainPage =
        assembleChartPageByReplacement(chart, prepared.text(), name, "2026/12/7");
    ASSERT_EQ(difference(assembleChartPage(prepared, chart, name, "2026/12/7"), plainPage), "")
        << birth.year << "/" << birth.month << "/" << birth.day << " " << name;
    ASSERT_EQ(difference(chartPageFile(prepared, chart, name, "2026/12/7", PageEncoding::Big5),
                         encodePage(plainPage, PageEncoding::Big5)),
              "")
        << birth.year << "/" << birth.month << "/" << birth.day << " " << name;
    if (n % 16 == 0) {
      ASSERT_EQ(chartPageFile(prepared, chart, name, "d", PageEncoding::Utf8),
                encodePage(assembleChartPageByReplacement(chart, prepared.text(), name, "d"),
                           PageEncoding::Utf8));
    }
  }
}

// Templates where a placeholder can form from neighbours: filled by ordered
// replacement, so that "@txtNAME@Title@" loses its "@Title@" to step 1.
TEST(FastPath, TemplatesThatJoinPlaceholdersFallBackToOrderedReplacement) {
  const ChartState chart = castFrame(LunarBirth{});
  const std::vector<std::string> joining = {
      "<p>@txtNAME@Title@</p>", "@CYY@@CMM@", "@CDD@CHH@CMU@", "a@b @CYY@",
      "@HourseNUM0@Title@",     "@@Title@@",
  };
  for (const std::string& text : joining) {
    EXPECT_FALSE(PreparedTemplate(text).fillsInOnePass()) << text;
    EXPECT_EQ(assembleChartPage(chart, text, "名", "d"),
              assembleChartPageByReplacement(chart, text, "名", "d"))
        << text;
    EXPECT_EQ(
        chartPageFile(PreparedTemplate(text), chart, "名", "d", PageEncoding::Big5),
        encodePage(assembleChartPageByReplacement(chart, text, "名", "d"), PageEncoding::Big5))
        << text;
  }
  EXPECT_EQ(assembleChartPage(chart, "<p>@txtNAME@Title@</p>", "名", "d"),
            "<p>@txtNAMETessaro</p>");

  const std::vector<std::string> separate = {"", "no placeholders",
                                             "@CYY@-@CYY@ @HourseNUM12@|@Title@", "@PAGENOTE@"};
  for (const std::string& text : separate) {
    EXPECT_TRUE(PreparedTemplate(text).fillsInOnePass()) << text;
    EXPECT_EQ(assembleChartPage(chart, text, "名", "d"),
              assembleChartPageByReplacement(chart, text, "名", "d"))
        << text;
  }
}

}  // namespace
}  // namespace ziwei
