#include "json/chart_json.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdio>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "birth/target_moment.h"
#include "calendar/gregorian.h"
#include "page/tests/example_charts.h"
#include "page/tests/ordered_replacement.h"
#include "vocabulary/tests/opencc.h"

namespace ziwei {
namespace {

rapidjson::Document parse(const std::string& json) {
  rapidjson::Document document;
  document.Parse(json.c_str(), json.size());
  EXPECT_FALSE(document.HasParseError()) << json;
  return document;
}

std::string text(const rapidjson::Value& value) {
  return {value.GetString(), value.GetStringLength()};
}

BirthRequest secondExampleInput() {
  BirthRequest input;
  input.name = "王小明";
  input.birth = {2000, 4, true, 20, 13, 7, 9, false};
  return input;
}

std::vector<std::string> keys(const rapidjson::Value& object) {
  std::vector<std::string> names;
  for (const auto& member : object.GetObject()) names.push_back(text(member.name));
  return names;
}

// The request as given and the frame of the second example, byte for byte
// (lunar 2000 has no leap month: the date is cast as given, and said to be
// missing). Its pillars, by hand: the missing date counts on from 2000-04-01
// (05-04) to 05-23, a 辛巳 day (2000-01-01 戊午 + 143 days); after 立夏 it is
// in the 巳 month, 辛巳 by the five tigers of 庚; day 20 of the leap month
// counts as month 5, 壬午; 13:07 is the 未 hour, 乙未 by the five rats of 辛.
TEST(ChartJson, InputAndFrameOfTheSecondExample) {
  const BirthRequest input = secondExampleInput();
  const std::string json = chartJson(cast(input));
  EXPECT_TRUE(json.starts_with(
      R"({"input":{"name":"王小明","sex":"female","year":2000,"month":4,"leap":true,"day":20,)"
      R"("hour":13,"minute":7,"second":9,"dateExists":false,"pillars":{"solarTerms":{"year":"庚辰",)"
      R"("month":"辛巳","day":"辛巳","hour":"乙未"},"lunar":{"year":"庚辰","month":"壬午","day":"辛巳",)"
      R"("hour":"乙未"}}},"frame":{"yearStem":"庚","yearBranch":"辰",)"
      R"("yearStemNum":7,"yearBranchNum":5,"birthMonth":5,"monthPalace":7,"hourBranch":8,)"
      R"("sexLabel":"陽女","lifePalace":12,"bodyPalace":2,"bureau":"土五局","ziWei":6,)"
      R"("tianFu":12,"animal":"龍","lifeMaster":"巨門","bodyMaster":"文昌","douJun":"卯"},)"
      R"("palaces":[{)"))
      << json.substr(0, 600);
  using Keys = std::vector<std::string>;
  const auto document = parse(json);
  EXPECT_EQ(keys(document), (Keys{"input", "frame", "palaces"}));
  for (const auto& palace : document["palaces"].GetArray()) {
    EXPECT_EQ(keys(palace),
              (Keys{"num", "branch", "stem", "name", "body", "main", "minor", "void", "markers",
                    "cycles", "growth", "majorPeriod", "minorAges", "relations"}));
    EXPECT_EQ(keys(palace["cycles"]), (Keys{"doctor", "general", "yearFront"}));
    EXPECT_EQ(keys(palace["relations"]), (Keys{"trine", "flank", "flies", "self", "inward"}));
    for (const auto& star : palace["main"].GetArray())
      EXPECT_EQ(keys(star), (Keys{"star", "brightness", "transformation"}));
    for (const auto& star : palace["minor"].GetArray())
      EXPECT_EQ(keys(star), (Keys{"star", "brightness"}));
  }
}

// The document read back agrees with the chart and the cells, over births
// that reach every stem and branch, month, day, hour and sex, the leap flag,
// a solar date and names that need escaping.
void checkAgainstEngine(const BirthRequest& request) {
  const Chart chart = cast(request);
  const ChartState& frame = chart.frame;
  const auto document = parse(chartJson(chart, {request.solar, nullptr}));
  // The input and the frame are written field by field alike for every
  // chart (the second example pins them byte for byte); what varies is
  // the solar date and the name.
  const auto& in = document["input"];
  EXPECT_EQ(text(in["name"]), request.name);
  EXPECT_EQ(in.HasMember("solar"), request.solar.has_value());
  if (request.solar) {
    EXPECT_EQ(text(in["solar"]), calendar::format_gregorian(*request.solar));
  }
  EXPECT_EQ(document["frame"]["lifePalace"].GetInt(), frame.LifePalaceNum.number());

  const auto& palaces = document["palaces"];
  ASSERT_EQ(palaces.Size(), 12u);
  const Vocabulary& words = kZhHant;
  for (rapidjson::SizeType i = 0; i < 12; ++i) {
    const auto& palace = palaces[i];
    const ChartPalace& p = chart.palaces[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(palace["num"].GetInt(), static_cast<int>(i) + 1);
    EXPECT_EQ(text(palace["branch"]), words(branchOf(p.palace)));
    EXPECT_EQ(text(palace["stem"]), words(p.stem));
    EXPECT_EQ(text(palace["name"]), words(p.role));
    EXPECT_EQ(palace["body"].GetBool(), p.palace == frame.BodyPalaceNum);

    // The stars of the palace in order, each with its marks as the cell
    // shows them.
    const std::string cell = test::cellText(chart, static_cast<int>(i) + 1);
    const auto names = [](const rapidjson::Value& list, const char* key) {
      std::vector<std::string> all;
      for (const auto& each : list.GetArray()) all.push_back(text(key ? each[key] : each));
      return all;
    };
    const auto starNames = [&words](const auto& row) {
      std::vector<std::string> all;
      for (const PlacedStar& star : row) all.emplace_back(words(star.star));
      return all;
    };
    EXPECT_EQ(names(palace["main"], "star"), starNames(p.stars.main));
    EXPECT_EQ(names(palace["minor"], "star"), starNames(p.stars.minor));
    EXPECT_EQ(names(palace["void"], nullptr), starNames(p.stars.voids));
    EXPECT_EQ(names(palace["markers"], nullptr), starNames(p.stars.markers));
    // A name of the cell's star and cycle rows, as the cell writes it.
    const auto expectInCell = [&cell](const std::string& shown) {
      EXPECT_NE(cell.find("size='2'>" + shown + "          </font>"), std::string::npos) << shown;
    };
    for (const auto& star : palace["main"].GetArray()) {
      expectInCell(text(star["star"]) + text(star["brightness"]) +
                   (star["transformation"].IsNull()
                        ? "ˉ"
                        : "<font color='#0000FF'><strong>" + text(star["transformation"]) +
                              "</strong></font>"));
    }
    for (const auto& star : palace["minor"].GetArray()) {
      expectInCell(text(star["star"]) + text(star["brightness"]));
    }
    const auto& cycles = palace["cycles"];
    expectInCell(text(cycles["doctor"]));
    expectInCell(text(palace["growth"]));
    EXPECT_EQ(text(cycles["general"]), words(Cycle::General, p.cycle(Cycle::General)));
    EXPECT_EQ(text(cycles["yearFront"]), words(Cycle::YearFront, p.cycle(Cycle::YearFront)));

    const auto& period = palace["majorPeriod"];
    ASSERT_EQ(period.Size(), 2u);
    EXPECT_NE(cell.find("<font size='2'>" + std::to_string(period[0].GetInt()) + "-" +
                        std::to_string(period[1].GetInt()) + "      </font>"),
              std::string::npos);
    std::string ages;
    for (const auto& age : palace["minorAges"].GetArray())
      ages += " " + std::to_string(age.GetInt());
    EXPECT_EQ(palace["minorAges"].Size(), 9u);
    EXPECT_NE(cell.find("<font size='2'>" + ages + "    </font>"), std::string::npos) << ages;
  }
}

TEST(ChartJson, AgreesWithTheEngineAndTheCells) {
  checkAgainstEngine(secondExampleInput());
  const std::vector<BirthRequest> births = test::spreadBirths();
  int withSolar = 0;
  for (std::size_t i = 0; i < births.size(); i += 7) {
    const BirthRequest& input = births[i];
    withSolar += input.solar ? 1 : 0;
    SCOPED_TRACE(std::to_string(input.birth.year) + "/" + std::to_string(input.birth.month) + "/" +
                 std::to_string(input.birth.day));
    checkAgainstEngine(input);
    if (testing::Test::HasFatalFailure()) return;
  }
  EXPECT_GT(withSolar, 0);
}

TEST(ChartJson, NamesAreEscapedAndMustBeUtf8) {
  Chart chart = test::chartOf(LunarBirth{}, "\"a\\b\"\n\t<@>");
  const std::string json = chartJson(chart);
  EXPECT_NE(json.find(R"("name":"\"a\\b\"\n\t<@>")"), std::string::npos);
  EXPECT_EQ(text(parse(json)["input"]["name"]), chart.request.name);
  chart.request.name = "\xFF";
  std::string out = "kept";
  EXPECT_THROW(appendChartJson(out, chart), std::invalid_argument);
  EXPECT_EQ(out, "kept");
}

// The document's tables are made for the program's vocabularies: another
// one is refused rather than written in one of theirs.
TEST(ChartJson, OnlyTheProgramsVocabularies) {
  const Vocabulary copy = kEnglish;
  std::string out = "kept";
  EXPECT_THROW(appendChartJson(out, cast(ChartRequest{}), {}, copy), std::invalid_argument);
  EXPECT_EQ(out, "kept");
}

// A rule cast by other than its default is named in "options"; the default
// writes none.
TEST(ChartJson, OptionsOnlyWhenNotTheDefault) {
  ChartRequest request;
  EXPECT_EQ(chartJson(cast(request)).find("\"options\""), std::string::npos);
  request.options.lateZi = LateZi::NextDay;
  EXPECT_NE(chartJson(cast(request)).find(R"(},"options":{"late-zi":"next-day"},"frame":{)"),
            std::string::npos);
}

// Every string of a document that is a name of the vocabulary: all but the
// input (the user's name and the record) and the options.
void collectNames(const rapidjson::Value& value, std::vector<std::string>& out) {
  if (value.IsString()) out.push_back(text(value));
  if (value.IsArray()) {
    for (const auto& each : value.GetArray()) collectNames(each, out);
  }
  if (value.IsObject()) {
    for (const auto& member : value.GetObject()) {
      const std::string key = text(member.name);
      if (key == "input" || key == "options") continue;
      if (key == "transformations") {  // names as keys too
        for (const auto& pair : member.value.GetObject()) out.push_back(text(pair.name));
      }
      collectNames(member.value, out);
    }
  }
}

std::vector<std::string> namesOf(const std::string& json) {
  std::vector<std::string> names;
  collectNames(parse(json), names);
  return names;
}

// zh-Hans is zh-Hant through OpenCC, name for name; en names are ASCII and no
// two stars share one. Keys, numbers and the user's name stay.
TEST(ChartJson, LanguagesNameTheSameChart) {
  std::vector<std::string> hant;
  std::vector<std::string> hans;
  for (const TargetMoment& target :
       {targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30}), targetOnSolar({2002, 3, 1})}) {
    for (const LunarBirth& birth : {test::firstExampleBirth(), test::secondExampleBirth()}) {
      const Chart chart = test::chartOf(birth, "陳大文", target);
      const std::string traditional = chartJson(chart, {}, kZhHant);
      const std::string simplified = chartJson(chart, {}, kZhHans);
      const std::string english = chartJson(chart, {}, kEnglish);
      // The input as given stays; its pillars are named in the language.
      const auto inputOf = [](const std::string& json) {
        rapidjson::Document document = parse(json);
        EXPECT_EQ(document["input"]["pillars"]["lunar"]["year"].GetStringLength() > 0, true);
        document["input"].RemoveMember("pillars");
        return document;
      };
      EXPECT_EQ(inputOf(simplified)["input"], inputOf(traditional)["input"]);
      EXPECT_EQ(inputOf(english)["input"], inputOf(traditional)["input"]);
      EXPECT_EQ(text(parse(english)["input"]["pillars"]["lunar"]["year"]),
                std::string(kEnglish(chart.frame.YearStem)) +
                    std::string(kEnglish(chart.frame.YearBranch)));
      for (const std::string& name : namesOf(traditional)) hant.push_back(name);
      for (const std::string& name : namesOf(simplified)) hans.push_back(name);
      const std::vector<std::string> en = namesOf(english);
      ASSERT_EQ(en.size(), namesOf(traditional).size());
      for (const std::string& name : en) {
        for (const char c : name) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << name;
      }
    }
  }
  const std::vector<std::string> converted = test::openccT2s(hant);
  ASSERT_EQ(converted.size(), hant.size()) << "opencc (Debian package opencc) is needed";
  EXPECT_EQ(hans, converted);
  EXPECT_EQ(std::set<std::string_view>(kEnglish.stars.begin(), kEnglish.stars.end()).size(),
            kStarCount);
  EXPECT_EQ(std::set<std::string_view>(kZhHant.stars.begin(), kZhHant.stars.end()).size(),
            kStarCount);
}

// The running periods of the worked example (chart/tests/running_periods_test):
// the 己巳 decade's transformations and running stars by palace, its ten years
// from 2019 (己亥, 亥) to 2028 (戊申, 申); the minor period carries names only.
// Without a time the hour is null, past the twelfth period the decade.
TEST(ChartJson, RunningPeriodsOfTheWorkedExample) {
  const Chart natal = test::chartOf(test::firstExampleBirth());
  const Chart chart = test::chartOf(test::firstExampleBirth(), "您的姓名",
                                    targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30}));
  const std::string json = chartJson(chart);
  EXPECT_TRUE(json.starts_with(chartJson(natal).substr(0, json.find(",\"periods\""))));
  for (
      const char* part :
      {R"(,"periods":{"target":{"solar":"2026-05-14","time":"13:30","lunar":{"year":2026,)"
       R"("month":3,"leap":false,"day":28}},"age":43,"decade":{"palace":6,"stem":"己",)"
       R"("branch":"巳","names":["疾厄宮",)",
       R"("transformations":{"武曲":"祿","貪狼":"權","天梁":"科","文曲":"忌"},"stars":[["運魁"],)"
       R"([],[],[],["運喜"],["運陀","運曲"],["運祿"],["運羊"],["運鉞"],["運昌"],["運鸞"],["運馬"]],)"
       R"("firstAge":36,"lastAge":45,"childhood":false,"years":[{"year":2019,"age":36,)"
       R"("palace":12,"stemBranch":"己亥"},)",
       R"({"year":2028,"age":45,"palace":9,"stemBranch":"戊申"}],"relations":[{"trine":[1,7,5,)"
       R"(9],"flank":[12,2],"flies":{)",
       R"(}]},"minor":{"palace":5,"stem":"戊","branch":"辰","names":[)",
       R"(]},"year":{"palace":7,"stem":"丙","branch":"午",)", R"("month":{"palace":9,)",
       R"("number":3,"relations":[{"trine":)",
       R"(}]},"day":{"palace":12,"stem":"戊","branch":"子",)",
       R"("hour":{"palace":7,"stem":"己","branch":"未",)"}) {
    EXPECT_NE(json.find(part), std::string::npos) << part;
  }
  const auto document = parse(json);
  // The levels' palaces carry the natal stems by default: the natal flights.
  for (const char* level : {"decade", "year", "month", "day", "hour"}) {
    const auto& relations = document["periods"][level]["relations"];
    ASSERT_EQ(relations.Size(), 12u) << level;
    for (rapidjson::SizeType i = 0; i < 12; ++i) {
      EXPECT_EQ(relations[i], document["palaces"][i]["relations"]) << level << " " << i;
    }
  }
  EXPECT_FALSE(document["periods"]["minor"].HasMember("relations"));
  const auto& year = document["periods"]["year"];
  for (const char* list : {"names", "stars", "general", "yearFront"}) {
    EXPECT_EQ(year[list].Size(), 12u) << list;
  }
  EXPECT_EQ(document["periods"]["decade"]["years"].Size(), 10u);

  const Chart noTime =
      test::chartOf(test::firstExampleBirth(), "您的姓名", targetOnSolar({2026, 5, 14}));
  EXPECT_TRUE(parse(chartJson(noTime))["periods"]["hour"].IsNull());
  // 水二局: periods end at 121.
  const Chart old =
      test::chartOf({1912, 1, false, 1, 14, 0, 0, true}, "您的姓名", targetOnSolar({2033, 6, 1}));
  EXPECT_TRUE(parse(chartJson(old))["periods"]["decade"].IsNull());
}

}  // namespace
}  // namespace ziwei
