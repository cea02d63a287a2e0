#include "chart/frame/chart_frame.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "chart/frame/numbering.h"
#include "chart/frame/solar_months.h"

namespace ziwei {

namespace {

// The first entry of the 120-entry table that holds 戊子, the pair of the
// reference year 1888.
constexpr int findReferenceEntry() {
  for (int i = 1; i <= 120; ++i) {
    const StemBranch e = sexagenaryEntry(i);
    if (nameOf(e.stem) == "戊" && nameOf(e.branch) == "子") return i;
  }
  return 0;
}
constexpr int kReferenceYear = 1888;
constexpr int kReferenceEntry = findReferenceEntry();
static_assert(kReferenceEntry == 25);

// Bureau (水 0, 木 1, 金 2, 土 3, 火 4) by year-stem
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
constexpr std::array<std::array<std::uint8_t, 5>, 30> kZiWeiDayTable = {{
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

StemBranch yearStemBranch(int lunarYear) {
  // The year's entry in the 120-entry sexagenary table, counted from the
  // reference year's entry.
  int entry = floorMod(lunarYear - kReferenceYear + kReferenceEntry, 120);  // 0..119
  if (entry == 0) entry = 120;
  return sexagenaryEntry(entry);
}

PalaceNum ziWeiPalace(Bureau bureau, int birthDay) {
  if (birthDay < 1 || birthDay > 30) return {};
  return PalaceNum(
      kZiWeiDayTable[static_cast<std::size_t>(birthDay - 1)][static_cast<std::size_t>(bureau)]);
}

PalaceNum ziWeiByRule(int bureauNum, int birthDay) {
  if (bureauNum < 2 || bureauNum > 6 || birthDay < 1) return {};
  int k = 0;
  while ((birthDay + k) % bureauNum != 0) ++k;
  const int q = (birthDay + k) / bureauNum;
  const int steps = (q - 1) + (k % 2 == 1 ? -k : k);
  return branch::Yin + steps;
}

PalaceNum tianFuPalace(PalaceNum ziWei) {
  if (!ziWei.valid()) return {};
  const int z = ziWei.number();
  if (z <= 5) return PalaceNum(6 - z);
  if (z == 6) return branch::Hai;
  return PalaceNum(18 - z);
}

ChartState castFrame(const LunarBirth& birth, const ChartOptions& options,
                     std::optional<std::int64_t> birthInstant) {
  if (const auto field = fieldOutOfRange(birth, YearRange{1, 9999})) {
    throw std::invalid_argument("castFrame: " + std::string(field->name) + " " +
                                std::to_string(birth.*field->member) + " is outside " +
                                std::to_string(field->first) + ".." + std::to_string(field->last));
  }
  ChartState chart;
  chart.options = options;
  chart.BirthYear = static_cast<std::int16_t>(birth.year);
  chart.BirthMonth = static_cast<std::int16_t>(birth.month);
  chart.BirthDay = static_cast<std::int16_t>(birth.day);
  chart.BirthHour = static_cast<std::int16_t>(birth.hour);
  chart.BirthMinute = static_cast<std::int16_t>(birth.minute);
  chart.BirthSecond = static_cast<std::int16_t>(birth.second);

  const StemBranch pair =
      yearStemBranch(options.yearBoundary == YearBoundary::Spring
                         ? solarMonthOf(birthInstantOf(birth, birthInstant), "the birth").year
                         : birth.year);
  chart.YearStem = pair.stem;
  chart.YearBranch = pair.branch;

  chart.BirthMonth = static_cast<std::int16_t>(
      countedMonth(birth.month, birth.leap, birth.day, options.leapMonth));
  chart.MonthPalaceNum = branch::Yin + (chart.BirthMonth - 1);
  chart.HourNum = hourBranch(birth.hour);

  chart.SexNum = birth.male ? Sex::Male : Sex::Female;
  const bool yangStem = chart.YearStem.number() % 2 == 1;  // 甲丙戊庚壬
  if (birth.male) {
    chart.SexText = yangStem ? SexLabel::YangMale : SexLabel::YinMale;
  } else {
    chart.SexText = yangStem ? SexLabel::YangFemale : SexLabel::YinFemale;
  }

  const int hourSteps = chart.HourNum.number() - 1;
  chart.LifePalaceNum = chart.MonthPalaceNum - hourSteps;
  chart.BodyPalaceNum = chart.MonthPalaceNum + hourSteps;

  const auto stemPair = static_cast<std::size_t>(chart.YearStem.index() % 5);
  const auto lifePair = chart.LifePalaceNum.index() / 2;
  chart.BureauName = static_cast<Bureau>(kBureauTable[stemPair][lifePair]);

  chart.ZiWeiNum = ziWeiPalace(chart.BureauName, chart.BirthDay);
  chart.TianFuNum = tianFuPalace(chart.ZiWeiNum);
  return chart;
}

}  // namespace ziwei
