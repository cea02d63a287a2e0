#include "page/chart_json.h"

#include <array>
#include <stdexcept>
#include <string_view>

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

// "YYYY-MM-DD", the year in four digits.
void appendDate(AppendBuffer& out, const calendar::GregorianDate& date) {
  const auto twoDigits = [&out](int n) {
    out += static_cast<char>('0' + n / 10 % 10);
    out += static_cast<char>('0' + n % 10);
  };
  out += '"';
  twoDigits(date.year / 100);
  twoDigits(date.year);
  out += '-';
  twoDigits(date.month);
  out += '-';
  twoDigits(date.day);
  out += '"';
}

void writeInput(AppendBuffer& out, const BirthRequest& request) {
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
  if (request.solar) {
    out += ",\"solar\":";
    appendDate(out, *request.solar);
  }
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

}  // namespace

void appendChartJson(std::string& text, const BirthRequest& request, const ChartState& chart) {
  if (!isValidUtf8(request.name)) throw std::invalid_argument("the name is not valid UTF-8");
  const std::size_t start = text.size();
  const ChartLayout layout = layOutPalaces(chart);
  AppendBuffer out(text);
  try {
    out += '{';
    writeInput(out, request);
    writeFrame(out, chart);
    out += std::string_view(",\"palaces\":[");
    for (PalaceNum num = 1; num <= 12; ++num) {
      if (num != 1) out += ',';
      writePalace(out, chart, layout[static_cast<std::size_t>(num - 1)], num);
    }
    out += std::string_view("]}");
    out.finish();
  } catch (...) {
    text.resize(start);
    throw;
  }
}

std::string chartJson(const BirthRequest& request, const ChartState& chart) {
  std::string text;
  text.reserve(16384);
  appendChartJson(text, request, chart);
  return text;
}

}  // namespace ziwei
