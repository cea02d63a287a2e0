#include "json/chart_json.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <string_view>

#include "birth/birth_time_text.h"
#include "birth/lunar_birth.h"
#include "calendar/lunar.h"
#include "chart/frame/chart_frame.h"
#include "chart/rule_options.h"
#include "page/append_buffer.h"
#include "page/minor_ages.h"
#include "places/places.h"
#include "unicode/utf8.h"

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
template <class Date>
void appendDateDigits(AppendBuffer& out, const Date& date) {
  out.appendTwoDigits(date.year / 100);
  out.appendTwoDigits(date.year);
  out += '-';
  out.appendTwoDigits(date.month);
  out += '-';
  out.appendTwoDigits(date.day);
}

// "YYYY-MM-DD".
template <class Date>
void appendDate(AppendBuffer& out, const Date& date) {
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

void writeInput(AppendBuffer& out, const ChartRequest& request, const ChartRecord& record) {
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
  if (record.solar) {
    out += ",\"solar\":";
    appendDate(out, *record.solar);
  }
  if (record.steps != nullptr) writeBirthTime(out, request.options.lateZi, *record.steps);
  out += '}';
}

// The rules cast by other than their defaults, each by its option's name.
void writeOptions(AppendBuffer& out, const ChartOptions& options) {
  if (options == ChartOptions{}) return;
  out += ",\"options\":{";
  bool first = true;
  for (const RuleOption& rule : kRuleOptions) {
    const std::size_t word = rule.get(options);
    if (word == 0) continue;
    if (!first) out += ',';
    first = false;
    appendPlain(out, rule.name);
    out += ':';
    appendPlain(out, ruleWord(rule, word));
  }
  out += '}';
}

void writeFrame(AppendBuffer& out, const Chart& chart, const Vocabulary& words) {
  const ChartState& frame = chart.frame;
  out += ",\"frame\":{\"yearStem\":";
  appendPlain(out, words(frame.YearStem));
  out += ",\"yearBranch\":";
  appendPlain(out, words(frame.YearBranch));
  out += ",\"yearStemNum\":";
  appendNumber(out, frame.YearStem.number());
  out += ",\"yearBranchNum\":";
  appendNumber(out, frame.YearBranch.number());
  out += ",\"birthMonth\":";
  appendNumber(out, frame.BirthMonth);
  out += ",\"monthPalace\":";
  appendNumber(out, frame.MonthPalaceNum.number());
  out += ",\"hourBranch\":";
  appendNumber(out, frame.HourNum.number());
  out += ",\"sexLabel\":";
  appendPlain(out, words(frame.SexText));
  out += ",\"lifePalace\":";
  appendNumber(out, frame.LifePalaceNum.number());
  out += ",\"bodyPalace\":";
  appendNumber(out, frame.BodyPalaceNum.number());
  out += ",\"bureau\":";
  appendPlain(out, words(frame.BureauName));
  out += ",\"ziWei\":";
  appendNumber(out, frame.ZiWeiNum.number());
  out += ",\"tianFu\":";
  appendNumber(out, frame.TianFuNum.number());
  out += ",\"animal\":";
  appendPlain(out, words.animal(frame.YearBranch));
  out += ",\"lifeMaster\":";
  appendPlain(out, words(chart.lifeMaster));
  out += ",\"bodyMaster\":";
  appendPlain(out, words(chart.bodyMaster));
  out += ",\"douJun\":";
  appendPlain(out, words(branchOf(chart.douJun)));
  out += '}';
}

// The word of a main star's transformation; "null" for none.
void writeTransformation(AppendBuffer& out, Transformation transformation,
                         const Vocabulary& words) {
  if (transformation == Transformation::None) {
    out += std::string_view("null");
    return;
  }
  appendPlain(out, words(transformation));
}

template <std::size_t Capacity>
void writeNames(AppendBuffer& out, const StarRow<Capacity>& row, const Vocabulary& words) {
  out += '[';
  for (std::size_t i = 0; i < row.size; ++i) {
    if (i != 0) out += ',';
    appendPlain(out, words(row.stars[i].star));
  }
  out += ']';
}

void writePalace(AppendBuffer& out, const ChartPalace& palace, const Vocabulary& words) {
  const PalaceStars& stars = palace.stars;
  out += "{\"num\":";
  appendNumber(out, palace.palace.number());
  out += ",\"branch\":";
  appendPlain(out, words(branchOf(palace.palace)));
  out += ",\"stem\":";
  appendPlain(out, words(palace.stem));
  out += ",\"name\":";
  appendPlain(out, words(palace.role));
  out += ",\"body\":";
  appendBool(out, palace.body);

  out += ",\"main\":[";
  for (std::size_t i = 0; i < stars.main.size; ++i) {
    const PlacedStar& star = stars.main.stars[i];
    out += i == 0 ? "{\"star\":" : ",{\"star\":";
    appendPlain(out, words(star.star));
    out += ",\"brightness\":";
    appendPlain(out, words(star.brightness));
    out += ",\"transformation\":";
    writeTransformation(out, star.transformation, words);
    out += '}';
  }
  out += "],\"minor\":[";
  for (std::size_t i = 0; i < stars.minor.size; ++i) {
    const PlacedStar& star = stars.minor.stars[i];
    out += i == 0 ? "{\"star\":" : ",{\"star\":";
    appendPlain(out, words(star.star));
    out += ",\"brightness\":";
    appendPlain(out, words(star.brightness));
    out += '}';
  }
  out += "],\"void\":";
  writeNames(out, stars.voids, words);
  out += ",\"markers\":";
  writeNames(out, stars.markers, words);

  out += ",\"cycles\":{\"doctor\":";
  appendPlain(out, words(Cycle::Doctor, palace.cycle(Cycle::Doctor)));
  out += ",\"general\":";
  appendPlain(out, words(Cycle::General, palace.cycle(Cycle::General)));
  out += ",\"yearFront\":";
  appendPlain(out, words(Cycle::YearFront, palace.cycle(Cycle::YearFront)));
  out += "},\"growth\":";
  appendPlain(out, words(Cycle::Growth, palace.cycle(Cycle::Growth)));

  out += ",\"majorPeriod\":[";
  appendNumber(out, palace.majorPeriodFirstAge);
  out += ',';
  appendNumber(out, palace.majorPeriodFirstAge + 9);
  out += "],\"minorAges\":[";
  out += kMinorAgesInJson[static_cast<std::size_t>(palace.minorPeriodFirstAge)].view();
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

// The twelve texts `nameOf(palace)` of the palaces 子..亥.
void writeByPalace(AppendBuffer& out, const auto& nameOf) {
  out += '[';
  for (const PalaceNum palace : kPalaces) {
    if (palace != kPalaces[0]) out += ',';
    appendPlain(out, nameOf(palace));
  }
  out += ']';
}

// One level: its 命宮, stem and branch and the names it gives the twelve
// palaces; for the levels that carry them its four transformations and its
// running stars, a list of names for each palace 1..12.
void writeLevel(AppendBuffer& out, PeriodLevel level, const LevelPeriod& period,
                const Vocabulary& words) {
  out += "{\"palace\":";
  appendNumber(out, period.palace.number());
  out += ",\"stem\":";
  appendPlain(out, words(period.stemBranch.stem));
  out += ",\"branch\":";
  appendPlain(out, words(period.stemBranch.branch));
  out += ",\"names\":";
  writeByPalace(out, [&](PalaceNum num) { return words(roleOf(period.palace, num)); });
  if (!carriesStars(level)) return;
  out += ",\"transformations\":{";
  for (std::size_t i = 0; i < period.transformed.size(); ++i) {
    if (i != 0) out += ',';
    appendPlain(out, words(period.transformed[i]));
    out += ':';
    appendPlain(out, words(static_cast<Transformation>(i + 1)));
  }
  out += "},\"stars\":[";
  const std::string_view prefix = words.runningPrefixes[static_cast<std::size_t>(level)];
  for (const PalaceNum num : kPalaces) {
    out += num == kPalaces[0] ? "[" : ",[";
    bool first = true;
    for (std::size_t s = 0; s < kRunningStarCount; ++s) {
      if (period.stars[s] != num) continue;
      if (!first) out += ',';
      first = false;
      out += '"';
      out += prefix;
      out += words.runningStars[s];
      out += '"';
    }
    out += ']';
  }
  out += ']';
}

// The years of the decade: each age's lunar year, its stem-branch and the
// palace of its branch.
void writeDecadeYears(AppendBuffer& out, const ChartState& chart, const RunningPeriods& periods,
                      const Vocabulary& words) {
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
    appendNumber(out, sb.branch.number());
    out += ",\"stemBranch\":\"";
    out += words(sb.stem);
    out += words(sb.branch);
    out += "\"}";
  }
  out += ']';
}

// The level keys in PeriodLevel order.
constexpr std::array<std::string_view, kPeriodLevelCount> kLevelKeys = {
    ",\"decade\":", ",\"minor\":", ",\"year\":", ",\"month\":", ",\"day\":", ",\"hour\":"};

void writePeriods(AppendBuffer& out, const ChartState& chart, const RunningPeriods& periods,
                  const Vocabulary& words) {
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
    writeLevel(out, level, period, words);
    if (level == PeriodLevel::Decade) writeDecadeYears(out, chart, periods, words);
    if (level == PeriodLevel::Year) {
      const Branch branch = period.stemBranch.branch;
      out += ",\"general\":";
      writeByPalace(out, [&](PalaceNum num) {
        return words(Cycle::General, getYearSSFourStar(branch, num));
      });
      out += ",\"yearFront\":";
      writeByPalace(out, [&](PalaceNum num) {
        return words(Cycle::YearFront, getYearYFourStar(branch, num));
      });
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

void appendChartJson(std::string& text, const Chart& chart, const ChartRecord& record,
                     const Vocabulary& words) {
  const ChartRequest& request = chart.request;
  if (!isValidUtf8(request.name)) throw std::invalid_argument("the name is not valid UTF-8");
  const std::size_t start = text.size();
  AppendBuffer out(text);
  try {
    out += '{';
    writeInput(out, request, record);
    writeOptions(out, request.options);
    writeFrame(out, chart, words);
    out += std::string_view(",\"palaces\":[");
    for (const ChartPalace& palace : chart.palaces) {
      if (palace.palace != kPalaces[0]) out += ',';
      writePalace(out, palace, words);
    }
    out += ']';
    if (chart.periods) writePeriods(out, chart.frame, *chart.periods, words);
    out += '}';
    out.finish();
  } catch (...) {
    text.resize(start);
    throw;
  }
}

std::string chartJson(const Chart& chart, const ChartRecord& record, const Vocabulary& words) {
  std::string text;
  text.reserve(chart.periods ? 24576 : 16384);
  appendChartJson(text, chart, record, words);
  return text;
}

}  // namespace ziwei
