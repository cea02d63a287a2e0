#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "birth/target_moment.h"
#include "chart/frame/chart_frame.h"
#include "json/chart_json.h"
#include "page/tests/example_charts.h"
#include "report/render.h"
#include "report/tests/read_report.h"
#include "rules/rule_text.h"
#include "unicode/utf8.h"

namespace ziwei {
namespace {

using test::ReadReport;
using test::ReadSection;
using Json = rapidjson::Value;

std::string str(const Json& value) { return {value.GetString(), value.GetStringLength()}; }
std::string str(std::string_view text) { return std::string(text); }

// `text` split at `separator`, but not inside parentheses.
std::vector<std::string> items(std::string_view text, std::string_view separator) {
  std::vector<std::string> all;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
    if (depth == 0 && text.compare(i, separator.size(), separator) == 0) {
      all.emplace_back(text.substr(start, i - start));
      start = i + separator.size();
    }
  }
  all.emplace_back(text.substr(start));
  return all;
}

// The text and the JSON document of one chart in one language, read side by
// side: everything the text states of the frame, the palaces and the
// running periods is what the document holds.
class Agreement {
 public:
  Agreement(const Chart& chart, const Vocabulary& words) : words_(words), labels_(words.report) {
    const std::string json = chartJson(chart, {}, words);
    doc_.Parse(json.c_str(), json.size());
  }

  void check(const ReadReport& report) {
    ASSERT_GE(report.size(), 14u);
    checkFrame(report[0]);
    EXPECT_EQ(report[1].title, labels_.palacesTitle);
    for (int k = 0; k < 12; ++k) {
      SCOPED_TRACE(report[2 + static_cast<std::size_t>(k)].title);
      checkPalace(report[2 + static_cast<std::size_t>(k)], inOrder(k));
    }
    if (!doc_.HasMember("periods")) {
      EXPECT_EQ(report.size(), 14u);
      return;
    }
    checkPeriods(report, doc_["periods"]);
  }

 private:
  const Json& palace(int num) const { return doc_["palaces"][static_cast<unsigned>(num - 1)]; }

  // The number of the `k`th palace as the report lists them: 命宮 first,
  // then backward round the ring.
  int inOrder(int k) const { return (doc_["frame"]["lifePalace"].GetInt() - 1 - k + 12) % 12 + 1; }

  std::string ref(int num) const {
    return str(palace(num)["name"]) + " (" + str(palace(num)["branch"]) + ")";
  }

  std::string stemBranch(const Json& stem, const Json& branch) const {
    return str(stem) + str(labels_.stemBranchJoin) + str(branch);
  }

  std::string kind(const Json& name) const { return str(labels_.transformationPrefix) + str(name); }

  // The palace whose main stars hold `star`, or 0.
  int holder(std::string_view star) const {
    for (int num = 1; num <= 12; ++num) {
      for (const Json& each : palace(num)["main"].GetArray()) {
        if (str(each["star"]) == star) return num;
      }
    }
    return 0;
  }

  const std::string& field(const ReadSection& section, std::string_view label) {
    static const std::string missing = "(missing)";
    const std::string* value = section.field(label);
    EXPECT_NE(value, nullptr) << label << " in " << section.title;
    return value ? *value : missing;
  }

  void checkFrame(const ReadSection& s) {
    const Json& frame = doc_["frame"];
    EXPECT_EQ(s.depth, 1);
    EXPECT_EQ(s.title, labels_.chartTitle);
    EXPECT_EQ(field(s, labels_.sex), str(frame["sexLabel"]));
    EXPECT_EQ(field(s, labels_.bureau), str(frame["bureau"]));
    EXPECT_EQ(field(s, labels_.lifeMaster), str(frame["lifeMaster"]));
    EXPECT_EQ(field(s, labels_.bodyMaster), str(frame["bodyMaster"]));
    EXPECT_EQ(field(s, labels_.douJun), str(frame["douJun"]));
    EXPECT_EQ(field(s, labels_.lifePalace), str(palace(frame["lifePalace"].GetInt())["branch"]));
    EXPECT_EQ(field(s, labels_.bodyPalace), ref(frame["bodyPalace"].GetInt()));
    EXPECT_EQ(field(s, labels_.birthYear), stemBranch(frame["yearStem"], frame["yearBranch"]) +
                                               " (" + str(frame["animal"]) + ")");
    EXPECT_EQ(s.field(labels_.rules) != nullptr, doc_.HasMember("options"));
  }

  // A star of the document as the text lists it, with its marks.
  void expectStar(const std::string& item, const Json& star) {
    std::vector<std::string> marks;
    // The void and marker groups are lists of names alone.
    const bool object = star.IsObject();
    if (object && str(star["brightness"]) != words_.brightness[0]) {
      marks.push_back(str(star["brightness"]));
    }
    if (object && star.HasMember("transformation") && !star["transformation"].IsNull()) {
      marks.push_back(kind(star["transformation"]));
    }
    const std::size_t open = item.find(" (");
    EXPECT_EQ(item.substr(0, open), str(object ? star["star"] : star));
    EXPECT_EQ(open == std::string::npos
                  ? std::vector<std::string>{}
                  : items(item.substr(open + 2, item.size() - open - 3), ", "),
              marks)
        << item;
  }

  // The stars a field lists against the groups of a palace.
  void expectStars(const std::string& value, const Json& p,
                   std::initializer_list<const char*> groups) {
    std::vector<const Json*> stars;
    for (const char* group : groups) {
      for (const Json& star : p[group].GetArray()) stars.push_back(&star);
    }
    if (stars.empty()) {
      EXPECT_EQ(value, labels_.none);
      return;
    }
    const std::vector<std::string> listed = items(value, ", ");
    ASSERT_EQ(listed.size(), stars.size()) << value;
    for (std::size_t i = 0; i < listed.size(); ++i) expectStar(listed[i], *stars[i]);
  }

  // "化祿 天同 → 福德宮 (辰)": the kind, a star the palace `to` holds.
  void expectFlight(const std::string& item, const Json& kindName, int to) {
    const std::size_t arrow = item.find(" → ");
    ASSERT_NE(arrow, std::string::npos) << item;
    EXPECT_EQ(item.substr(arrow + 5), ref(to)) << item;
    const std::string head = kind(kindName) + " ";
    EXPECT_TRUE(item.starts_with(head)) << item;
    EXPECT_EQ(holder(item.substr(head.size(), arrow - head.size())), to) << item;
  }

  // The 自化 of a palace: absent when none, else "化祿 太陽, ...".
  void expectFallen(const ReadSection& s, std::string_view label, const Json& fallen) {
    if (fallen.ObjectEmpty()) {
      EXPECT_EQ(s.field(label), nullptr) << label;
      return;
    }
    std::vector<std::string> expected;
    for (const auto& [k, star] : fallen.GetObject()) expected.push_back(kind(k) + " " + str(star));
    EXPECT_EQ(items(field(s, label), ", "), expected) << label;
  }

  void checkPalace(const ReadSection& s, int num) {
    const Json& p = palace(num);
    EXPECT_EQ(s.depth, 3);
    EXPECT_EQ(s.title, str(p["name"]) + " · " + stemBranch(p["stem"], p["branch"]) +
                           (p["body"].GetBool() ? " · " + str(words_.bodyPalace) : ""));
    expectStars(field(s, labels_.mainStars), p, {"main"});
    expectStars(field(s, labels_.otherStars), p, {"minor", "void", "markers"});
    std::vector<std::string> cycles;
    for (const std::string& item : items(field(s, labels_.cycles), ", ")) {
      cycles.push_back(item.substr(0, item.find(" (")));
    }
    EXPECT_EQ(cycles,
              (std::vector<std::string>{str(p["cycles"]["doctor"]), str(p["cycles"]["general"]),
                                        str(p["cycles"]["yearFront"]), str(p["growth"])}));

    const Json& r = p["relations"];
    std::vector<std::string> trine, flank;
    for (const Json& n : r["trine"].GetArray()) trine.push_back(ref(n.GetInt()));
    for (const Json& n : r["flank"].GetArray()) flank.push_back(ref(n.GetInt()));
    EXPECT_EQ(items(field(s, labels_.trine), ", "), trine);
    EXPECT_EQ(items(field(s, labels_.flank), ", "), flank);
    const std::vector<std::string> flies = items(field(s, labels_.flies), ", ");
    ASSERT_EQ(flies.size(), 4u);
    std::size_t k = 0;
    for (const auto& [kindName, to] : r["flies"].GetObject()) {
      expectFlight(flies[k++], kindName, to.GetInt());
    }
    expectFallen(s, labels_.self, r["self"]);
    expectFallen(s, labels_.inward, r["inward"]);

    const Json& major = p["majorPeriod"];
    EXPECT_EQ(field(s, labels_.majorPeriod), std::to_string(major[0].GetInt()) + "-" +
                                                 std::to_string(major[1].GetInt()) +
                                                 str(words_.ageUnit));
    std::vector<std::string> ages;
    for (const Json& age : p["minorAges"].GetArray()) ages.push_back(std::to_string(age.GetInt()));
    EXPECT_EQ(items(field(s, labels_.minorAges), ", "), ages);
  }

  void checkLevel(const ReadSection& s, const Json& level) {
    EXPECT_EQ(field(s, labels_.lifePalace), ref(level["palace"].GetInt()));
    if (!level.HasMember("transformations")) {
      EXPECT_EQ(s.field(labels_.transformations), nullptr);
      return;
    }
    const std::vector<std::string> four = items(field(s, labels_.transformations), ", ");
    ASSERT_EQ(four.size(), 4u);
    std::size_t k = 0;
    for (const auto& [star, kindName] : level["transformations"].GetObject()) {
      expectFlight(four[k], kindName, holder(str(star)));
      EXPECT_NE(four[k++].find(" " + str(star) + " → "), std::string::npos);
    }
    // Running stars by palace, in the palaces' order, as the document has
    // them in each palace.
    std::vector<std::string> expected;
    for (int k2 = 0; k2 < 12; ++k2) {
      const int num = inOrder(k2);
      std::vector<std::string> here;
      for (const Json& star : level["stars"][static_cast<unsigned>(num - 1)].GetArray()) {
        here.push_back(str(star));
      }
      if (here.empty()) continue;
      std::string group = ref(num) + ": ";
      for (std::size_t i = 0; i < here.size(); ++i) group += (i ? ", " : "") + here[i];
      expected.push_back(group);
    }
    const std::string& running = field(s, labels_.runningStars);
    EXPECT_EQ(expected.empty() ? std::vector<std::string>{str(labels_.none)} : expected,
              items(running, "; "));
  }

  void checkPeriods(const ReadReport& report, const Json& periods) {
    const ReadSection& part = report[14];
    EXPECT_EQ(part.depth, 2);
    EXPECT_EQ(part.title, labels_.periodsTitle);
    EXPECT_EQ(field(part, labels_.age),
              std::to_string(periods["age"].GetInt()) + str(words_.ageUnit));
    std::size_t row = 1;
    std::size_t next = 15;
    std::vector<std::string> names = {str(labels_.palaceColumn), str(labels_.natalColumn)};
    std::vector<const Json*> present;
    constexpr std::array<const char*, kPeriodLevelCount> kKeys = {"decade", "minor", "year",
                                                                  "month",  "day",   "hour"};
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
      const Json& level = periods[kKeys[i]];
      const std::string levelName = str(words_.levels[i]);
      if (level.IsNull() && i == 5) continue;
      ASSERT_LT(row, part.table.size());
      const std::vector<std::string>& cells = part.table[row++];
      ASSERT_EQ(cells.size(), 4u);
      EXPECT_EQ(cells[0], levelName);
      if (level.IsNull()) {
        EXPECT_EQ(cells[3], words_.pastLastDecade);
        continue;
      }
      EXPECT_EQ(cells[1], ref(level["palace"].GetInt()));
      EXPECT_EQ(cells[2], stemBranch(level["stem"], level["branch"]));
      ASSERT_LT(next, report.size());
      const ReadSection& s = report[next++];
      EXPECT_EQ(s.title, levelName + " · " + stemBranch(level["stem"], level["branch"]));
      EXPECT_EQ(field(s, labels_.levelColumns[3]), cells[3]);
      if (i == 2) {
        // The year's span is the year of its stem-branch, the target's
        // lunar year or (by the solar terms) the one next to it.
        const int number = std::stoi(cells[3]);
        const StemBranch named = yearStemBranch(number);
        EXPECT_EQ(stemBranch(level["stem"], level["branch"]),
                  str(words_(named.stem)) + str(labels_.stemBranchJoin) + str(words_(named.branch)))
            << cells[3];
        EXPECT_LE(std::abs(number - periods["target"]["lunar"]["year"].GetInt()), 1);
      }
      checkLevel(s, level);
      if (i == 0) checkDecadeYears(field(s, labels_.decadeYears), level["years"]);
      names.push_back(levelName);
      present.push_back(&level);
    }
    EXPECT_EQ(row, part.table.size());
    ASSERT_EQ(next + 1, report.size());

    // The names of the palaces by level, the year's two cycles last.
    const ReadSection& table = report[next];
    EXPECT_EQ(table.title, labels_.namesTitle);
    names.push_back(str(labels_.yearGeneral));
    names.push_back(str(labels_.yearFront));
    ASSERT_EQ(table.table.size(), 13u);
    EXPECT_EQ(table.table[0], names);
    for (int k = 0; k < 12; ++k) {
      const int num = inOrder(k);
      const auto at = static_cast<unsigned>(num - 1);
      std::vector<std::string> cells = {str(palace(num)["branch"]), str(palace(num)["name"])};
      for (const Json* level : present) cells.push_back(str((*level)["names"][at]));
      cells.push_back(str(periods["year"]["general"][at]));
      cells.push_back(str(periods["year"]["yearFront"][at]));
      EXPECT_EQ(table.table[static_cast<std::size_t>(k) + 1], cells);
    }
  }

  // "2019 己亥 (36歲), ...": the year, its stem-branch, the age.
  void checkDecadeYears(const std::string& value, const Json& years) {
    const std::vector<std::string> listed = items(value, ", ");
    ASSERT_EQ(listed.size(), years.Size()) << value;
    for (std::size_t i = 0; i < listed.size(); ++i) {
      const Json& year = years[static_cast<unsigned>(i)];
      std::istringstream in(listed[i]);
      std::string number, rest;
      in >> number;
      std::getline(in, rest);
      EXPECT_EQ(number, std::to_string(year["year"].GetInt()));
      const std::size_t open = rest.find(" (");
      std::string sb = rest.substr(1, open - 1);
      if (!labels_.stemBranchJoin.empty()) std::erase(sb, ' ');
      EXPECT_EQ(sb, str(year["stemBranch"]));
      EXPECT_EQ(rest.substr(open + 2),
                std::to_string(year["age"].GetInt()) + str(words_.ageUnit) + ")");
    }
  }

  const Vocabulary& words_;
  const ReportWords& labels_;
  rapidjson::Document doc_;
};

// Births of every stem and branch, month, hour and sex; a third with a
// target (some without a time, some past the twelfth decade), some cast by
// other rules; the three languages in turn.
struct Case {
  BirthRequest request;
  const Vocabulary* words;
};

std::vector<Case> cases() {
  std::vector<Case> all;
  const std::vector<BirthRequest> births = test::spreadBirths();
  constexpr std::array<const Vocabulary*, 3> kWords = {&kZhHant, &kZhHans, &kEnglish};
  for (std::size_t i = 0; i < births.size(); i += 11) {
    BirthRequest request = births[i];
    const int n = static_cast<int>(i / 11);
    if (n % 3 != 0) {
      const int year = std::min(2100, request.birth.year + 1 + (n * 7) % 130);
      request.target =
          targetOnSolar({year, n % 12 + 1, n % 28 + 1},
                        n % 2 ? std::optional<ClockOfDay>(ClockOfDay{n % 24, 30}) : std::nullopt);
    }
    if (n % 5 == 0) request.options.age = AgeCount::Birthday;
    if (n % 7 == 0) request.options.yearBoundary = YearBoundary::Spring;
    if (n % 6 == 1) request.options.periodBoundary = PeriodBoundary::SolarTerms;
    if (n % 4 == 0) (void)setTransformationText(request.options, "庚=太陽,武曲,天同,太陰");
    all.push_back({request, kWords[static_cast<std::size_t>(n) % 3]});
  }
  return all;
}

// The text and the Markdown of each chart read back alike, and agree with
// its JSON document item for item.
TEST(ChartReport, TextAndMarkdownAgreeWithTheJson) {
  int withPeriods = 0, pastLastDecade = 0, withRules = 0;
  for (const Case& c : cases()) {
    const Chart chart = cast(c.request);
    SCOPED_TRACE(std::to_string(c.request.birth.year) + "-" +
                 std::to_string(c.request.birth.month) + "-" + std::to_string(c.request.birth.day) +
                 " h" + std::to_string(c.request.birth.hour) + " " +
                 str(kLanguageTags[static_cast<std::size_t>(c.words->language)]));
    const ReportRecord record{c.request.solar, std::nullopt};
    const ReadReport text =
        test::readText(chartReportText(chart, record, *c.words, ReportFormat::Text));
    const ReadReport markdown =
        test::readMarkdown(chartReportText(chart, record, *c.words, ReportFormat::Markdown));
    ASSERT_EQ(text, markdown);
    Agreement(chart, *c.words).check(text);
    if (HasFatalFailure()) return;
    withPeriods += chart.periods.has_value();
    pastLastDecade += chart.periods && !(*chart.periods)[PeriodLevel::Decade].present;
    withRules += text[0].field(c.words->report.rules) != nullptr;
  }
  // The sample reaches what it is meant to.
  EXPECT_GT(withPeriods, 300);
  EXPECT_GT(pastLastDecade, 5);
  EXPECT_GT(withRules, 200);
}

}  // namespace
}  // namespace ziwei
