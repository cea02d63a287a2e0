#include "json/chart_json.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string_view>

#include "birth/birth_time_text.h"
#include "birth/lunar_birth.h"
#include "calendar/lunar.h"
#include "chart/frame/chart_frame.h"
#include "chart/frame/pillars.h"
#include "chart/relations/relations.h"
#include "chart/rule_options.h"
#include "json/json_string.h"
#include "page/append_buffer.h"
#include "page/minor_ages.h"
#include "places/places.h"
#include "rules/rule_text.h"
#include "unicode/utf8.h"

namespace ziwei {

namespace {

// The document is written straight into one string: the keys and the
// punctuation between values are literal pieces, the values are appended
// between them. No blanks, strings escaped as JSON requires ("\"", "\\",
// control characters as \b \t \n \f \r or \u00XX), everything else as it is.

// A JSON string of `text`, which must be valid UTF-8.
void appendString(AppendBuffer& out, std::string_view text) { appendJsonString(out, text); }

[[gnu::always_inline]] inline void appendNumber(AppendBuffer& out, int number) {
  out.appendNumber(number);
}

// A text of the engine's constant tables, which holds nothing to escape.
[[gnu::always_inline]] inline void appendPlain(AppendBuffer& out, std::string_view text) {
  out += '"';
  out += text;
  out += '"';
}

void appendBool(AppendBuffer& out, bool value) {
  out += value ? std::string_view("true") : std::string_view("false");
}

// ---------------------------------------------------------------- fragments

// Most of a document is names and the keys around them, by a few numbers of
// the chart. Each such piece is made once per vocabulary as a Fragment, so
// that writing it is one fixed-size copy: a star's object up to its
// brightness by star, the rest by brightness and (main group)
// transformation; a palace's head by palace and stem, then by role and Body
// mark; each cycle entry with its key; and every name as a JSON string.
// (Whole star objects by star, brightness and transformation would take
// one copy less but tables many times larger than the processor's first
// cache, and the writer would wait on them.)

// The longest name of each kind over some vocabularies, in bytes.
struct NameLengths {
  std::size_t any = 0;
  std::size_t stems = 0;
  std::size_t branches = 0;
  std::size_t palaces = 0;
  std::size_t stars = 0;
  std::size_t brightness = 0;
  std::size_t transformations = 0;
  std::size_t cycles = 0;
};

constexpr NameLengths longestNames(std::initializer_list<const Vocabulary*> vocabularies) {
  NameLengths longest;
  std::size_t others = 0;
  const auto take = [&longest](std::size_t& kind, const auto& names) {
    for (const std::string_view name : names) {
      kind = std::max(kind, name.size());
      longest.any = std::max(longest.any, name.size());
    }
  };
  for (const Vocabulary* words : vocabularies) {
    take(longest.stems, words->stems);
    take(longest.branches, words->branches);
    take(others, words->animals);
    take(longest.palaces, words->palaces);
    take(others, words->sexLabels);
    take(others, words->bureaus);
    take(longest.stars, words->stars);
    take(longest.brightness, words->brightness);
    take(longest.transformations, words->transformations);
    for (const auto& cycle : words->cycles) take(longest.cycles, cycle);
  }
  return longest;
}

// A fragment's room holds it in every vocabulary; its short copy, in the
// Chinese ones (the default and the most written).
inline constexpr NameLengths kNames = longestNames({&kZhHant, &kZhHans, &kEnglish});
inline constexpr NameLengths kChineseNames = longestNames({&kZhHant, &kZhHans});

// Rooms in whole 16-byte moves.
constexpr std::size_t roomOf(std::size_t bytes) { return (bytes + 15) / 16 * 16; }

// The bytes of each kind of fragment, each name with its quotes:
// ,"name"
constexpr std::size_t nameBytes(const NameLengths& n) { return 3 + n.any; }
// ,{"star":"","brightness":
constexpr std::size_t starHeadBytes(const NameLengths& n) { return 25 + n.stars; }
// "","transformation":""} or null for none
constexpr std::size_t mainTailBytes(const NameLengths& n) {
  return 23 + n.brightness + std::max<std::size_t>(n.transformations, 2);
}
// ""}
constexpr std::size_t minorTailBytes(const NameLengths& n) { return 3 + n.brightness; }
// ,{"num":12,"branch":"","stem":"","name":
constexpr std::size_t palaceHeadBytes(const NameLengths& n) { return 40 + n.branches + n.stems; }
// "","body":false,"main":[
constexpr std::size_t roleBytes(const NameLengths& n) { return 25 + n.palaces; }
// ,"cycles":{"doctor":"" (the longest of the four entries)
constexpr std::size_t cycleBytes(const NameLengths& n) { return 22 + n.cycles; }

template <std::size_t (*Bytes)(const NameLengths&)>
using FragmentOf = Fragment<roomOf(Bytes(kNames)), roomOf(Bytes(kChineseNames))>;

using Name = FragmentOf<nameBytes>;
using StarHead = FragmentOf<starHeadBytes>;
using MainTail = FragmentOf<mainTailBytes>;
using MinorTail = FragmentOf<minorTailBytes>;
using PalaceHead = FragmentOf<palaceHeadBytes>;
using RoleText = FragmentOf<roleBytes>;
using CycleText = FragmentOf<cycleBytes>;
// ,"祿":12
constexpr std::size_t flightBytes(const NameLengths& n) { return 6 + n.transformations; }
// ,"祿":"" with a star's name
constexpr std::size_t fallenBytes(const NameLengths& n) { return 6 + n.transformations + n.stars; }
using FlightText = FragmentOf<flightBytes>;
using FallenText = FragmentOf<fallenBytes>;
// ,"majorPeriod":[116,125
using MajorPeriodText = Fragment<32>;
// ],"minorAges":[12,24,36,48,60,72,84,96,108]}
using MinorAgesTail = Fragment<48>;

// The decimal digits of `number`, 0 <= number < 1000.
template <std::size_t Room, std::size_t Short>
constexpr void addNumber(Fragment<Room, Short>& fragment, int number) {
  if (number >= 100) fragment += static_cast<char>('0' + number / 100);
  if (number >= 10) fragment += static_cast<char>('0' + number / 10 % 10);
  fragment += static_cast<char>('0' + number % 10);
}

// The first age of a major period is its bureau's number (2..6) + 10 per
// palace: below kMajorPeriodAges.
inline constexpr int kMajorPeriodAges = bureauNumber(Bureau::Fire) + 10 * 11 + 1;

// A palace's major period up to its last age, by its first age.
constexpr std::array<MajorPeriodText, kMajorPeriodAges> kMajorPeriods = [] {
  std::array<MajorPeriodText, kMajorPeriodAges> periods{};
  for (int first = 0; first < kMajorPeriodAges; ++first) {
    MajorPeriodText& text = periods[static_cast<std::size_t>(first)];
    text += ",\"majorPeriod\":[";
    addNumber(text, first);
    text += ',';
    addNumber(text, first + 9);
  }
  return periods;
}();

// The last entry of a palace by its first minor-period age (1..12).
constexpr std::array<MinorAgesTail, 13> kMinorAgesTails = [] {
  std::array<MinorAgesTail, 13> tails{};
  for (std::size_t first = 1; first < tails.size(); ++first) {
    tails[first] += "],\"minorAges\":[";
    tails[first] += kMinorAgesInJson[first].view();
    tails[first] += "]";
  }
  return tails;
}();

// The head of a palace's relations up to its flights, by palace index:
// {"trine":[1,7,5,9],"flank":[12,2],"flies":{
constexpr std::array<Fragment<48>, 12> kRelationsHeads = [] {
  std::array<Fragment<48>, 12> heads{};
  for (const PalaceNum palace : kPalaces) {
    Fragment<48>& head = heads[palace.index()];
    head += "{\"trine\":[";
    for (const PalaceNum p : trineOf(palace)) {
      if (p != palace) head += ',';
      addNumber(head, p.number());
    }
    head += "],\"flank\":[";
    addNumber(head, flankOf(palace)[0].number());
    head += ',';
    addNumber(head, flankOf(palace)[1].number());
    head += "],\"flies\":{";
  }
  return heads;
}();

// The fragments of one vocabulary.
struct JsonWords {
  explicit JsonWords(const Vocabulary& vocabulary);

  const Vocabulary& words;
  // Every name as a list item: a comma, then the name as a JSON string.
  std::array<Name, 10> stems;
  std::array<Name, 12> branches;
  std::array<Name, 12> animals;
  std::array<Name, kPalaceRoleCount> roles;
  std::array<Name, kSexLabelCount> sexLabels;
  std::array<Name, kBureauCount> bureaus;
  std::array<Name, kStarCount> stars;
  std::array<Name, kTransformationCount> transformations;
  std::array<std::array<Name, kCycleLength>, kCycleCount> cycleNames;
  // A star's object up to its brightness by Star; the rest of it by
  // brightness and transformation (main group) or by brightness (minor).
  std::array<StarHead, kStarCount> starHeads;
  std::array<std::array<MainTail, kTransformationCount>, kBrightnessCount> mainTails;
  std::array<MinorTail, kBrightnessCount> minorTails;
  // A palace's head by palace index and stem index, then its name and Body
  // mark by role and body, up to the main group's opening bracket.
  std::array<std::array<PalaceHead, 10>, 12> palaceHeads;
  std::array<std::array<RoleText, 2>, kPalaceRoleCount> roleTexts;
  // A flight as an entry by kind (祿 權 科 忌) and the index of the palace it
  // ends at; a transformation that falls back on a palace's star, by kind
  // and Star.
  std::array<std::array<FlightText, 12>, 4> flights;
  std::array<std::array<FallenText, kStarCount>, 4> fallen;
  // Each cycle's entry with its key, by Cycle and step.
  std::array<std::array<CycleText, kCycleLength>, kCycleCount> cycles;

  const Name& operator()(Stem stem) const { return stems[stem.index()]; }
  const Name& operator()(Branch branch) const { return branches[branch.index()]; }
  const Name& operator()(Star star) const { return stars[static_cast<std::size_t>(star)]; }
  const Name& operator()(PalaceRole role) const { return roles[static_cast<std::size_t>(role)]; }
  const Name& operator()(SexLabel label) const {
    return sexLabels[static_cast<std::size_t>(label)];
  }
  const Name& operator()(Bureau bureau) const { return bureaus[static_cast<std::size_t>(bureau)]; }
  const Name& operator()(Transformation transformation) const {
    return transformations[static_cast<std::size_t>(transformation)];
  }
  const Name& operator()(Cycle cycle, CycleStep step) const {
    return cycleNames[static_cast<std::size_t>(cycle)][step];
  }
  const Name& animal(Branch branch) const { return animals[branch.index()]; }
  const StarHead& starHead(const PlacedStar& star) const {
    return starHeads[static_cast<std::size_t>(star.star)];
  }
  const MainTail& mainTail(const PlacedStar& star) const {
    return mainTails[static_cast<std::size_t>(star.brightness)]
                    [static_cast<std::size_t>(star.transformation)];
  }
  const MinorTail& minorTail(const PlacedStar& star) const {
    return minorTails[static_cast<std::size_t>(star.brightness)];
  }
};

template <std::size_t Room, std::size_t Short>
constexpr void addQuoted(Fragment<Room, Short>& fragment, std::string_view name) {
  fragment += '"';
  fragment += name;
  fragment += '"';
}

template <std::size_t Size>
std::array<Name, Size> namesOf(const std::array<std::string_view, Size>& names) {
  std::array<Name, Size> list{};
  for (std::size_t i = 0; i < Size; ++i) {
    list[i] += ',';
    addQuoted(list[i], names[i]);
  }
  return list;
}

// The keys of the cycle entries, by Cycle, and what closes each.
constexpr std::array<std::string_view, kCycleCount> kCycleKeys = {
    ",\"cycles\":{\"doctor\":", ",\"general\":", ",\"yearFront\":", ",\"growth\":"};
constexpr std::array<std::string_view, kCycleCount> kCycleEnds = {"", "", "}", ""};

JsonWords::JsonWords(const Vocabulary& vocabulary)
    : words(vocabulary),
      stems(namesOf(words.stems)),
      branches(namesOf(words.branches)),
      animals(namesOf(words.animals)),
      roles(namesOf(words.palaces)),
      sexLabels(namesOf(words.sexLabels)),
      bureaus(namesOf(words.bureaus)),
      stars(namesOf(words.stars)),
      transformations(namesOf(words.transformations)) {
  for (std::size_t c = 0; c < kCycleCount; ++c) {
    cycleNames[c] = namesOf(words.cycles[c]);
    for (std::size_t step = 0; step < kCycleLength; ++step) {
      CycleText& text = cycles[c][step];
      text += kCycleKeys[c];
      addQuoted(text, words.cycles[c][step]);
      text += kCycleEnds[c];
    }
  }
  for (std::size_t star = 0; star < kStarCount; ++star) {
    StarHead& head = starHeads[star];
    head += ",{\"star\":";
    addQuoted(head, words.stars[star]);
    head += ",\"brightness\":";
  }
  for (std::size_t b = 0; b < kBrightnessCount; ++b) {
    for (std::size_t t = 0; t < kTransformationCount; ++t) {
      MainTail& tail = mainTails[b][t];
      addQuoted(tail, words.brightness[b]);
      tail += ",\"transformation\":";
      if (t == static_cast<std::size_t>(Transformation::None)) {
        tail += "null";
      } else {
        addQuoted(tail, words.transformations[t]);
      }
      tail += '}';
    }
    addQuoted(minorTails[b], words.brightness[b]);
    minorTails[b] += '}';
  }
  for (const PalaceNum palace : kPalaces) {
    for (std::size_t stem = 0; stem < stems.size(); ++stem) {
      PalaceHead& head = palaceHeads[palace.index()][stem];
      head += ",{\"num\":";
      addNumber(head, palace.number());
      head += ",\"branch\":";
      addQuoted(head, words(branchOf(palace)));
      head += ",\"stem\":";
      addQuoted(head, words.stems[stem]);
      head += ",\"name\":";
    }
  }
  for (std::size_t role = 0; role < kPalaceRoleCount; ++role) {
    for (std::size_t body = 0; body < 2; ++body) {
      RoleText& text = roleTexts[role][body];
      addQuoted(text, words.palaces[role]);
      text += body != 0 ? ",\"body\":true,\"main\":[" : ",\"body\":false,\"main\":[";
    }
  }
  for (std::size_t k = 0; k < kFourTransformations.size(); ++k) {
    const std::string_view kind = words(kFourTransformations[k]);
    for (const PalaceNum palace : kPalaces) {
      FlightText& text = flights[k][palace.index()];
      text += ',';
      addQuoted(text, kind);
      text += ':';
      addNumber(text, palace.number());
    }
    for (std::size_t star = 0; star < kStarCount; ++star) {
      FallenText& text = fallen[k][star];
      text += ',';
      addQuoted(text, kind);
      text += ':';
      addQuoted(text, words.stars[star]);
    }
  }
}

// The fragments of `words`, made on first use.
template <Language L>
const JsonWords& jsonWordsOf() {
  static const JsonWords table(vocabularyOf(L));
  return table;
}

const JsonWords& jsonWords(const Vocabulary& words) {
  if (&words == &kZhHant) return jsonWordsOf<Language::ZhHant>();
  if (&words == &kZhHans) return jsonWordsOf<Language::ZhHans>();
  if (&words == &kEnglish) return jsonWordsOf<Language::En>();
  throw std::invalid_argument(
      "the JSON document is written in the vocabularies of vocabularyOf only");
}

// A fragment that starts with a comma as a list item: without the comma for
// the first.
template <class Out, std::size_t Room, std::size_t Short>
[[gnu::always_inline]] inline void appendItem(Out& out, const Fragment<Room, Short>& item,
                                              bool first) {
  out.append(item, first ? 1 : 0);
}
// A name as a value.
[[gnu::always_inline]] inline void appendName(AppendBuffer& out, const Name& name) {
  out.append(name, 1);
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

void appendPillar(AppendBuffer& out, std::string_view key, StemBranch pillar,
                  const Vocabulary& words) {
  out += key;
  out += '"';
  out += words(pillar.stem);
  out += words(pillar.branch);
  out += '"';
}

void appendPillars(AppendBuffer& out, const FourPillars& pillars, const Vocabulary& words) {
  appendPillar(out, "{\"year\":", pillars.year, words);
  appendPillar(out, ",\"month\":", pillars.month, words);
  appendPillar(out, ",\"day\":", pillars.day, words);
  appendPillar(out, ",\"hour\":", pillars.hour, words);
  out += '}';
}

// The four pillars by the solar terms and by the lunar calendar; null for a
// year outside the calendar (and by the terms outside their table).
void writePillars(AppendBuffer& out, const Chart& chart, const Vocabulary& words) {
  out += ",\"pillars\":";
  const int year = chart.request.birth.year;
  if (year < calendar::kFirstLunarYear || year > calendar::kLastLunarYear) {
    appendNull(out);
    return;
  }
  const BirthPillars pillars = birthPillars(chart);
  out += "{\"solarTerms\":";
  pillars.bySolarTerms ? appendPillars(out, *pillars.bySolarTerms, words) : appendNull(out);
  out += ",\"lunar\":";
  appendPillars(out, pillars.byLunar, words);
  out += '}';
}

void writeInput(AppendBuffer& out, const Chart& chart, const ChartRecord& record,
                const Vocabulary& words) {
  const ChartRequest& request = chart.request;
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
  writePillars(out, chart, words);
  out += '}';
}

// The rules cast by other than their defaults, each by its option's name.
// The transformation table, when not the default, as
// "transformation":{"戊":["貪狼","太陰","太陽","天機"]} for each stem changed.
void writeOptions(AppendBuffer& out, const ChartOptions& options, const JsonWords& json) {
  // The table compared as bytes: the defaulted comparison goes star by star.
  const bool defaultTable = std::memcmp(options.transformations.data(), kTransformations.data(),
                                        sizeof(TransformationTable)) == 0;
  if (defaultTable && std::all_of(kRuleOptions.begin(), kRuleOptions.end(),
                                  [&](const RuleOption& rule) { return rule.get(options) == 0; })) {
    return;
  }
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
  if (!defaultTable) {
    if (!first) out += ',';
    appendPlain(out, kTransformationRule);
    out += ":{";
    bool firstStem = true;
    for (int number = 1; number <= 10; ++number) {
      const Stem stem(number);
      const auto& row = options.transformations[stem.index()];
      if (row == kTransformations[stem.index()]) continue;
      if (!firstStem) out += ',';
      firstStem = false;
      appendName(out, json(stem));
      out += ":[";
      for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) out += ',';
        appendName(out, json(row[i]));
      }
      out += ']';
    }
    out += '}';
  }
  out += '}';
}

void writeFrame(AppendBuffer& out, const Chart& chart, const JsonWords& json) {
  const ChartState& frame = chart.frame;
  out += ",\"frame\":{\"yearStem\":";
  appendName(out, json(frame.YearStem));
  out += ",\"yearBranch\":";
  appendName(out, json(frame.YearBranch));
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
  appendName(out, json(frame.SexText));
  out += ",\"lifePalace\":";
  appendNumber(out, frame.LifePalaceNum.number());
  out += ",\"bodyPalace\":";
  appendNumber(out, frame.BodyPalaceNum.number());
  out += ",\"bureau\":";
  appendName(out, json(frame.BureauName));
  out += ",\"ziWei\":";
  appendNumber(out, frame.ZiWeiNum.number());
  out += ",\"tianFu\":";
  appendNumber(out, frame.TianFuNum.number());
  out += ",\"animal\":";
  appendName(out, json.animal(frame.YearBranch));
  out += ",\"lifeMaster\":";
  appendName(out, json(chart.lifeMaster));
  out += ",\"bodyMaster\":";
  appendName(out, json(chart.bodyMaster));
  out += ",\"douJun\":";
  appendName(out, json(branchOf(chart.douJun)));
  out += '}';
}

// The names of a group's stars, as a list.
template <std::size_t Capacity>
void writeNames(FragmentCursor& out, const StarRow<Capacity>& row, const JsonWords& json) {
  out += "[";
  for (const PlacedStar& star : row) appendItem(out, json(star.star), &star == row.begin());
  out += "]";
}

// The relations of a palace: its 三方四正 and flanks by number, the palace
// each of its stem's four transformations flies to, and the stars of this
// palace that its own stem (self) and the opposite palace's (inward)
// transform, by kind.
void writeRelations(AppendBuffer& buffer, PalaceNum palace, const PalaceRelations& relations,
                    const PalaceStems& stems, const TransformationTable& table,
                    const JsonWords& json) {
  FragmentCursor out(buffer);
  out.append(kRelationsHeads[palace.index()]);
  for (std::size_t k = 0; k < kFourTransformations.size(); ++k) {
    appendItem(out, json.flights[k][relations.flies[k].index()], k == 0);
  }
  const auto writeFallen = [&](TransformationSet kinds, Stem stem) {
    bool first = true;
    for (std::size_t k = 0; k < kFourTransformations.size(); ++k) {
      if (!kinds.has(kFourTransformations[k])) continue;
      appendItem(out, json.fallen[k][static_cast<std::size_t>(table[stem.index()][k])], first);
      first = false;
    }
  };
  out += "},\"self\":{";
  writeFallen(relations.self, stems[palace.index()]);
  out += "},\"inward\":{";
  writeFallen(relations.inward, stems[(palace + 6).index()]);
  out += "}}";
}

// One palace, after a comma unless it is the first: fragments alone.
void writePalace(AppendBuffer& buffer, const ChartPalace& palace, const JsonWords& json) {
  FragmentCursor out(buffer);
  const PalaceStars& stars = palace.stars;
  appendItem(out, json.palaceHeads[palace.palace.index()][palace.stem.index()],
             palace.palace == kPalaces[0]);
  out.append(json.roleTexts[static_cast<std::size_t>(palace.role)][palace.body]);
  for (const PlacedStar& star : stars.main) {
    appendItem(out, json.starHead(star), &star == stars.main.begin());
    out.append(json.mainTail(star));
  }
  out += "],\"minor\":[";
  for (const PlacedStar& star : stars.minor) {
    appendItem(out, json.starHead(star), &star == stars.minor.begin());
    out.append(json.minorTail(star));
  }
  out += "],\"void\":";
  writeNames(out, stars.voids, json);
  out += ",\"markers\":";
  writeNames(out, stars.markers, json);
  for (std::size_t c = 0; c < kCycleCount; ++c) out.append(json.cycles[c][palace.cycles[c]]);
  out.append(kMajorPeriods[static_cast<std::size_t>(palace.majorPeriodFirstAge)]);
  out.append(kMinorAgesTails[static_cast<std::size_t>(palace.minorPeriodFirstAge)]);
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

// The twelve names `nameOf(palace)` of the palaces 子..亥.
void writeByPalace(AppendBuffer& out, const auto& nameOf) {
  out += '[';
  for (const PalaceNum palace : kPalaces) appendItem(out, nameOf(palace), palace == kPalaces[0]);
  out += ']';
}

// One level: its 命宮, stem and branch and the names it gives the twelve
// palaces; for the levels that carry them its four transformations and its
// running stars, a list of names for each palace 1..12.
void writeLevel(AppendBuffer& out, PeriodLevel level, const LevelPeriod& period,
                const JsonWords& json) {
  const Vocabulary& words = json.words;
  out += "{\"palace\":";
  appendNumber(out, period.palace.number());
  out += ",\"stem\":";
  appendName(out, json(period.stemBranch.stem));
  out += ",\"branch\":";
  appendName(out, json(period.stemBranch.branch));
  out += ",\"names\":";
  writeByPalace(out,
                [&](PalaceNum num) -> const Name& { return json(roleOf(period.palace, num)); });
  if (!carriesStars(level)) return;
  out += ",\"transformations\":{";
  for (std::size_t i = 0; i < period.transformed.size(); ++i) {
    appendItem(out, json(period.transformed[i]), i == 0);
    out += ':';
    appendName(out, json(static_cast<Transformation>(i + 1)));
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

// The natal palaces' relations, and what they are read from.
struct NatalRelations {
  StarPalaces stars;
  PalaceStems stems;
  PalaceRelationsByPalace relations;

  explicit NatalRelations(const Chart& chart)
      : stars(mainStarPalacesOf(chart)),
        stems(natalStems(chart)),
        relations(palaceRelations(chart, stems, stars)) {}
};

// The relations of a level's twelve palaces 子..亥 when they carry its stems
// (the natal ones again when they are the natal stems).
void writeLevelRelations(AppendBuffer& out, const Chart& chart, PeriodLevel level,
                         const NatalRelations& natal, const JsonWords& json) {
  const PalaceStems stems = levelStems(chart, level);
  const PalaceRelationsByPalace relations =
      stems == natal.stems ? natal.relations : palaceRelations(chart, stems, natal.stars);
  out += std::string_view(",\"relations\":[");
  for (const PalaceNum palace : kPalaces) {
    if (palace != kPalaces[0]) out += ',';
    writeRelations(out, palace, relations[palace.index()], stems,
                   chart.frame.options.transformations, json);
  }
  out += ']';
}

void writePeriods(AppendBuffer& out, const Chart& natal, const NatalRelations& relations,
                  const JsonWords& json) {
  const ChartState& chart = natal.frame;
  const RunningPeriods& periods = *natal.periods;
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
    writeLevel(out, level, period, json);
    if (level == PeriodLevel::Decade) writeDecadeYears(out, chart, periods, json.words);
    if (level == PeriodLevel::Year) {
      const Branch branch = period.stemBranch.branch;
      out += ",\"general\":";
      writeByPalace(out, [&](PalaceNum num) -> const Name& {
        return json(Cycle::General, getYearSSFourStar(branch, num));
      });
      out += ",\"yearFront\":";
      writeByPalace(out, [&](PalaceNum num) -> const Name& {
        return json(Cycle::YearFront, getYearYFourStar(branch, num));
      });
    }
    if (level == PeriodLevel::Month) {
      out += ",\"number\":";
      appendNumber(out, periods.month);
    }
    if (carriesStars(level)) writeLevelRelations(out, natal, level, relations, json);
    out += '}';
  }
  out += '}';
}

}  // namespace

void appendChartJson(std::string& text, const Chart& chart, const ChartRecord& record,
                     const Vocabulary& words) {
  const ChartRequest& request = chart.request;
  if (!isValidUtf8(request.name)) throw std::invalid_argument("the name is not valid UTF-8");
  const JsonWords& json = jsonWords(words);
  const std::size_t start = text.size();
  AppendBuffer out(text);
  try {
    out += '{';
    writeInput(out, chart, record, words);
    writeOptions(out, request.options, json);
    writeFrame(out, chart, json);
    out += std::string_view(",\"palaces\":[");
    const NatalRelations natal(chart);
    for (const ChartPalace& palace : chart.palaces) {
      writePalace(out, palace, json);
      out += std::string_view(",\"relations\":");
      writeRelations(out, palace.palace, natal.relations[palace.palace.index()], natal.stems,
                     chart.frame.options.transformations, json);
      out += '}';
    }
    out += ']';
    if (chart.periods) writePeriods(out, chart, natal, json);
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
