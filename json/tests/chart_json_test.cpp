#include "page/chart_json.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "calendar/gregorian.h"
#include "chart/frame/cyclic_names.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/palace_layout.h"
#include "example_charts.h"
#include "page/palace_cell.h"

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
// missing).
TEST(ChartJson, InputAndFrameOfTheSecondExample) {
  const BirthRequest input = secondExampleInput();
  const std::string json = chartJson(input, castFrame(input.birth));
  EXPECT_TRUE(json.starts_with(
      R"({"input":{"name":"王小明","sex":"female","year":2000,"month":4,"leap":true,"day":20,)"
      R"("hour":13,"minute":7,"second":9,"dateExists":false},"frame":{"yearStem":"庚","yearBranch":"辰",)"
      R"("yearStemNum":7,"yearBranchNum":5,"birthMonth":5,"monthPalace":7,"hourBranch":8,)"
      R"("sexLabel":"陽女","lifePalace":12,"bodyPalace":2,"bureau":"土五局","ziWei":6,)"
      R"("tianFu":12,"animal":"龍","lifeMaster":"巨門","bodyMaster":"文昌","douJun":"卯"},)"
      R"("palaces":[{)"))
      << json.substr(0, 600);
  using Keys = std::vector<std::string>;
  const auto document = parse(json);
  EXPECT_EQ(keys(document), (Keys{"input", "frame", "palaces"}));
  for (const auto& palace : document["palaces"].GetArray()) {
    EXPECT_EQ(keys(palace), (Keys{"num", "branch", "stem", "name", "body", "main", "minor", "void",
                                  "markers", "cycles", "growth", "majorPeriod", "minorAges"}));
    EXPECT_EQ(keys(palace["cycles"]), (Keys{"doctor", "general", "yearFront"}));
    for (const auto& star : palace["main"].GetArray())
      EXPECT_EQ(keys(star), (Keys{"star", "brightness", "transformation"}));
    for (const auto& star : palace["minor"].GetArray())
      EXPECT_EQ(keys(star), (Keys{"star", "brightness"}));
  }
}

// The document read back agrees with the engine and the cells, over births
// that reach every stem and branch, month, day, hour and sex, the leap flag,
// a solar date and names that need escaping.
void checkAgainstEngine(const BirthRequest& request) {
  const LunarBirth& input = request.birth;
  const ChartState chart = castFrame(input);
  const auto document = parse(chartJson(request, chart));
  // The input and the frame are written field by field alike for every
  // chart (the second example pins them byte for byte); what varies is
  // the solar date and the name.
  const auto& in = document["input"];
  EXPECT_EQ(text(in["name"]), request.name);
  EXPECT_EQ(in.HasMember("solar"), request.solar.has_value());
  if (request.solar) {
    EXPECT_EQ(text(in["solar"]), calendar::format_gregorian(*request.solar));
  }
  EXPECT_EQ(document["frame"]["lifePalace"].GetInt(), chart.LifePalaceNum);

  const auto& palaces = document["palaces"];
  ASSERT_EQ(palaces.Size(), 12u);
  for (rapidjson::SizeType i = 0; i < 12; ++i) {
    const auto& palace = palaces[i];
    const auto num = static_cast<PalaceNum>(i + 1);
    SCOPED_TRACE(num);
    EXPECT_EQ(palace["num"].GetInt(), num);
    EXPECT_EQ(text(palace["branch"]), getEARTHWORD(num));
    EXPECT_EQ(text(palace["stem"]), getSky(chart, num));
    EXPECT_EQ(text(palace["name"]), getOtherHourse(chart.LifePalaceNum, num));
    EXPECT_EQ(palace["body"].GetBool(), num == chart.BodyPalaceNum);

    // The stars of the palace's layout in order, each with its marks as
    // the cell shows them.
    const std::string cell = HourInStr(chart, num);
    const PalaceLayout groups = layOutPalaces(chart)[i];
    const auto names = [](const rapidjson::Value& list, const char* key) {
      std::vector<std::string> all;
      for (const auto& each : list.GetArray()) all.push_back(text(key ? each[key] : each));
      return all;
    };
    const auto starNames = [](const auto& row) {
      std::vector<std::string> all;
      for (const Star star : row) all.emplace_back(starName(star));
      return all;
    };
    EXPECT_EQ(names(palace["main"], "star"), starNames(groups.main));
    EXPECT_EQ(names(palace["minor"], "star"), starNames(groups.minor));
    EXPECT_EQ(names(palace["void"], nullptr), starNames(groups.voids));
    EXPECT_EQ(names(palace["markers"], nullptr), starNames(groups.markers));
    for (const auto& star : palace["main"].GetArray()) {
      std::string shown = text(star["star"]) + text(star["brightness"]);
      EXPECT_EQ(shown, checkMainStarType(num, text(star["star"]), 0));
      shown += star["transformation"].IsNull()
                   ? "ˉ"
                   : "<font color='#0000FF'><strong>" + text(star["transformation"]) +
                         "</strong></font>";
      EXPECT_NE(cell.find("size='2'>" + shown + "          </font>"), std::string::npos) << shown;
    }
    for (const auto& star : palace["minor"].GetArray()) {
      EXPECT_EQ(text(star["star"]) + text(star["brightness"]),
                checkSubStarType(num, text(star["star"]), 0));
    }
    const auto& cycles = palace["cycles"];
    EXPECT_EQ(text(cycles["doctor"]) + text(cycles["general"]) + text(cycles["yearFront"]),
              getDrTreeStar(chart, num, chart.SexText) + getYearSSFourStar(chart, num) +
                  getYearYFourStar(chart, num));

    const auto& period = palace["majorPeriod"];
    ASSERT_EQ(period.Size(), 2u);
    EXPECT_EQ(std::to_string(period[0].GetInt()) + "-" + std::to_string(period[1].GetInt()),
              getBigYear(chart.BureauName, chart.SexText, chart.LifePalaceNum, num));
    std::string ages;
    for (const auto& age : palace["minorAges"].GetArray())
      ages += " " + std::to_string(age.GetInt());
    EXPECT_EQ(palace["minorAges"].Size(), 9u);
    EXPECT_EQ(ages, getSmallYear(chart.YearBranchNum, chart.SexNum, num));
    EXPECT_EQ(text(palace["growth"]), getFiveLongLifeStar(chart.BureauName, chart.SexText, num));
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
  BirthRequest input;
  input.name = "\"a\\b\"\n\t<@>";
  const ChartState chart = castFrame(input.birth);
  const std::string json = chartJson(input, chart);
  EXPECT_NE(json.find(R"("name":"\"a\\b\"\n\t<@>")"), std::string::npos);
  EXPECT_EQ(text(parse(json)["input"]["name"]), input.name);
  input.name = "\xFF";
  EXPECT_THROW(chartJson(input, chart), std::invalid_argument);
  // Texts a chart cast elsewhere might hold are checked like the name.
  ChartState odd = castFrame(LunarBirth{});
  odd.BureauName = "\xFF";
  EXPECT_THROW(chartJson(BirthRequest{}, odd), std::invalid_argument);
}

// The running periods of the worked example (chart/tests/running_periods_test):
// the 己巳 decade's transformations and running stars by palace, its ten years
// from 2019 (己亥, 亥) to 2028 (戊申, 申); the minor period carries names only.
// Without a time the hour is null, past the twelfth period the decade.
TEST(ChartJson, RunningPeriodsOfTheWorkedExample) {
  BirthRequest input;
  input.birth = test::firstExampleBirth();
  const ChartState chart = castFrame(input.birth);
  const RunningPeriods periods =
      castPeriods(chart, targetOnSolar({2026, 5, 14}, ClockOfDay{13, 30}));
  const std::string json = chartJson(input, chart, nullptr, &periods);
  EXPECT_TRUE(json.starts_with(chartJson(input, chart).substr(0, json.find(",\"periods\""))));
  for (
      const char* part :
      {R"(,"periods":{"target":{"solar":"2026-05-14","time":"13:30","lunar":{"year":2026,)"
       R"("month":3,"leap":false,"day":28}},"age":43,"decade":{"palace":6,"stem":"己",)"
       R"("branch":"巳","names":["疾厄宮",)",
       R"("transformations":{"武曲":"祿","貪狼":"權","天梁":"科","文曲":"忌"},"stars":[["運魁"],)"
       R"([],[],[],["運喜"],["運陀","運曲"],["運祿"],["運羊"],["運鉞"],["運昌"],["運鸞"],["運馬"]],)"
       R"("firstAge":36,"lastAge":45,"childhood":false,"years":[{"year":2019,"age":36,)"
       R"("palace":12,"stemBranch":"己亥"},)",
       R"({"year":2028,"age":45,"palace":9,"stemBranch":"戊申"}]},"minor":{"palace":5,)"
       R"("stem":"戊","branch":"辰","names":[)",
       R"(]},"year":{"palace":7,"stem":"丙","branch":"午",)", R"("month":{"palace":9,)",
       R"("number":3},"day":{"palace":12,"stem":"戊","branch":"子",)",
       R"("hour":{"palace":7,"stem":"己","branch":"未",)"}) {
    EXPECT_NE(json.find(part), std::string::npos) << part;
  }
  const auto document = parse(json);
  const auto& year = document["periods"]["year"];
  for (const char* list : {"names", "stars", "general", "yearFront"}) {
    EXPECT_EQ(year[list].Size(), 12u) << list;
  }
  EXPECT_EQ(document["periods"]["decade"]["years"].Size(), 10u);

  const RunningPeriods noTime = castPeriods(chart, targetOnSolar({2026, 5, 14}));
  EXPECT_TRUE(parse(chartJson(input, chart, nullptr, &noTime))["periods"]["hour"].IsNull());
  input.birth = {1912, 1, false, 1, 14, 0, 0, true};  // 水二局: periods end at 121
  const ChartState water = castFrame(input.birth);
  const RunningPeriods old = castPeriods(water, targetOnSolar({2033, 6, 1}));
  EXPECT_TRUE(parse(chartJson(input, water, nullptr, &old))["periods"]["decade"].IsNull());
}

}  // namespace
}  // namespace ziwei
