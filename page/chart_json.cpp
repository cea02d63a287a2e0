#include "page/chart_json.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <string_view>

#include "birth/birth_time_text.h"
#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "chart/frame/numbering.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/palace_layout.h"
#include "chart/stars/year_stem_stars.h"
#include "page/append_buffer.h"
#include "page/minor_ages.h"
#include "page/user_text.h"

namespace ziwei {

namespace {

// The document is written straight into one string: the keys and the
// punctuation between values are literal pieces, the values are appended
// between them. No blanks, strings escaped as JSON requires ("\"", "\\",
// control characters as \b \t \n \f \r or \u00XX), everything else as it is.

// The escape of each byte: 0 for none, else the letter after the backslash
// ('u' for \u00XX).
constexpr std::array<char, 128> kEscapes = [] {
  std::array<char, 128> escapes{};
  for (std::size_t c = 0; c < 0x20; ++c) escapes[c] = 'u';
  escapes['\b'] = 'b';
  escapes['\t'] = 't';
  escapes['\n'] = 'n';
  escapes['\f'] = 'f';
  escapes['\r'] = 'r';
  escapes['"'] = '"';
  escapes['\\'] = '\\';
  return escapes;
}();

bool needsEscape(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x80 && kEscapes[byte] != 0;
}

// A JSON string of `text`, which must be valid UTF-8.
void appendString(AppendBuffer& out, std::string_view text) {
  out += '"';
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!needsEscape(text[i])) continue;
    out += text.substr(done, i - done);
    const auto byte = static_cast<unsigned char>(text[i]);
    out += '\\';
    out += kEscapes[byte];
    if (kEscapes[byte] == 'u') {
      constexpr std::string_view kHex = "0123456789ABCDEF";
      out += std::string_view("00");
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
    done = i + 1;
  }
  out += text.substr(done);
  out += '"';
}

// A text of the chart itself, checked like the user's.
void appendCheckedString(AppendBuffer& out, std::string_view text) {
  if (!isValidUtf8(text)) throw std::invalid_argument("text for JSON is not valid UTF-8");
  appendString(out, text);
}

void appendNumber(AppendBuffer& out, int number) { out.appendNumber(number); }

// A text of the engine's constant tables, which holds nothing to escape.
[[gnu::always_inline]] inline void appendPlain(AppendBuffer& out, std::string_view text) {
  out += '"';
  out += text;
  out += '"';
}

void appendBool(AppendBuffer& out, bool value) {
  out += value ? std::string_view("true") : std::string_view("false");
}

// YYYY-MM-DD, the year in four digits.
void appendDateDigits(AppendBuffer& out, const calendar::GregorianDate& date) {
  out.appendTwoDigits(date.year / 100);
  out.appendTwoDigits(date.year);
  out += '-';
  out.appendTwoDigits(date.month);
  out += '-';
  out.appendTwoDigits(date.day);
}

// "YYYY-MM-DD".
void appendDate(AppendBuffer& out, const calendar::GregorianDate& date) {
  out += '"';
  appendDateDigits(out, date);
  out += '"';
}

void appendNull(AppendBuffer& out) { out += std::string_view("null"); }

// "YYYY-MM-DDTHH:MM:SS", a local date and time.
void appendClock(AppendBuffer& out, const ClockTime& time) {
  appendPlain(out, formatClock(time, 'T'));
}

// The shortest text that reads back as `value`.
void appendDecimal(AppendBuffer& out, double value) {
  std::array<char, 32> text{};
  char* const end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  out += std::string_view(text.data(), static_cast<std::size_t>(end - text.data()));
}

// The steps from the birth time as recorded to the lunar birth cast.
void writeBirthTime(AppendBuffer& out, LateZi lateZi, const BirthTimeSteps& steps) {
  out += ",\"clock\":";
  steps.civil ? appendClock(out, steps.clock) : appendNull(out);
  out += ",\"place\":";
  steps.place != nullptr ? appendString(out, places::qualifiedName(*steps.place)) : appendNull(out);
  out += ",\"zone\":";
  steps.zone.empty() ? appendNull(out) : appendString(out, steps.zone);
  out += ",\"utcOffset\":";
  appendNumber(out, steps.utcOffset);
  out += ",\"dstRemoved\":";
  appendBool(out, steps.daylightSaving != 0);
  out += ",\"standardTime\":";
  steps.civil ? appendClock(out, steps.standard) : appendNull(out);
  const bool solarTime = steps.civil && steps.longitude;
  out += ",\"longitude\":";
  solarTime ? appendDecimal(out, *steps.longitude) : appendNull(out);
  out += ",\"meanTimeCorrection\":";
  solarTime ? appendNumber(out, steps.meanTimeCorrection) : appendNull(out);
  out += ",\"equationOfTime\":";
  solarTime ? appendNumber(out, steps.equationOfTime) : appendNull(out);
  out += ",\"trueSolarTime\":";
  solarTime ? appendClock(out, steps.trueSolar) : appendNull(out);
  out += lateZi == LateZi::NextDay ? std::string_view(",\"lateZi\":\"next-day\"")
                                   : std::string_view(",\"lateZi\":\"same-day\"");
  out += ",\"lateZiMoved\":";
  appendBool(out, steps.lateZiMoved);
  out += ",\"hourBranch\":";
  appendNumber(out, steps.hourBranch);
}

void writeInput(AppendBuffer& out, const BirthRequest& request, const BirthTimeSteps* steps) {
  const LunarBirth& birth = request.birth;
  out += "\"input\":{\"name\":";
  appendString(out, request.name);
  out += birth.male ? ",\"sex\":\"male\",\"year\":" : ",\"sex\":\"female\",\"year\":";
  appendNumber(out, birth.year);
  out += ",\"month\":";
  appendNumber(out, birth.month);
  out += ",\"leap\":";
  appendBool(out, birth.leap);
  out += ",\"day\":";
  appendNumber(out, birth.day);
  out += ",\"hour\":";
  appendNumber(out, birth.hour);
  out += ",\"minute\":";
  appendNumber(out, birth.minute);
  out += ",\"second\":";
  appendNumber(out, birth.second);
  out += ",\"dateExists\":";
  appendBool(out, calendar::is_valid(lunarDateOf(birth)));
  if (request.solar) {
    out += ",\"solar\":";
    appendDate(out, *request.solar);
  }
  if (steps != nullptr) writeBirthTime(out, request.options.lateZi, *steps);
  out += '}';
}

void writeFrame(AppendBuffer& out, const ChartState& chart) {
  out += ",\"frame\":{\"yearStem\":";
  appendCheckedString(out, chart.YearStem);
  out += ",\"yearBranch\":";
  appendCheckedString(out, chart.YearBranch);
  out += ",\"yearStemNum\":";
  appendNumber(out, chart.YearStemNum);
  out += ",\"yearBranchNum\":";
  appendNumber(out, chart.YearBranchNum);
  out += ",\"birthMonth\":";
  appendNumber(out, chart.BirthMonth);
  out += ",\"monthPalace\":";
  appendNumber(out, chart.MonthPalaceNum);
  out += ",\"hourBranch\":";
  appendNumber(out, chart.HourNum);
  out += ",\"sexLabel\":";
  appendCheckedString(out, chart.SexText);
  out += ",\"lifePalace\":";
  appendNumber(out, chart.LifePalaceNum);
  out += ",\"bodyPalace\":";
  appendNumber(out, chart.BodyPalaceNum);
  out += ",\"bureau\":";
  appendCheckedString(out, chart.BureauName);
  out += ",\"ziWei\":";
  appendNumber(out, chart.ZiWeiNum);
  out += ",\"tianFu\":";
  appendNumber(out, chart.TianFuNum);
  out += ",\"animal\":";
  appendPlain(out, getAnimal(chart.YearBranchNum));
  out += ",\"lifeMaster\":";
  appendPlain(out, getLiftStart(chart.LifePalaceNum));
  out += ",\"bodyMaster\":";
  appendPlain(out, getBodyStart(chart));
  out += ",\"douJun\":";
  appendPlain(out, getEARTHWORD(getLifeDStart(chart)));
  out += '}';
}

// The word of a main star's transformation; "null" for none.
void writeTransformation(AppendBuffer& out, Transformation transformation) {
  if (transformation == Transformation::None) {
    out += std::string_view("null");
    return;
  }
  appendPlain(out, kTransformationWords[static_cast<std::size_t>(transformation)]);
}

template <std::size_t Capacity>
void writeNames(AppendBuffer& out, const StarRow<Capacity>& row) {
  out += '[';
  for (std::size_t i = 0; i < row.size; ++i) {
    if (i != 0) out += ',';
    appendPlain(out, starName(row.stars[i]));
  }
  out += ']';
}

void writePalace(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                 PalaceNum num) {
  out += "{\"num\":";
  appendNumber(out, num);
  out += ",\"branch\":";
  appendPlain(out, kBranchNames[static_cast<std::size_t>(num - 1)]);
  out += ",\"stem\":";
  appendPlain(out, getSky(chart, num));
  out += ",\"name\":";
  appendPlain(out, palaceName(chart.LifePalaceNum, num));
  out += ",\"body\":";
  appendBool(out, !getBodyHourse(chart, num).empty());

  out += ",\"main\":[";
  for (std::size_t i = 0; i < palace.main.size; ++i) {
    const Star star = palace.main.stars[i];
    out += i == 0 ? "{\"star\":" : ",{\"star\":";
    appendPlain(out, starName(star));
    out += ",\"brightness\":";
    appendPlain(out, mainStarMark(star, num));
    out += ",\"transformation\":";
    writeTransformation(out, transformationOf(chart, star));
    out += '}';
  }
  out += "],\"minor\":[";
  for (std::size_t i = 0; i < palace.minor.size; ++i) {
    const Star star = palace.minor.stars[i];
    out += i == 0 ? "{\"star\":" : ",{\"star\":";
    appendPlain(out, starName(star));
    out += ",\"brightness\":";
    appendPlain(out, minorStarMark(star, num));
    out += '}';
  }
  out += "],\"void\":";
  writeNames(out, palace.voids);
  out += ",\"markers\":";
  writeNames(out, palace.markers);

  out += ",\"cycles\":{\"doctor\":";
  appendPlain(out, doctorName(chart, num, chart.SexText));
  out += ",\"general\":";
  appendPlain(out, generalName(chart, num));
  out += ",\"yearFront\":";
  appendPlain(out, yearFrontName(chart, num));
  out += "},\"growth\":";
  appendPlain(out, growthName(chart.BureauName, chart.SexText, num));

  out += ",\"majorPeriod\":[";
  if (const int start = majorPeriodStart(chart.BureauName, chart.SexText, chart.LifePalaceNum, num);
      start != 0) {
    appendNumber(out, start);
    out += ',';
    appendNumber(out, start + 9);
  }
  out += "],\"minorAges\":[";
  out += kMinorAgesInJson[static_cast<std::size_t>(
                              minorPeriodFirstAge(chart.YearBranchNum, chart.SexNum, num))]
             .view();
  out += "]}";
}

// "HH:MM".
void appendClock(AppendBuffer& out, const ClockOfDay& time) {
  out += '"';
  out.appendNumber(time.hour / 10);
  out.appendNumber(time.hour % 10);
  out += ':';
  out.appendNumber(time.minute / 10);
  out.appendNumber(time.minute % 10);
  out += '"';
}

void writeTarget(AppendBuffer& out, const TargetMoment& target) {
  out += "\"target\":{\"solar\":";
  appendDate(out, target.solar);
  out += ",\"time\":";
  if (target.time) {
    appendClock(out, *target.time);
  } else {
    out += std::string_view("null");
  }
  out += ",\"lunar\":{\"year\":";
  appendNumber(out, target.lunar.year);
  out += ",\"month\":";
  appendNumber(out, target.lunar.month);
  out += ",\"leap\":";
  appendBool(out, target.lunar.leap);
  out += ",\"day\":";
  appendNumber(out, target.lunar.day);
  out += "}}";
}

// The twelve texts `nameOf(num)` of the palaces 1..12.
void writeByPalace(AppendBuffer& out, const auto& nameOf) {
  out += '[';
  for (PalaceNum num = 1; num <= 12; ++num) {
    if (num != 1) out += ',';
    appendPlain(out, nameOf(num));
  }
  out += ']';
}

// One level: its 命宮, stem and branch and the names it gives the twelve
// palaces; for the levels that carry them its four transformations and its
// running stars, a list of names for each palace 1..12.
void writeLevel(AppendBuffer& out, PeriodLevel level, const LevelPeriod& period) {
  out += "{\"palace\":";
  appendNumber(out, period.palace);
  out += ",\"stem\":";
  appendPlain(out, kStemNames[static_cast<std::size_t>(period.stemBranch.stem - 1)]);
  out += ",\"branch\":";
  appendPlain(out, kBranchNames[static_cast<std::size_t>(period.stemBranch.branch - 1)]);
  out += ",\"names\":";
  writeByPalace(out, [&](PalaceNum num) { return palaceName(period.palace, num); });
  if (!carriesStars(level)) return;
  out += ",\"transformations\":{";
  for (std::size_t i = 0; i < period.transformed.size(); ++i) {
    if (i != 0) out += ',';
    appendPlain(out, starName(period.transformed[i]));
    out += ':';
    appendPlain(out, kTransformationWords[i + 1]);
  }
  out += "},\"stars\":[";
  const std::string_view prefix = kRunningStarPrefixes[static_cast<std::size_t>(level)];
  for (PalaceNum num = 1; num <= 12; ++num) {
    out += num == 1 ? "[" : ",[";
    bool first = true;
    for (std::size_t s = 0; s < kRunningStarCount; ++s) {
      if (period.stars[s] != num) continue;
      if (!first) out += ',';
      first = false;
      out += '"';
      out += prefix;
      out += kRunningStarNames[s];
      out += '"';
    }
    out += ']';
  }
  out += ']';
}

// The years of the decade: each age's lunar year, its stem-branch and the
// palace of its branch.
void writeDecadeYears(AppendBuffer& out, const ChartState& chart, const RunningPeriods& periods) {
  out += ",\"firstAge\":";
  appendNumber(out, periods.decadeFirstAge);
  out += ",\"lastAge\":";
  appendNumber(out, periods.decadeLastAge);
  out += ",\"childhood\":";
  appendBool(out, periods.childhood);
  out += ",\"years\":[";
  for (int age = periods.decadeFirstAge; age <= periods.decadeLastAge; ++age) {
    if (age != periods.decadeFirstAge) out += ',';
    const int year = lunarYearOfAge(chart, age);
    const StemBranch sb = yearStemBranch(year);
    out += "{\"year\":";
    appendNumber(out, year);
    out += ",\"age\":";
    appendNumber(out, age);
    out += ",\"palace\":";
    appendNumber(out, sb.branch);
    out += ",\"stemBranch\":\"";
    out += kStemNames[static_cast<std::size_t>(sb.stem - 1)];
    out += kBranchNames[static_cast<std::size_t>(sb.branch - 1)];
    out += "\"}";
  }
  out += ']';
}

// The level keys in PeriodLevel order.
constexpr std::array<std::string_view, kPeriodLevelCount> kLevelKeys = {
    ",\"decade\":", ",\"minor\":", ",\"year\":", ",\"month\":", ",\"day\":", ",\"hour\":"};

void writePeriods(AppendBuffer& out, const ChartState& chart, const RunningPeriods& periods) {
  out += ",\"periods\":{";
  writeTarget(out, periods.target);
  out += ",\"age\":";
  appendNumber(out, periods.age);
  for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
    const auto level = static_cast<PeriodLevel>(i);
    out += kLevelKeys[i];
    const LevelPeriod& period = periods[level];
    if (!period.present) {
      out += std::string_view("null");
      continue;
    }
    writeLevel(out, level, period);
    if (level == PeriodLevel::Decade) writeDecadeYears(out, chart, periods);
    if (level == PeriodLevel::Year) {
      const int branch = period.stemBranch.branch;
      out += ",\"general\":";
      writeByPalace(out, [branch](PalaceNum num) { return generalName(branch, num); });
      out += ",\"yearFront\":";
      writeByPalace(out, [branch](PalaceNum num) { return yearFrontName(branch, num); });
    }
    if (level == PeriodLevel::Month) {
      out += ",\"number\":";
      appendNumber(out, periods.month);
    }
    out += '}';
  }
  out += '}';
}

}  // namespace

void appendChartJson(std::string& text, const BirthRequest& request, const ChartState& chart,
                     const BirthTimeSteps* steps, const RunningPeriods* periods) {
  if (!isValidUtf8(request.name)) throw std::invalid_argument("the name is not valid UTF-8");
  const std::size_t start = text.size();
  const ChartLayout layout = layOutPalaces(chart);
  AppendBuffer out(text);
  try {
    out += '{';
    writeInput(out, request, steps);
    writeFrame(out, chart);
    out += std::string_view(",\"palaces\":[");
    for (PalaceNum num = 1; num <= 12; ++num) {
      if (num != 1) out += ',';
      writePalace(out, chart, layout[static_cast<std::size_t>(num - 1)], num);
    }
    out += ']';
    if (periods != nullptr) writePeriods(out, chart, *periods);
    out += '}';
    out.finish();
  } catch (...) {
    text.resize(start);
    throw;
  }
}

std::string chartJson(const BirthRequest& request, const ChartState& chart,
                      const BirthTimeSteps* steps, const RunningPeriods* periods) {
  std::string text;
  text.reserve(periods == nullptr ? 16384 : 24576);
  appendChartJson(text, request, chart, steps, periods);
  return text;
}

}  // namespace ziwei
