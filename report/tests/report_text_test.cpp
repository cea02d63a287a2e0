// The chart as text: a worked example, the golden files, the languages and
// the user's texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "birth/target_moment.h"
#include "page/tests/example_charts.h"
#include "report/render.h"
#include "report/tests/read_report.h"
#include "rules/rule_text.h"
#include "unicode/utf8.h"
#include "vocabulary/tests/opencc.h"

namespace ziwei {
namespace {

const ReportSection& titled(const Report& report, std::string_view title) {
  for (const ReportSection& section : report) {
    if (section.title == title) return section;
  }
  ADD_FAILURE() << "no section " << title;
  return report.front();
}

std::string fieldOf(const ReportSection& section, std::string_view label) {
  for (const ReportField& field : section.fields) {
    if (field.label == label) return field.value;
  }
  return "(none)";
}

// 1984 (甲子) month 1 day 1 子 hour, male: Life and Body at 寅. The palaces
// run 命 寅, 兄弟 丑, 夫妻 子 ... 父母 卯, their stems by the five tigers from
// 甲 (丙寅 .. 丁丑). 命宮's stem 丙 gives 祿 權 科 忌 to 天同 (辰), 天機 (申),
// 文昌 (戌) and 廉貞 (丑); 疾厄宮 癸酉 gives its own 貪狼 忌 (離心); 財帛宮 甲戌
// takes 科 on its 右弼 from the 戊 of 辰 opposite (向心).
TEST(ChartReport, WorkedExample) {
  const Report report = chartReport(test::firstExample());
  const ReportWords& w = kZhHant.report;
  std::vector<std::string> palaces;
  for (const ReportSection& section : report) {
    if (section.depth == 3) palaces.push_back(section.title);
  }
  EXPECT_EQ(palaces, (std::vector<std::string>{
                         "命宮 · 丙寅 · 身宮", "兄弟宮 · 丁丑", "夫妻宮 · 丙子", "子女宮 · 乙亥",
                         "財帛宮 · 甲戌", "疾厄宮 · 癸酉", "遷移宮 · 壬申", "僕役宮 · 辛未",
                         "官祿宮 · 庚午", "田宅宮 · 己巳", "福德宮 · 戊辰", "父母宮 · 丁卯"}));
  const ReportSection& life = titled(report, "命宮 · 丙寅 · 身宮");
  EXPECT_EQ(fieldOf(life, w.flies),
            "化祿 天同 → 福德宮 (辰), 化權 天機 → 遷移宮 (申), 化科 文昌 → 財帛宮 (戌), "
            "化忌 廉貞 → 兄弟宮 (丑)");
  EXPECT_EQ(fieldOf(life, w.trine), "命宮 (寅), 遷移宮 (申), 官祿宮 (午), 財帛宮 (戌)");
  EXPECT_EQ(fieldOf(life, w.flank), "兄弟宮 (丑), 父母宮 (卯)");
  EXPECT_EQ(fieldOf(life, w.self), "(none)");
  EXPECT_EQ(fieldOf(titled(report, "疾厄宮 · 癸酉"), w.self), "化忌 貪狼");
  EXPECT_EQ(fieldOf(titled(report, "財帛宮 · 甲戌"), w.inward), "化科 右弼");
  EXPECT_EQ(fieldOf(titled(report, "兄弟宮 · 丁丑"), w.mainStars),
            "廉貞 (△, 化祿), 七殺 (◎), 陀羅 (◎), 天魁");
  EXPECT_EQ(fieldOf(report[0], w.bodyPalace), "命宮 (寅)");
  // No date of the day it is made, unless one is asked for.
  EXPECT_EQ(fieldOf(report[0], w.printDate), "(none)");
  EXPECT_EQ(
      fieldOf(chartReport(test::firstExample(), {std::nullopt, "2026/12/06"})[0], w.printDate),
      "2026/12/06");
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A golden file: the rendering of one fixed chart, reviewed by eye against
// its JSON document. ZIWEI_UPDATE_GOLDEN=1 writes it anew.
void expectGolden(const std::string& name, const std::string& rendered) {
  const std::string path = std::string(ZIWEI_REPORT_GOLDEN) + "/" + name;
  if (std::getenv("ZIWEI_UPDATE_GOLDEN") != nullptr)
    std::ofstream(path, std::ios::binary) << rendered;
  EXPECT_EQ(rendered, readFile(path)) << path;
}

// The worked example at 2026-05-14 13:30 as zh-Hant text; a Gregorian birth
// (2001-06-08 23:30, lunar leap month 4 day 17), female, by the birthday age
// at 2030-02-10 without a time, as English Markdown with a printed date and
// a name that needs escapes.
TEST(ChartReport, GoldenFiles) {
  const Chart worked = test::chartOf(test::firstExampleBirth(), "您的姓名",
                                     targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30}));
  expectGolden("chart-1984-zh-hant.txt", chartReportText(worked, {}, kZhHant, ReportFormat::Text));

  ChartRequest request;
  request.name = "Chen *Da* Wen";
  request.birth = {2001, 4, true, 17, 23, 30, 0, false};
  request.options.age = AgeCount::Birthday;
  request.target = targetOnSolar({2030, 2, 10});
  expectGolden("chart-2001-en.md",
               chartReportText(cast(request), {calendar::GregorianDate{2001, 6, 8}, "2026/12/06"},
                               kEnglish, ReportFormat::Markdown));
}

// Charts with and without targets, rules and an hour.
std::vector<Chart> someCharts(const std::string& name) {
  std::vector<Chart> charts;
  for (const LunarBirth& birth : {test::firstExampleBirth(), test::secondExampleBirth()}) {
    charts.push_back(test::chartOf(birth, name));
    charts.push_back(test::chartOf(birth, name, targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30})));
  }
  ChartRequest request;
  request.name = name;
  request.birth = {1950, 7, false, 9, 5, 0, 0, true};
  request.options.yearBoundary = YearBoundary::Spring;
  (void)setTransformationText(request.options, "戊=貪狼,太陰,太陽,天機");
  request.target = targetOnLunar({2060, 1, false, 1});
  charts.push_back(cast(request));
  return charts;
}

bool isCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) || c >= 0x20000;
}

// zh-Hans is the zh-Hant text through OpenCC, line for line (the name kept
// one both scripts write alike); English holds no Chinese character at all.
TEST(ChartReport, Languages) {
  for (const Chart& chart : someCharts("王小明")) {
    for (const ReportFormat format : {ReportFormat::Text, ReportFormat::Markdown}) {
      const std::string hant = chartReportText(chart, {}, kZhHant, format);
      const std::vector<std::string> converted = test::openccT2s(test::linesOf(hant));
      ASSERT_FALSE(converted.empty()) << "opencc (Debian package opencc) is needed";
      EXPECT_EQ(test::linesOf(chartReportText(chart, {}, kZhHans, format)), converted);
    }
  }
  for (const Chart& chart : someCharts("Chen")) {
    for (const ReportFormat format : {ReportFormat::Text, ReportFormat::Markdown}) {
      const std::string rendered = chartReportText(chart, {}, kEnglish, format);
      std::string_view text = rendered;
      std::size_t line = 1;
      while (!text.empty()) {
        const std::optional<char32_t> c = takeCodePoint(text);
        ASSERT_TRUE(c.has_value());
        line += *c == '\n';
        EXPECT_FALSE(isCjk(*c)) << "line " << line << " holds U+" << std::hex << +*c;
      }
    }
  }
}

// A name or printed date holding line breaks, control characters, bytes
// that are not UTF-8 or Markdown's markup stays on its own line, as oneLine
// writes it, and the output stays UTF-8.
TEST(ChartReport, UserTextStaysOnItsLine) {
  const std::string hostile = "a\nb\r\x01\x7F\xC2\x85\xFF *c* |d| [e](f) <g> `h` \\i # j";
  const ReportRecord record{std::nullopt, "6\n# 12"};
  for (const Chart& chart : someCharts(hostile)) {
    const Chart plain = test::renamed(chart, "x");
    for (const ReportFormat format : {ReportFormat::Text, ReportFormat::Markdown}) {
      const std::string rendered = chartReportText(chart, record, kZhHant, format);
      EXPECT_TRUE(isValidUtf8(rendered));
      EXPECT_EQ(test::linesOf(rendered).size(),
                test::linesOf(chartReportText(plain, record, kZhHant, format)).size());
      const test::ReadReport read =
          format == ReportFormat::Text ? test::readText(rendered) : test::readMarkdown(rendered);
      ASSERT_FALSE(read.empty());
      const std::string* name = read[0].field(kZhHant.report.name);
      const std::string* date = read[0].field(kZhHant.report.printDate);
      ASSERT_TRUE(name != nullptr && date != nullptr);
      EXPECT_EQ(*name, oneLine(hostile));
      EXPECT_EQ(*date, "6\\x0A# 12");
    }
  }
}

TEST(ChartReport, DisplayWidth) {
  EXPECT_EQ(displayWidth("Life"), 4u);
  EXPECT_EQ(displayWidth("命宮 (寅)"), 9u);
  EXPECT_EQ(displayWidth("◎○△ˉ→·"), 6u);  // narrow where a Western terminal shows them
  EXPECT_EQ(displayWidth("Ｘ😀𠀀"), 6u);
  EXPECT_EQ(displayWidth("\xFF\xE5"), 2u);  // a malformed byte takes a column
}

}  // namespace
}  // namespace ziwei
