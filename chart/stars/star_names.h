#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ziwei {

// Every star the engine places, grouped by family in each family's order.
// clang-format off
enum class Star : std::uint8_t {
  // Zi Wei series, then Tian Fu series
  ZiWei, TianJi, TaiYang, WuQu, TianTong, LianZhen,
  TianFu, TaiYin, TanLang, JuMen, TianXiang, TianLiang, QiSha, PoJun,
  // by the hour and the month
  WenChang, WenQu, HuoXing, LingXing,
  ZuoFu, YouBi,
  DiJie, DiKong, TaiFu, FengGao,
  TianXing, TianYao, TianMa, JieShen, TianWu, TianYueMonth, YinSha,
  // by the year stem
  LuCun, QingYang, TuoLuo, TianKui, TianYue,
  TianGuan, TianFuLuck, TianChu,
  // by the year branch
  TianKu, TianXu, LongChi, FengGe, HongLuan, TianXi, GuChen, GuaSu, FeiLian, PoSui,
  YueDe, SuiPo, TianXie, DiXie, MingMa, TianKong, HuaGai, TaiSui, XianChi,
  TianCai, TianShou,
  // by the day
  SanTai, BaZuo, EnGuang, TianGui,
  // voids and the two Life-palace markers
  XunKong, JieKong, TianShang, TianShi,
};
// clang-format on

inline constexpr std::size_t kStarCount = static_cast<std::size_t>(Star::TianShi) + 1;

// The star families, in the order the palace layout places them (see
// chart/stars/palace_layout.h). Each family places its stars by one table
// or rule of its own, in the order they stand in kStars.
enum class Family : std::uint8_t {
  ZiWei,           // 紫微 itself
  ZiWeiSeries,     // getFirstSubStar
  TianFu,          // getSkyStar
  TianFuSeries,    // getSkySubStar
  HourFirst,       // getHourFirstStar
  StemFirst,       // getSkySFirstStar
  MonthFirst,      // getMonthFirstStar
  DecadeVoid,      // getEmptyDead
  LifeMarkers,     // getSkySSTreeStar
  CutOffVoid,      // getDrDDTreeStar
  HourSecond,      // getHourSecondStar
  MonthSecond,     // getMonthSecondStar
  StemSecond,      // getSkySSecondStar
  BranchSecond,    // getEarthSecondStar
  BranchLifeBody,  // getEarthSecondStar2
  DaySecond,       // getDaySecondStar
};
inline constexpr std::size_t kFamilyCount = static_cast<std::size_t>(Family::DaySecond) + 1;

// The brightness scale a star is graded on: main (grades 1..7) or minor
// (1..3); none for the stars without grades.
enum class Scale : std::uint8_t { None, Main, Minor };

struct StarInfo {
  Star star;
  Family family;
  bool redName;  // in a palace's main group, it makes the palace name red
  Scale scale = Scale::None;
  std::array<std::uint8_t, 12> grades{};  // in palaces 子..亥; 0 where it has none
};

// The one star table, indexed by Star: family, red-name flag and brightness
// grades (the names are the vocabularies').
// clang-format off
inline constexpr std::array<StarInfo, kStarCount> kStars = {{
    {Star::ZiWei, Family::ZiWei, true, Scale::Main, {5, 1, 2, 2, 3, 2, 1, 1, 2, 2, 3, 2}},
    {Star::TianJi, Family::ZiWeiSeries, true, Scale::Main, {1, 7, 3, 2, 4, 5, 1, 7, 3, 2, 4, 5}},
    {Star::TaiYang, Family::ZiWeiSeries, true, Scale::Main, {7, 6, 2, 1, 2, 2, 2, 3, 3, 5, 6, 7}},
    {Star::WuQu, Family::ZiWeiSeries, true, Scale::Main, {2, 1, 3, 4, 1, 5, 2, 1, 3, 4, 1, 5}},
    {Star::TianTong, Family::ZiWeiSeries, true, Scale::Main, {2, 6, 4, 5, 5, 1, 7, 6, 2, 5, 5, 1}},
    {Star::LianZhen, Family::ZiWeiSeries, true, Scale::Main, {5, 4, 1, 5, 4, 7, 5, 4, 1, 5, 4, 7}},
    {Star::TianFu, Family::TianFu, true, Scale::Main, {1, 1, 1, 3, 1, 3, 2, 1, 3, 2, 1, 3}},
    {Star::TaiYin, Family::TianFuSeries, true, Scale::Main, {1, 1, 2, 7, 7, 7, 6, 6, 4, 2, 2, 1}},
    {Star::TanLang, Family::TianFuSeries, true, Scale::Main, {2, 1, 5, 4, 1, 7, 2, 1, 5, 4, 1, 7}},
    {Star::JuMen, Family::TianFuSeries, true, Scale::Main, {2, 6, 1, 1, 7, 2, 2, 6, 1, 1, 7, 2}},
    {Star::TianXiang, Family::TianFuSeries, true, Scale::Main, {1, 1, 1, 7, 3, 3, 1, 3, 1, 7, 3, 3}},
    {Star::TianLiang, Family::TianFuSeries, true, Scale::Main, {1, 2, 1, 1, 1, 7, 1, 2, 7, 3, 1, 7}},
    {Star::QiSha, Family::TianFuSeries, true, Scale::Main, {2, 1, 1, 2, 1, 5, 2, 1, 1, 2, 1, 5}},
    {Star::PoJun, Family::TianFuSeries, true, Scale::Main, {1, 2, 3, 7, 2, 5, 1, 2, 3, 7, 2, 5}},
    {Star::WenChang, Family::HourFirst, false, Scale::Main, {3, 1, 7, 4, 3, 1, 7, 4, 3, 1, 7, 4}},
    {Star::WenQu, Family::HourFirst, false, Scale::Main, {3, 1, 5, 2, 3, 1, 7, 2, 3, 1, 7, 2}},
    {Star::HuoXing, Family::HourFirst, false, Scale::Main, {7, 3, 1, 4, 7, 3, 1, 4, 7, 3, 1, 4}},
    {Star::LingXing, Family::HourFirst, false, Scale::Main, {7, 3, 1, 4, 7, 3, 1, 4, 7, 3, 1, 4}},
    {Star::ZuoFu, Family::MonthFirst, false},
    {Star::YouBi, Family::MonthFirst, false},
    {Star::DiJie, Family::HourSecond, false, Scale::Minor, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}},
    {Star::DiKong, Family::HourSecond, false},
    {Star::TaiFu, Family::HourSecond, false},
    {Star::FengGao, Family::HourSecond, false},
    {Star::TianXing, Family::MonthSecond, false, Scale::Minor, {2, 3, 1, 1, 2, 2, 2, 3, 2, 1, 1, 2}},
    {Star::TianYao, Family::MonthSecond, false, Scale::Minor, {2, 3, 2, 1, 2, 2, 2, 3, 2, 1, 1, 1}},
    {Star::TianMa, Family::MonthSecond, true},
    {Star::JieShen, Family::MonthSecond, false},
    {Star::TianWu, Family::MonthSecond, false},
    {Star::TianYueMonth, Family::MonthSecond, false},
    {Star::YinSha, Family::MonthSecond, false},
    {Star::LuCun, Family::StemFirst, true, Scale::Main, {1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0, 1}},
    {Star::QingYang, Family::StemFirst, false, Scale::Main, {7, 1, 0, 7, 1, 0, 7, 1, 0, 7, 1, 0}},
    {Star::TuoLuo, Family::StemFirst, false, Scale::Main, {0, 1, 7, 0, 1, 7, 0, 1, 7, 0, 1, 7}},
    {Star::TianKui, Family::StemFirst, false},
    {Star::TianYue, Family::StemFirst, false},
    {Star::TianGuan, Family::StemSecond, false},
    {Star::TianFuLuck, Family::StemSecond, false, Scale::Minor, {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0}},
    {Star::TianChu, Family::StemSecond, false},
    {Star::TianKu, Family::BranchSecond, false, Scale::Minor, {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {Star::TianXu, Family::BranchSecond, false, Scale::Minor, {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {Star::LongChi, Family::BranchSecond, false},
    {Star::FengGe, Family::BranchSecond, false},
    {Star::HongLuan, Family::BranchSecond, false, Scale::Minor, {0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1}},
    {Star::TianXi, Family::BranchSecond, false},
    {Star::GuChen, Family::BranchSecond, false},
    {Star::GuaSu, Family::BranchSecond, false},
    {Star::FeiLian, Family::BranchSecond, false, Scale::Minor, {1, 3, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0}},
    {Star::PoSui, Family::BranchSecond, false},
    {Star::YueDe, Family::BranchSecond, false},
    {Star::SuiPo, Family::BranchSecond, false},
    {Star::TianXie, Family::BranchSecond, false},
    {Star::DiXie, Family::BranchSecond, false},
    {Star::MingMa, Family::BranchSecond, false},
    {Star::TianKong, Family::BranchSecond, false, Scale::Minor, {3, 1, 1, 3, 3, 1, 1, 3, 3, 1, 0, 3}},
    {Star::HuaGai, Family::BranchSecond, false},
    {Star::TaiSui, Family::BranchSecond, false},
    {Star::XianChi, Family::BranchSecond, false},
    {Star::TianCai, Family::BranchLifeBody, false},
    {Star::TianShou, Family::BranchLifeBody, false, Scale::Minor, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
    {Star::SanTai, Family::DaySecond, false},
    {Star::BaZuo, Family::DaySecond, false},
    {Star::EnGuang, Family::DaySecond, false},
    {Star::TianGui, Family::DaySecond, false, Scale::Minor, {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
    {Star::XunKong, Family::DecadeVoid, false},
    {Star::JieKong, Family::CutOffVoid, false},
    {Star::TianShang, Family::LifeMarkers, false},
    {Star::TianShi, Family::LifeMarkers, false},
}};
// clang-format on

static_assert(
    [] {
      for (std::size_t i = 0; i < kStarCount; ++i) {
        if (kStars[i].star != static_cast<Star>(i)) return false;
      }
      return true;
    }(),
    "kStars lists every star at its own index");

constexpr const StarInfo& starInfo(Star star) { return kStars[static_cast<std::size_t>(star)]; }

// The number of stars of a family, and its stars in their order.
constexpr std::size_t familySize(Family family) {
  std::size_t size = 0;
  for (const StarInfo& info : kStars) size += info.family == family ? 1u : 0u;
  return size;
}

template <Family F>
constexpr std::array<Star, familySize(F)> familyStars() {
  std::array<Star, familySize(F)> stars{};
  std::size_t n = 0;
  for (const StarInfo& info : kStars) {
    if (info.family == F) stars[n++] = info.star;
  }
  return stars;
}

// The position of `star` among its family's stars (familyStars).
constexpr std::size_t indexInFamily(Star star) {
  std::size_t index = 0;
  for (const StarInfo& info : kStars) {
    if (info.star == star) return index;
    if (info.family == starInfo(star).family) ++index;
  }
  return index;
}

}  // namespace ziwei
