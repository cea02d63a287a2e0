#pragma once
// Heavenly stems, earthly branches and the sixty-entry cycle they make: the
// numbers every layer counts with (stems 甲 1 .. 癸 10, branches 子 1 .. 亥
// 12) as types of their own, and their names as the calendar writes them.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ziwei {

// Remainder in 0..m-1 whatever the sign of `a` (m > 0).
constexpr int floorMod(int a, int m) {
  // Most steps stay within one cycle either way (-m <= a < m), which needs
  // no division.
  if (static_cast<unsigned>(a) + static_cast<unsigned>(m) < 2u * static_cast<unsigned>(m)) {
    return a < 0 ? a + m : a;
  }
  const int r = a % m;  // (-m, m)
  return r < 0 ? r + m : r;
}

// A number 1..Count of a cycle of its own kind; 0 is "none". Built only
// explicitly from an int, so that numbers of different cycles never mix.
template <class Kind, int Count>
class CycleNumber {
 public:
  static constexpr int kCount = Count;
  constexpr CycleNumber() = default;
  constexpr explicit CycleNumber(int number) : number_(static_cast<std::int8_t>(number)) {}

  // Any whole number brought into the cycle 1..Count (Count + 1 -> 1, 0 -> Count).
  static constexpr CycleNumber wrap(int n) { return CycleNumber(floorMod(n - 1, Count) + 1); }

  constexpr int number() const { return number_; }
  constexpr bool valid() const { return number_ >= 1 && number_ <= Count; }
  // 0..Count-1, for indexing tables; only for valid numbers.
  constexpr std::size_t index() const { return static_cast<std::size_t>(number_ - 1); }
  // The number `steps` on (back for negative steps), wrapped.
  constexpr CycleNumber operator+(int steps) const { return wrap(number_ + steps); }
  constexpr CycleNumber operator-(int steps) const { return wrap(number_ - steps); }

  friend constexpr auto operator<=>(CycleNumber, CycleNumber) = default;

 private:
  std::int8_t number_ = 0;
};

struct StemKind;
struct BranchKind;
using Stem = CycleNumber<StemKind, 10>;      // 甲 1 .. 癸 10
using Branch = CycleNumber<BranchKind, 12>;  // 子 1 .. 亥 12

// A stem and a branch of the sexagenary cycle.
struct StemBranch {
  Stem stem;
  Branch branch;
  friend constexpr bool operator==(const StemBranch&, const StemBranch&) = default;
};

// Entry i (any whole number; 1 is 甲子, 60 癸亥, 61 甲子 again) of the
// sexagenary cycle.
constexpr StemBranch sexagenaryEntry(int i) { return {Stem::wrap(i), Branch::wrap(i)}; }

// The names as the calendar writes them.
inline constexpr std::array<std::string_view, 10> kStemNames = {"甲", "乙", "丙", "丁", "戊",
                                                                "己", "庚", "辛", "壬", "癸"};
inline constexpr std::array<std::string_view, 12> kBranchNames = {
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};

constexpr std::string_view nameOf(Stem stem) {
  return stem.valid() ? kStemNames[stem.index()] : "";
}
constexpr std::string_view nameOf(Branch branch) {
  return branch.valid() ? kBranchNames[branch.index()] : "";
}

// The hour branch of a clock hour 0..23: 23 and 0 are 子, then two hours a
// branch (1 and 2 are 丑, ..., 21 and 22 are 亥).
constexpr Branch hourBranch(int hour) { return Branch((hour + 1) / 2 % 12 + 1); }

}  // namespace ziwei
