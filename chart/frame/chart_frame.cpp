#include "chart/frame/chart_frame.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <utility>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

// A given text made safe for a one-line message: quotes, backslashes and
// control characters are escaped.
std::string quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7f) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::string rangeText(int first, int last) {
  return std::to_string(first) + " to " + std::to_string(last);
}

// A selector's number: one or more ASCII digits, nothing else, within
// first..last. Anything else is refused under the field's name.
std::int16_t readNumber(const char* field, const std::string& text, int first, int last) {
  int value = 0;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const bool digitsOnly =
      !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (!digitsOnly || ec != std::errc{} || ptr != end || value < first || value > last) {
    throw SelectionError(field, text, rangeText(first, last));
  }
  return static_cast<std::int16_t>(value);
}

// The leap selector's text with leading and trailing blanks removed.
std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// Entry i (1..120) of the sexagenary table as stem and branch numbers.
struct StemBranch {
  int stem;
  int branch;
};
constexpr StemBranch sexagenaryEntry(int i) {
  const int s = i % 10;  // i >= 1
  const int b = i % 12;
  return {s == 0 ? 10 : s, b == 0 ? 12 : b};
}

// The first entry of the 120-entry table that holds 戊子, the pair of the
// reference year 1888.
constexpr int findReferenceEntry() {
  for (int i = 1; i <= 120; ++i) {
    const StemBranch e = sexagenaryEntry(i);
    if (kStemNames[static_cast<std::size_t>(e.stem - 1)] == "戊" &&
        kBranchNames[static_cast<std::size_t>(e.branch - 1)] == "子") {
      return i;
    }
  }
  return 0;
}
constexpr int kReferenceYear = 1888;
constexpr int kReferenceEntry = findReferenceEntry();
static_assert(kReferenceEntry == 25);

// Hour branch by clock hour 0..23: 23 and 0 are 子, then two hours a branch.
constexpr std::array<PalaceNum, 24> kHourBranch = {1, 2, 2, 3, 3, 4,  4,  5,  5,  6,  6,  7,
                                                   7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 1};

// Bureau (index into kBureauNames: 水 0, 木 1, 金 2, 土 3, 火 4) by year-stem
// pair (甲己, 乙庚, 丙辛, 丁壬, 戊癸) and Life-palace branch pair (子丑, 寅卯,
// 辰巳, 午未, 申酉, 戌亥).
constexpr std::array<std::array<std::uint8_t, 6>, 5> kBureauTable = {{
    {0, 4, 1, 3, 2, 4},  // 甲, 己
    {4, 3, 2, 1, 0, 3},  // 乙, 庚
    {3, 1, 0, 2, 4, 1},  // 丙, 辛
    {1, 2, 4, 0, 3, 2},  // 丁, 壬
    {2, 0, 3, 4, 1, 0},  // 戊, 癸
}};

// Palace of 紫微 by lunar day 1..30 (rows) and bureau (columns 水二 木三 金四
// 土五 火六).
constexpr std::array<std::array<PalaceNum, 5>, 30> kZiWeiDayTable = {{
    {2, 5, 12, 7, 10},    // day 1
    {3, 2, 5, 12, 7},     // day 2
    {3, 3, 2, 5, 12},     // day 3
    {4, 6, 3, 2, 5},      // day 4
    {4, 3, 1, 3, 2},      // day 5
    {5, 4, 6, 8, 3},      // day 6
    {5, 7, 3, 1, 11},     // day 7
    {6, 4, 4, 6, 8},      // day 8
    {6, 5, 2, 3, 1},      // day 9
    {7, 8, 7, 4, 6},      // day 10
    {7, 5, 4, 9, 3},      // day 11
    {8, 6, 5, 2, 4},      // day 12
    {8, 9, 3, 7, 12},     // day 13
    {9, 6, 8, 4, 9},      // day 14
    {9, 7, 5, 5, 2},      // day 15
    {10, 10, 6, 10, 7},   // day 16
    {10, 7, 4, 3, 4},     // day 17
    {11, 8, 9, 8, 5},     // day 18
    {11, 11, 6, 5, 1},    // day 19
    {12, 8, 7, 6, 10},    // day 20
    {12, 9, 5, 11, 3},    // day 21
    {1, 12, 10, 4, 8},    // day 22
    {1, 9, 7, 9, 5},      // day 23
    {2, 10, 8, 6, 6},     // day 24
    {2, 1, 6, 7, 2},      // day 25
    {3, 10, 11, 12, 11},  // day 26
    {3, 11, 8, 5, 4},     // day 27
    {4, 2, 9, 10, 9},     // day 28
    {4, 11, 7, 7, 6},     // day 29
    {5, 12, 12, 8, 7},    // day 30
}};

}  // namespace

PalaceNum ziWeiPalace(std::string_view bureauName, std::int16_t birthDay) {
  const int bureau = bureauNumber(bureauName);
  if (bureau == 0 || birthDay < 1 || birthDay > 30) return 0;
  return kZiWeiDayTable[static_cast<std::size_t>(birthDay - 1)]
                       [static_cast<std::size_t>(bureau - 2)];
}

PalaceNum ziWeiByRule(int bureauNum, int birthDay) {
  if (bureauNum < 2 || bureauNum > 6 || birthDay < 1) return 0;
  int k = 0;
  while ((birthDay + k) % bureauNum != 0) ++k;
  const int q = (birthDay + k) / bureauNum;
  const int steps = (q - 1) + (k % 2 == 1 ? -k : k);
  return wrapPalace(3 + steps);
}

PalaceNum tianFuPalace(PalaceNum ziWei) {
  if (!isPalace(ziWei)) return 0;
  if (ziWei <= 5) return static_cast<PalaceNum>(6 - ziWei);
  if (ziWei == 6) return 12;
  return static_cast<PalaceNum>(18 - ziWei);
}

SelectionError::SelectionError(std::string field, std::string given, std::string allowed)
    : std::invalid_argument(field + ": " + quoted(given) + " is not allowed (allowed: " + allowed +
                            ")"),
      field_(std::move(field)),
      given_(std::move(given)),
      allowed_(std::move(allowed)) {}

ChartState castFrame(const BirthSelection& selection, YearRange years) {
  // Read and check every selector before anything is computed.
  const std::int16_t year = readNumber("year", selection.year, years.first, years.last);
  const std::int16_t month = readNumber("month", selection.month, 1, 12);
  const std::string_view leap = trimBlanks(selection.leap);
  if (leap != "正" && leap != "閏") throw SelectionError("leap", selection.leap, "正 or 閏");
  const std::int16_t day = readNumber("day", selection.day, 1, 30);
  const std::int16_t hour = readNumber("hour", selection.hour, 0, 23);
  const std::int16_t minute = readNumber("minute", selection.minute, 0, 59);
  const std::int16_t second = readNumber("second", selection.second, 0, 59);

  ChartState chart;
  chart.BirthYear = year;
  chart.BirthMonth = month;
  chart.BirthDay = day;
  chart.BirthHour = hour;
  chart.BirthMinute = minute;
  chart.BirthSecond = second;

  // Year stem and branch: the year's entry in the 120-entry sexagenary table,
  // counted from the reference year's entry.
  int entry = floorMod(year - kReferenceYear + kReferenceEntry, 120);  // 0..119
  if (entry == 0) entry = 120;
  const StemBranch pair = sexagenaryEntry(entry);
  chart.CycleStemIndex = static_cast<std::int16_t>(sexagenaryEntry(120).stem);
  chart.YearStem = kStemNames[static_cast<std::size_t>(pair.stem - 1)];
  chart.YearBranch = kBranchNames[static_cast<std::size_t>(pair.branch - 1)];
  chart.YearStemNum = static_cast<std::int16_t>(positionOf(kStemNames, chart.YearStem));
  chart.YearBranchNum = static_cast<std::int16_t>(positionOf(kBranchNames, chart.YearBranch));

  // A leap month counts as the next month from its 16th day on.
  if (leap == "閏" && day > 15) {
    chart.BirthMonth = static_cast<std::int16_t>(month == 12 ? 1 : month + 1);
  }
  chart.MonthPalaceNum = wrapPalace(chart.BirthMonth + 2);
  chart.HourNum = kHourBranch[static_cast<std::size_t>(hour)];

  chart.SexNum = selection.male ? 1 : 2;
  const bool yangStem = chart.YearStemNum % 2 == 1;  // 甲丙戊庚壬
  if (selection.male) {
    chart.SexText = yangStem ? "陽男" : "陰男";
  } else {
    chart.SexText = yangStem ? "陽女" : "陰女";
  }

  chart.LifePalaceNum = wrapPalace(chart.MonthPalaceNum - chart.HourNum + 1);
  chart.BodyPalaceNum = wrapPalace(chart.MonthPalaceNum + chart.HourNum - 1);

  const auto stemPair = static_cast<std::size_t>((chart.YearStemNum - 1) % 5);
  const auto lifePair = static_cast<std::size_t>((chart.LifePalaceNum - 1) / 2);
  chart.BureauName = kBureauNames[kBureauTable[stemPair][lifePair]];

  chart.ZiWeiNum = ziWeiPalace(chart.BureauName, chart.BirthDay);
  chart.TianFuNum = tianFuPalace(chart.ZiWeiNum);
  return chart;
}

}  // namespace ziwei
