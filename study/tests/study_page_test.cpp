#include "study/study_page.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "birth/target_moment.h"
#include "page/tests/example_charts.h"

namespace ziwei {
namespace {

// The text of the element that starts with `open`, up to the next `close`.
std::string elementText(const std::string& page, std::string_view open,
                        std::string_view close = "</script>") {
  const std::size_t start = page.find(open);
  if (start == std::string::npos) return {};
  const std::size_t from = start + open.size();
  return page.substr(from, page.find(close, from) - from);
}

constexpr std::string_view kDataOpen = R"(<script type="application/json" id="chart-data">)";
constexpr std::string_view kWordsOpen = R"(<script type="application/json" id="study-words">)";

rapidjson::Document parse(const std::string& json) {
  rapidjson::Document document;
  document.Parse(json.c_str(), json.size());
  EXPECT_FALSE(document.HasParseError()) << json.substr(0, 200);
  return document;
}

std::size_t count(const std::string& text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

// A chart with its running periods down to the hour.
Chart withPeriods(std::string name = "您的姓名") {
  return test::chartOf(test::firstExampleBirth(), std::move(name),
                       targetOnSolar({2026, 12, 7}, ClockOfDay{10, 0}));
}

// The page loads nothing: no address, no element or rule that fetches, and
// exactly its three scripts and one style sheet, each closed where it ends.
TEST(StudyPage, IsOneSelfContainedFile) {
  for (const Vocabulary* words : {&kZhHant, &kZhHans, &kEnglish}) {
    for (const Chart& chart : {test::firstExample(), withPeriods()}) {
      const std::string page = studyPage(chart, {}, *words);
      for (const std::string_view fetching :
           {"http:", "https:", "src=", "href=", "@import", "<link", "<iframe", "fetch(",
            "XMLHttpRequest", "import("}) {
        EXPECT_EQ(page.find(fetching), std::string::npos) << fetching;
      }
      EXPECT_FALSE(std::regex_search(page, std::regex(R"(url\((?!#))"))) << "url( to an address";
      EXPECT_EQ(count(page, "<script"), 3u);
      EXPECT_EQ(count(page, "</script>"), 3u);
      EXPECT_EQ(count(page, "<style>"), 1u);
      EXPECT_EQ(count(page, "</style>"), 1u);
      EXPECT_TRUE(
          page.starts_with("<!DOCTYPE html>\n<html lang=\"" +
                           std::string(kLanguageTags[static_cast<std::size_t>(words->language)]) +
                           "\">\n<head>\n<meta charset=\"utf-8\">"));
      EXPECT_TRUE(page.ends_with("</html>"));
    }
  }
}

// The data is the chart's document, with every "<" escaped: a name that
// tries to close the script, open a comment or start another stays text.
TEST(StudyPage, EmbedsTheChartJsonWhichCannotCloseItsScript) {
  for (const std::string& name :
       {std::string("您的姓名"), std::string("</script><script>alert(1)</script>"),
        std::string("<!--<script>"), std::string("a</SCRIPT >b"), std::string("\\u003c")}) {
    for (const Chart& chart : {test::renamed(test::firstExample(), name), withPeriods(name)}) {
      const std::string page = studyPage(chart);
      const std::string data = elementText(page, kDataOpen);
      EXPECT_EQ(data.find('<'), std::string::npos) << name;
      const std::string json = chartJson(chart);
      EXPECT_TRUE(parse(data) == parse(json)) << name;
      EXPECT_EQ(data.size(), json.size() + 5 * count(json, "<")) << name;
      EXPECT_EQ(count(page, "</script>"), 3u) << name;
      EXPECT_EQ(count(page, "<script"), 3u) << name;
    }
  }
}

// The record and the vocabulary reach the data as chartJson writes them.
TEST(StudyPage, DataFollowsTheRecordAndTheLanguage) {
  const Chart chart = withPeriods();
  const ChartRecord record{calendar::GregorianDate{1984, 2, 2}, nullptr};
  for (const Vocabulary* words : {&kZhHant, &kZhHans, &kEnglish}) {
    const std::string data = elementText(studyPage(chart, record, *words), kDataOpen);
    EXPECT_TRUE(parse(data) == parse(chartJson(chart, record, *words)));
  }
}

// Every word the script reads is in each language's words, and the kinds
// and levels are the vocabulary's names of them.
TEST(StudyPage, WordsHoldEveryKeyTheScriptReads) {
  for (const Vocabulary* words : {&kZhHant, &kZhHans, &kEnglish}) {
    const std::string page = studyPage(withPeriods(), {}, *words);
    const rapidjson::Document read = parse(elementText(page, kWordsOpen));
    ASSERT_TRUE(read.IsObject());
    const std::string script = elementText(page, "<script>\n");
    std::set<std::string> keys;
    const std::regex use(R"(\bW\.([A-Za-z]+))");
    for (auto it = std::sregex_iterator(script.begin(), script.end(), use);
         it != std::sregex_iterator(); ++it) {
      keys.insert((*it)[1]);
    }
    EXPECT_GT(keys.size(), 20u);
    for (const std::string& key : keys) {
      ASSERT_TRUE(read.HasMember(key.c_str())) << key;
      const rapidjson::Value& value = read[key.c_str()];
      // The date words may be empty (English has no day suffix), and the gap
      // in a mark (none in Chinese); no label is.
      const std::set<std::string> mayBeEmpty{"leapMonth", "yearSeparator", "monthSeparator",
                                             "daySuffix", "hourUnit",      "ageUnit",
                                             "markGap"};
      if (value.IsString() && !mayBeEmpty.contains(key)) {
        EXPECT_GT(value.GetStringLength(), 0u) << key;
      }
    }
    ASSERT_EQ(read["kinds"].Size(), 4u);
    for (rapidjson::SizeType k = 0; k < 4; ++k) {
      EXPECT_EQ(std::string_view(read["kinds"][k].GetString()), words->transformations[k + 1]);
    }
    ASSERT_EQ(read["levels"].Size(), kPeriodLevelCount);
    EXPECT_EQ(std::string_view(read["levels"][2].GetString()), words->levels[2]);
    EXPECT_NE(page.find("<title>" + std::string(words->study.title) + "</title>"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace ziwei
