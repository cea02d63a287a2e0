#include "page/chart_json.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <charconv>
#include <stdexcept>
#include <string_view>

#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/year_stem_stars.h"
#include "page/palace_groups.h"
#include "page/user_text.h"

namespace ziwei {

namespace {

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

}  // namespace

std::string chartJson(const BirthInput& input, const ChartState& chart) {
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

}  // namespace ziwei
