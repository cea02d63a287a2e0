#include "chart/stars/voids.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace ziwei {

namespace {

// The sexagenary table, entries 1..60 at indices 0..59: entry i pairs stem
// (i mod 10) with branch (i mod 12), a remainder of 0 read as 10 or 12.
constexpr std::array<StemBranch, 60> kSexagenary = [] {
  std::array<StemBranch, 60> table{};
  for (int i = 1; i <= 60; ++i) table[static_cast<std::size_t>(i - 1)] = sexagenaryEntry(i);
  return table;
}();

// The two branches each decade of the table leaves void (yang branch first):
// 戌亥, 申酉, 午未, 辰巳, 寅卯, 子丑.
constexpr std::array<std::array<Branch, 2>, 6> kDecadeVoids = {{
    {Branch(11), Branch(12)},
    {Branch(9), Branch(10)},
    {Branch(7), Branch(8)},
    {Branch(5), Branch(6)},
    {Branch(3), Branch(4)},
    {Branch(1), Branch(2)},
}};

// Palace of 截空 by year stem.
constexpr std::array<PalaceNum, 10> kCutOffVoid = {
    branch::Shen, branch::Wu,  branch::Chen, branch::Yin, branch::Zi,
    branch::You,  branch::Wei, branch::Si,   branch::Mao, branch::Chou};

// The decade (0..5) of each entry of the table by its stem and branch
// index; -1 for a stem and branch that make no entry.
constexpr auto kDecadeOf = [] {
  std::array<std::array<std::int8_t, 12>, 10> decades{};
  for (auto& row : decades) row.fill(-1);
  for (std::size_t i = 0; i < kSexagenary.size(); ++i) {
    decades[kSexagenary[i].stem.index()][kSexagenary[i].branch.index()] =
        static_cast<std::int8_t>(i / 10);
  }
  return decades;
}();

}  // namespace

std::array<Branch, 2> EmptyDead(StemBranch SixStr) {
  if (!SixStr.stem.valid() || !SixStr.branch.valid()) return {};
  const int decade = kDecadeOf[SixStr.stem.index()][SixStr.branch.index()];
  if (decade < 0) return {};
  return kDecadeVoids[static_cast<std::size_t>(decade)];
}

FamilyPalaces<Family::DecadeVoid> getEmptyDead(const ChartState& chart) {
  const std::array<Branch, 2> pair = EmptyDead({chart.YearStem, chart.YearBranch});
  if (!pair[0].valid()) return {};
  // Odd (yang) year branches take the second branch of the pair, even ones the first.
  return {palaceOf(pair[chart.YearBranch.number() % 2 != 0 ? 1 : 0])};
}

FamilyPalaces<Family::CutOffVoid> getDrDDTreeStar(const ChartState& chart) {
  if (!chart.YearStem.valid()) return {};
  return {kCutOffVoid[chart.YearStem.index()]};
}

}  // namespace ziwei
