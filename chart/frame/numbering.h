#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "chart/frame/chart_state.h"

namespace ziwei {

// Stems 甲 1 ... 癸 10 and branches 子 1 ... 亥 12, as the engine numbers them.
inline constexpr std::array<std::string_view, 10> kStemNames = {"甲", "乙", "丙", "丁", "戊",
                                                                "己", "庚", "辛", "壬", "癸"};
inline constexpr std::array<std::string_view, 12> kBranchNames = {
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};

// Palace numbers by branch, so that placement tables read like the charts
// they come from. kNowhere marks a star that lies in no palace.
namespace branch {
enum Branch : std::int16_t {
  kNowhere = 0,
  Zi = 1,
  Chou,
  Yin,
  Mao,
  Chen,
  Si,
  Wu,
  Wei,
  Shen,
  You,
  Xu,
  Hai
};
}  // namespace branch

// The five-element bureaus; the digit of each name is its bureau number
// (water 2, wood 3, metal 4, earth 5, fire 6), so index i has number i + 2.
inline constexpr std::array<std::string_view, 5> kBureauNames = {"水二局", "木三局", "金四局",
                                                                 "土五局", "火六局"};

// A stem 1..10 and a branch 1..12 of the sexagenary cycle.
struct StemBranch {
  int stem = 0;
  int branch = 0;
  friend constexpr bool operator==(const StemBranch&, const StemBranch&) = default;
};

constexpr bool isPalace(int n) { return n >= 1 && n <= 12; }
constexpr bool isStem(int n) { return n >= 1 && n <= 10; }

// Remainder in 0..m-1 whatever the sign of `a` (m > 0).
constexpr int floorMod(int a, int m) {
  const int r = a % m;  // (-m, m)
  return r < 0 ? r + m : r;
}

// Entry i (any whole number; 1 is 甲子, 60 癸亥, 61 甲子 again) of the
// sexagenary cycle.
constexpr StemBranch sexagenaryEntry(int i) {
  return {floorMod(i - 1, 10) + 1, floorMod(i - 1, 12) + 1};
}

// Any whole number brought into the palace range 1..12 (13 -> 1, 0 -> 12).
constexpr PalaceNum wrapPalace(int n) { return static_cast<PalaceNum>(floorMod(n - 1, 12) + 1); }

// Bureau number 2..6 of a bureau name, 0 for any other text.
constexpr int bureauNumber(std::string_view name) {
  for (std::size_t i = 0; i < kBureauNames.size(); ++i) {
    if (kBureauNames[i] == name) return static_cast<int>(i) + 2;
  }
  return 0;
}

// Families that run in a direction run forward for "陽男" and "陰女".
constexpr bool runsForward(std::string_view sexText) {
  return sexText == "陽男" || sexText == "陰女";
}

// Position of `text` in a name table, counted from 1; 0 when absent.
template <std::size_t N>
constexpr int positionOf(const std::array<std::string_view, N>& names, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == text) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace ziwei
