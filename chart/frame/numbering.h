#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sexagenary/sexagenary.h"

namespace ziwei {

// A palace position 1..12; its number equals the branch number of the
// palace (子 1, 丑 2, ... 亥 12), and it steps forward (increasing) and
// backward with wrapping. A type of its own: a palace is never a stem or a
// branch without saying so (branchOf, palaceOf).
struct PalaceKind;
using PalaceNum = CycleNumber<PalaceKind, 12>;

constexpr Branch branchOf(PalaceNum palace) { return Branch(palace.number()); }
constexpr PalaceNum palaceOf(Branch branch) { return PalaceNum(branch.number()); }

// The twelve palaces 子..亥, for walking the chart.
inline constexpr std::array<PalaceNum, 12> kPalaces = [] {
  std::array<PalaceNum, 12> all{};
  for (int i = 0; i < 12; ++i) all[static_cast<std::size_t>(i)] = PalaceNum(i + 1);
  return all;
}();

// Palaces by branch, so that placement tables read like the charts they come
// from. kNowhere marks a star that lies in no palace.
namespace branch {
inline constexpr PalaceNum kNowhere{}, Zi{1}, Chou{2}, Yin{3}, Mao{4}, Chen{5}, Si{6}, Wu{7},
    Wei{8}, Shen{9}, You{10}, Xu{11}, Hai{12};
}  // namespace branch

// The five-element bureaus; each one's number (water 2, wood 3, metal 4,
// earth 5, fire 6) is its index + 2.
enum class Bureau : std::uint8_t { Water, Wood, Metal, Earth, Fire };
inline constexpr std::size_t kBureauCount = 5;
constexpr int bureauNumber(Bureau bureau) { return static_cast<int>(bureau) + 2; }

// The sex, and the yin/yang-sex label the year stem gives it.
enum class Sex : std::uint8_t { Male = 1, Female = 2 };
enum class SexLabel : std::uint8_t { YangMale, YinMale, YangFemale, YinFemale };
inline constexpr std::size_t kSexLabelCount = 4;

// Families that run in a direction run forward for 陽男 and 陰女.
constexpr bool runsForward(SexLabel label) {
  return label == SexLabel::YangMale || label == SexLabel::YinFemale;
}

// The twelve palace names by their offset forward from the Life palace:
// 命宮, 父母宮, 福德宮, 田宅宮, 官祿宮, 僕役宮, 遷移宮, 疾厄宮, 財帛宮, 子女宮,
// 夫妻宮, 兄弟宮.
enum class PalaceRole : std::uint8_t {
  Life, Parents, Fortune, Property, Career, Friends, Travel, Health, Wealth, Children, Spouse,
  Siblings
};
inline constexpr std::size_t kPalaceRoleCount = 12;

// The role palace `palace` plays counted from the Life palace `life`.
constexpr PalaceRole roleOf(PalaceNum life, PalaceNum palace) {
  return static_cast<PalaceRole>(floorMod(palace.number() - life.number(), 12));
}
// The palace that plays `role` counted from the Life palace `life`.
constexpr PalaceNum palaceOfRole(PalaceNum life, PalaceRole role) {
  return life + static_cast<int>(role);
}

}  // namespace ziwei
