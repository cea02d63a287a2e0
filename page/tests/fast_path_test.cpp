// The fast paths of the page and the JSON document (palace layouts, cells
// and documents appended into one buffer, the template filled in one pass)
// against the plain ones (the families' texts, HourInStr, ordered whole-text
// replacement, RapidJSON's writer), over births spread across the whole input
// space.
#include <gtest/gtest.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <charconv>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/star_names.h"
#include "chart/stars/year_stem_stars.h"
#include "page/birth_input.h"
#include "page/chart_json.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/palace_cell.h"
#include "page/palace_groups.h"
#include "page/palace_layout.h"
#include "page/user_text.h"

namespace ziwei {
namespace {

// Sixty years (every stem and branch), every month, every third day (each
// day in turn), the leap flag, hours, minutes, sexes and names rotating with
// them: 7200 births.
std::vector<BirthInput> sweepBirths() {
  const std::vector<std::string> names = {"陳大文", "", "@CYY@ & <b>\"q\"", "a\nb\\@PAGENOTE@\x01"};
  std::vector<BirthInput> births;
  for (int year = 1912; year < 1972; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1 + (year + month) % 3; day <= 30; day += 3) {
        BirthInput birth;
        birth.year = year;
        birth.month = month;
        birth.day = day;
        birth.leap = (year + day) % 5 == 0;
        birth.hour = (year * 7 + month * 5 + day) % 24;
        birth.minute = (year + month + day) % 60;
        birth.male = (year + month + day) % 2 == 0;
        birth.name = names[births.size() % names.size()];
        if (day % 7 == 0) birth.solar = "2001-06-08";
        births.push_back(birth);
      }
    }
  }
  return births;
}

std::vector<ChartState> sweepCharts() {
  std::vector<ChartState> charts;
  for (const BirthInput& birth : sweepBirths()) charts.push_back(castFrame(toSelection(birth)));
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

// The JSON document as RapidJSON's writer makes it from the families' texts
// and the groups gathered from them.
namespace plain {

using Writer = rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>,
                                 rapidjson::CrtAllocator, rapidjson::kWriteValidateEncodingFlag>;

// The four transformation marks as the page shows them, and their words.
struct Transformation {
  std::string_view mark;
  std::string_view word;
};
constexpr std::array<Transformation, 4> kTransformations{{
    {kMarkLu, "祿"},
    {kMarkQuan, "權"},
    {kMarkKe, "科"},
    {kMarkJi, "忌"},
}};

void key(Writer& writer, std::string_view name) {
  writer.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
}

void string(Writer& writer, std::string_view text) {
  if (!writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()))) {
    throw std::invalid_argument("text for JSON is not valid UTF-8");
  }
}

void field(Writer& writer, std::string_view name, std::string_view text) {
  key(writer, name);
  string(writer, text);
}

void field(Writer& writer, std::string_view name, int number) {
  key(writer, name);
  writer.Int(number);
}

void flag(Writer& writer, std::string_view name, bool value) {
  key(writer, name);
  writer.Bool(value);
}

// What `marked` adds to `start`: the mark that a marking operation appended.
std::string_view suffixAfter(std::string_view marked, std::string_view start) {
  return marked.starts_with(start) ? marked.substr(start.size()) : std::string_view{};
}

// The numbers of a period text such as "2-11" or " 1 13 25", in order; any
// other character separates them.
void numbers(Writer& writer, std::string_view text) {
  writer.StartArray();
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  while (at != end) {
    int number = 0;
    const auto [next, error] = std::from_chars(at, end, number);
    if (error == std::errc{} && *at != '-') {
      writer.Int(number);
      at = next;
    } else {
      ++at;
    }
  }
  writer.EndArray();
}

void writeInput(Writer& writer, const BirthInput& input) {
  key(writer, "input");
  writer.StartObject();
  field(writer, "name", input.name);
  field(writer, "sex", std::string_view(input.male ? "male" : "female"));
  field(writer, "year", input.year);
  field(writer, "month", input.month);
  flag(writer, "leap", input.leap);
  field(writer, "day", input.day);
  field(writer, "hour", input.hour);
  field(writer, "minute", input.minute);
  field(writer, "second", input.second);
  if (input.solar) field(writer, "solar", *input.solar);
  writer.EndObject();
}

void writeFrame(Writer& writer, const ChartState& chart) {
  key(writer, "frame");
  writer.StartObject();
  field(writer, "yearStem", chart.YearStem);
  field(writer, "yearBranch", chart.YearBranch);
  field(writer, "yearStemNum", chart.YearStemNum);
  field(writer, "yearBranchNum", chart.YearBranchNum);
  field(writer, "birthMonth", chart.BirthMonth);
  field(writer, "monthPalace", chart.MonthPalaceNum);
  field(writer, "hourBranch", chart.HourNum);
  field(writer, "sexLabel", chart.SexText);
  field(writer, "lifePalace", chart.LifePalaceNum);
  field(writer, "bodyPalace", chart.BodyPalaceNum);
  field(writer, "bureau", chart.BureauName);
  field(writer, "ziWei", chart.ZiWeiNum);
  field(writer, "tianFu", chart.TianFuNum);
  field(writer, "animal", getAnimal(chart.YearBranchNum));
  field(writer, "lifeMaster", getLiftStart(chart.LifePalaceNum));
  field(writer, "bodyMaster", getBodyStart(chart));
  field(writer, "douJun", getEARTHWORD(getLifeDStart(chart)));
  writer.EndObject();
}

void writeMainStar(Writer& writer, const ChartState& chart, PalaceNum num,
                   const std::string& star) {
  const std::string bright = checkMainStarType(num, star, 0);
  const std::string transformed = getSkyOFirstStar(chart, bright);
  writer.StartObject();
  field(writer, "star", star);
  field(writer, "brightness", suffixAfter(bright, star));
  key(writer, "transformation");
  const std::string_view mark = suffixAfter(transformed, bright);
  if (mark == kNoMark) {
    writer.Null();
  } else {
    std::string_view word = mark;  // an unknown mark is shown as it is
    for (const Transformation& transformation : kTransformations) {
      if (mark == transformation.mark) word = transformation.word;
    }
    string(writer, word);
  }
  writer.EndObject();
}

void writeNames(Writer& writer, std::string_view name, const std::vector<std::string>& names) {
  key(writer, name);
  writer.StartArray();
  for (const std::string& each : names) string(writer, each);
  writer.EndArray();
}

void writePalace(Writer& writer, const ChartState& chart, PalaceNum num) {
  const PalaceGroups groups = gatherPalaceGroups(chart, num);
  writer.StartObject();
  field(writer, "num", num);
  field(writer, "branch", getEARTHWORD(num));
  field(writer, "stem", getSky(chart, num));
  field(writer, "name", getOtherHourse(chart.LifePalaceNum, num));
  flag(writer, "body", !getBodyHourse(chart, num).empty());

  key(writer, "main");
  writer.StartArray();
  for (const std::string& star : groups.main) writeMainStar(writer, chart, num, star);
  writer.EndArray();

  key(writer, "minor");
  writer.StartArray();
  for (const std::string& star : groups.minor) {
    writer.StartObject();
    field(writer, "star", star);
    field(writer, "brightness", suffixAfter(checkSubStarType(num, star, 0), star));
    writer.EndObject();
  }
  writer.EndArray();

  writeNames(writer, "void", groups.voids);
  writeNames(writer, "markers", groups.markers);

  key(writer, "cycles");
  writer.StartObject();
  field(writer, "doctor", getDrTreeStar(chart, num, chart.SexText));
  field(writer, "general", getYearSSFourStar(chart, num));
  field(writer, "yearFront", getYearYFourStar(chart, num));
  writer.EndObject();

  field(writer, "growth", getFiveLongLifeStar(chart.BureauName, chart.SexText, num));
  key(writer, "majorPeriod");
  numbers(writer, getBigYear(chart.BureauName, chart.SexText, chart.LifePalaceNum, num));
  key(writer, "minorAges");
  numbers(writer, getSmallYear(chart.YearBranchNum, chart.SexNum, num));
  writer.EndObject();
}

std::string plainChartJson(const BirthInput& input, const ChartState& chart) {
  if (!isValidUtf8(input.name)) throw std::invalid_argument("the name is not valid UTF-8");
  rapidjson::StringBuffer buffer;
  Writer writer(buffer);
  writer.StartObject();
  writeInput(writer, input);
  writeFrame(writer, chart);
  key(writer, "palaces");
  writer.StartArray();
  for (PalaceNum num = 1; num <= 12; ++num) writePalace(writer, chart, num);
  writer.EndArray();
  writer.EndObject();
  return {buffer.GetString(), buffer.GetSize()};
}

}  // namespace plain

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
  for (const BirthInput& birth : sweepBirths()) {
    const ChartState chart = castFrame(toSelection(birth));
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

TEST(FastPath, JsonEqualsTheDocumentFromTheFamiliesTexts) {
  for (const BirthInput& birth : sweepBirths()) {
    const ChartState chart = castFrame(toSelection(birth));
    ASSERT_EQ(difference(chartJson(birth, chart), plain::plainChartJson(birth, chart)), "")
        << birth.year << "/" << birth.month << "/" << birth.day << " " << birth.name;
  }
  // Texts a chart cast elsewhere might hold are checked like the name.
  ChartState odd = castFrame(BirthSelection{});
  odd.BureauName = "\xFF";
  EXPECT_THROW(chartJson(BirthInput{}, odd), std::invalid_argument);
  EXPECT_THROW(plain::plainChartJson(BirthInput{}, odd), std::invalid_argument);
}

// Templates where a placeholder can form from neighbours: filled by ordered
// replacement, so that "@txtNAME@Title@" loses its "@Title@" to step 1.
TEST(FastPath, TemplatesThatJoinPlaceholdersFallBackToOrderedReplacement) {
  const ChartState chart = castFrame(BirthSelection{});
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
