#include "chart/stars/voids.h"

#include <array>
#include <cstddef>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

struct StemBranch {
  std::int16_t stem;    // 1..10
  std::int16_t branch;  // 1..12
};

// The sexagenary table, entries 1..60 at indices 0..59: entry i pairs stem
// (i mod 10) with branch (i mod 12), a remainder of 0 read as 10 or 12.
constexpr std::array<StemBranch, 60> kSexagenary = [] {
  std::array<StemBranch, 60> table{};
  for (int i = 1; i <= 60; ++i) {
    const int s = i % 10;
    const int b = i % 12;
    table[static_cast<std::size_t>(i - 1)] = {static_cast<std::int16_t>(s == 0 ? 10 : s),
                                              static_cast<std::int16_t>(b == 0 ? 12 : b)};
  }
  return table;
}();

// The two branches each decade of the table leaves void (yang branch first).
constexpr std::array<std::string_view, 6> kDecadeVoids = {"戌亥", "申酉", "午未",
                                                          "辰巳", "寅卯", "子丑"};

// Palace of 截空 by year stem.
constexpr std::array<PalaceNum, 10> kCutOffVoid = {9, 7, 5, 3, 1, 10, 8, 6, 4, 2};

constexpr std::size_t kCharBytes = 3;  // every stem and branch character in UTF-8

// The decade void pair of a stem and a branch character, empty when the two
// do not form one of the sixty pairs.
std::string_view decadeVoid(std::string_view stem, std::string_view branchChar) {
  const int s = positionOf(kStemNames, stem);
  const int b = positionOf(kBranchNames, branchChar);
  for (std::size_t i = 0; i < kSexagenary.size(); ++i) {
    if (kSexagenary[i].stem == s && kSexagenary[i].branch == b) return kDecadeVoids[i / 10];
  }
  return {};
}

}  // namespace

std::string EmptyDead(std::string_view SixStr) {
  if (SixStr.size() != 2 * kCharBytes) return {};
  return std::string(decadeVoid(SixStr.substr(0, kCharBytes), SixStr.substr(kCharBytes)));
}

FamilyPalaces<Family::DecadeVoid> emptyDeadPalaces(const ChartState& chart) {
  const std::string_view pair = decadeVoid(chart.YearStem, chart.YearBranch);
  if (pair.empty()) return {};
  // Odd (yang) year branches take the second branch of the pair, even ones the first.
  const std::string_view chosen =
      chart.YearBranchNum % 2 != 0 ? pair.substr(kCharBytes) : pair.substr(0, kCharBytes);
  return {static_cast<PalaceNum>(positionOf(kBranchNames, chosen))};
}

FamilyPalaces<Family::CutOffVoid> drDDTreePalaces(const ChartState& chart) {
  if (!isStem(chart.YearStemNum)) return {};
  return {kCutOffVoid[static_cast<std::size_t>(chart.YearStemNum - 1)]};
}

StarList getEmptyDead(const ChartState& chart, PalaceNum DayNum) {
  return starsIn<Family::DecadeVoid>(emptyDeadPalaces(chart), DayNum);
}

StarList getDrDDTreeStar(const ChartState& chart, PalaceNum DayNum) {
  return starsIn<Family::CutOffVoid>(drDDTreePalaces(chart), DayNum);
}

}  // namespace ziwei
