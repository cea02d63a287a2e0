#include "page/chart_json.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "example_charts.h"
#include "page/palace_cell.h"
#include "page/palace_groups.h"

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

BirthInput secondExampleInput() {
  BirthInput input;
  input.name = "王小明";
  input.male = false;
  input.month = 4;
  input.leap = true;
  input.day = 20;
  input.hour = 13;
  input.minute = 7;
  input.second = 9;
  return input;
}

std::vector<std::string> keys(const rapidjson::Value& object) {
  std::vector<std::string> names;
  for (const auto& member : object.GetObject()) names.push_back(text(member.name));
  return names;
}

TEST(ChartJson, HasTheDocumentedShape) {
  const BirthInput input;
  const auto document = parse(chartJson(input, castFrame(toSelection(input))));
  using Keys = std::vector<std::string>;
  EXPECT_EQ(keys(document), (Keys{"input", "frame", "palaces"}));
  EXPECT_EQ(keys(document["input"]),
            (Keys{"name", "sex", "year", "month", "leap", "day", "hour", "minute", "second"}));
  EXPECT_EQ(keys(document["frame"]),
            (Keys{"yearStem", "yearBranch", "yearStemNum", "yearBranchNum", "birthMonth",
                  "monthPalace", "hourBranch", "sexLabel", "lifePalace", "bodyPalace", "bureau",
                  "ziWei", "tianFu", "animal", "lifeMaster", "bodyMaster", "douJun"}));
  ASSERT_TRUE(document["palaces"].IsArray());
  for (const auto& palace : document["palaces"].GetArray()) {
    EXPECT_EQ(keys(palace), (Keys{"num", "branch", "stem", "name", "body", "main", "minor", "void",
                                  "markers", "cycles", "growth", "majorPeriod", "minorAges"}));
    EXPECT_EQ(keys(palace["cycles"]), (Keys{"doctor", "general", "yearFront"}));
    for (const auto& star : palace["main"].GetArray()) {
      EXPECT_EQ(keys(star), (Keys{"star", "brightness", "transformation"}));
    }
    for (const auto& star : palace["minor"].GetArray()) {
      EXPECT_EQ(keys(star), (Keys{"star", "brightness"}));
    }
  }
}

TEST(ChartJson, InputIsTheRequestAsGiven) {
  const BirthInput input = secondExampleInput();
  const auto document = parse(chartJson(input, castFrame(toSelection(input))));
  const auto& in = document["input"];
  EXPECT_EQ(in.MemberCount(), 9u);
  EXPECT_EQ(text(in["name"]), "王小明");
  EXPECT_EQ(text(in["sex"]), "female");
  EXPECT_EQ(in["year"].GetInt(), 2000);
  EXPECT_EQ(in["month"].GetInt(), 4);
  EXPECT_TRUE(in["leap"].GetBool());
  EXPECT_EQ(in["day"].GetInt(), 20);
  EXPECT_EQ(in["hour"].GetInt(), 13);
  EXPECT_EQ(in["minute"].GetInt(), 7);
  EXPECT_EQ(in["second"].GetInt(), 9);
}

TEST(ChartJson, FrameOfTheSecondExample) {
  const BirthInput input = secondExampleInput();
  const auto document = parse(chartJson(input, castFrame(toSelection(input))));
  const auto& frame = document["frame"];
  EXPECT_EQ(frame.MemberCount(), 17u);
  EXPECT_EQ(text(frame["yearStem"]), "庚");
  EXPECT_EQ(text(frame["yearBranch"]), "辰");
  EXPECT_EQ(frame["yearStemNum"].GetInt(), 7);
  EXPECT_EQ(frame["yearBranchNum"].GetInt(), 5);
  EXPECT_EQ(frame["birthMonth"].GetInt(), 5);
  EXPECT_EQ(frame["monthPalace"].GetInt(), 7);
  EXPECT_EQ(frame["hourBranch"].GetInt(), 8);
  EXPECT_EQ(text(frame["sexLabel"]), "陽女");
  EXPECT_EQ(frame["lifePalace"].GetInt(), 12);
  EXPECT_EQ(frame["bodyPalace"].GetInt(), 2);
  EXPECT_EQ(text(frame["bureau"]), "土五局");
  EXPECT_EQ(frame["ziWei"].GetInt(), 6);
  EXPECT_EQ(frame["tianFu"].GetInt(), 12);
  EXPECT_EQ(text(frame["animal"]), "龍");
  EXPECT_EQ(text(frame["lifeMaster"]), "巨門");
  EXPECT_EQ(text(frame["bodyMaster"]), "文昌");
  EXPECT_EQ(text(frame["douJun"]), "卯");
}

TEST(ChartJson, PalacesAgreeWithTheEngineAndTheCells) {
  const BirthInput input = secondExampleInput();
  const ChartState chart = castFrame(toSelection(input));
  const auto document = parse(chartJson(input, chart));
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

    // Every star with its marks stands in the cell exactly as listed.
    const std::string cell = HourInStr(chart, num);
    const PalaceGroups groups = gatherPalaceGroups(chart, num);
    ASSERT_EQ(palace["main"].Size(), groups.main.size());
    for (rapidjson::SizeType k = 0; k < palace["main"].Size(); ++k) {
      const auto& star = palace["main"][k];
      EXPECT_EQ(text(star["star"]), groups.main[k]);
      std::string shown = text(star["star"]) + text(star["brightness"]);
      EXPECT_EQ(shown, checkMainStarType(num, groups.main[k], 0));
      if (star["transformation"].IsNull()) {
        shown += "ˉ";
      } else {
        shown +=
            "<font color='#0000FF'><strong>" + text(star["transformation"]) + "</strong></font>";
      }
      EXPECT_NE(cell.find("size='2'>" + shown + "          </font>"), std::string::npos) << shown;
    }
    ASSERT_EQ(palace["minor"].Size(), groups.minor.size());
    for (rapidjson::SizeType k = 0; k < palace["minor"].Size(); ++k) {
      const auto& star = palace["minor"][k];
      EXPECT_EQ(text(star["star"]) + text(star["brightness"]),
                checkSubStarType(num, groups.minor[k], 0));
    }
    EXPECT_EQ(palace["void"].Size(), groups.voids.size());
    EXPECT_EQ(palace["markers"].Size(), groups.markers.size());

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
    EXPECT_EQ(palace["cycles"].MemberCount(), 3u);
  }
}

TEST(ChartJson, MarksOfTheFirstExample) {
  BirthInput input;
  input.year = 1984;
  const auto document = parse(chartJson(input, castFrame(toSelection(input))));
  const auto& chou = document["palaces"][1];  // 丑: 廉貞 祿, 七殺, 陀羅, 天魁
  EXPECT_EQ(text(chou["main"][0]["star"]), "廉貞");
  EXPECT_EQ(text(chou["main"][0]["brightness"]), "△");
  EXPECT_EQ(text(chou["main"][0]["transformation"]), "祿");
  EXPECT_TRUE(chou["main"][1]["transformation"].IsNull());
  EXPECT_EQ(text(chou["main"][3]["star"]), "天魁");
  EXPECT_EQ(text(chou["main"][3]["brightness"]), "ˉ");
  const auto& you = document["palaces"][9];  // 酉: 紫微 first
  EXPECT_EQ(text(you["main"][0]["star"]), "紫微");
  EXPECT_EQ(text(you["markers"][0]), "天使");
  EXPECT_EQ(text(you["cycles"]["doctor"]), "喜神");
  EXPECT_EQ(text(you["cycles"]["general"]), "咸池");
  EXPECT_EQ(text(you["cycles"]["yearFront"]), "天德");
  const auto& hai = document["palaces"][11];  // 亥: 旬空
  EXPECT_EQ(text(hai["void"][0]), "旬空");
  EXPECT_EQ(hai["majorPeriod"][0].GetInt(), 96);
  EXPECT_EQ(hai["majorPeriod"][1].GetInt(), 105);
}

TEST(ChartJson, NamesAreEscapedAndMustBeUtf8) {
  BirthInput input;
  input.name = "\"a\\b\"\n\t<@>";
  const ChartState chart = castFrame(toSelection(input));
  const std::string json = chartJson(input, chart);
  EXPECT_NE(json.find(R"("name":"\"a\\b\"\n\t<@>")"), std::string::npos);
  EXPECT_EQ(text(parse(json)["input"]["name"]), input.name);
  input.name = "\xFF";
  EXPECT_THROW(chartJson(input, chart), std::invalid_argument);
}

}  // namespace
}  // namespace ziwei
