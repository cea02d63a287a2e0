#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

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
  std::string_view name;
  Family family;
  bool redName;  // in a palace's main group, it makes the palace name red
  Scale scale = Scale::None;
  std::array<std::uint8_t, 12> grades{};  // in palaces 子..亥; 0 where it has none
};

// The one star table, indexed by Star: name, family, red-name flag and
// brightness grades.
// clang-format off
inline constexpr std::array<StarInfo, kStarCount> kStars = {{
    {Star::ZiWei, "紫微", Family::ZiWei, true, Scale::Main, {5, 1, 2, 2, 3, 2, 1, 1, 2, 2, 3, 2}},
    {Star::TianJi, "天機", Family::ZiWeiSeries, true, Scale::Main, {1, 7, 3, 2, 4, 5, 1, 7, 3, 2, 4, 5}},
    {Star::TaiYang, "太陽", Family::ZiWeiSeries, true, Scale::Main, {7, 6, 2, 1, 2, 2, 2, 3, 3, 5, 6, 7}},
    {Star::WuQu, "武曲", Family::ZiWeiSeries, true, Scale::Main, {2, 1, 3, 4, 1, 5, 2, 1, 3, 4, 1, 5}},
    {Star::TianTong, "天同", Family::ZiWeiSeries, true, Scale::Main, {2, 6, 4, 5, 5, 1, 7, 6, 2, 5, 5, 1}},
    {Star::LianZhen, "廉貞", Family::ZiWeiSeries, true, Scale::Main, {5, 4, 1, 5, 4, 7, 5, 4, 1, 5, 4, 7}},
    {Star::TianFu, "天府", Family::TianFu, true, Scale::Main, {1, 1, 1, 3, 1, 3, 2, 1, 3, 2, 1, 3}},
    {Star::TaiYin, "太陰", Family::TianFuSeries, true, Scale::Main, {1, 1, 2, 7, 7, 7, 6, 6, 4, 2, 2, 1}},
    {Star::TanLang, "貪狼", Family::TianFuSeries, true, Scale::Main, {2, 1, 5, 4, 1, 7, 2, 1, 5, 4, 1, 7}},
    {Star::JuMen, "巨門", Family::TianFuSeries, true, Scale::Main, {2, 6, 1, 1, 7, 2, 2, 6, 1, 1, 7, 2}},
    {Star::TianXiang, "天相", Family::TianFuSeries, true, Scale::Main, {1, 1, 1, 7, 3, 3, 1, 3, 1, 7, 3, 3}},
    {Star::TianLiang, "天梁", Family::TianFuSeries, true, Scale::Main, {1, 2, 1, 1, 1, 7, 1, 2, 7, 3, 1, 7}},
    {Star::QiSha, "七殺", Family::TianFuSeries, true, Scale::Main, {2, 1, 1, 2, 1, 5, 2, 1, 1, 2, 1, 5}},
    {Star::PoJun, "破軍", Family::TianFuSeries, true, Scale::Main, {1, 2, 3, 7, 2, 5, 1, 2, 3, 7, 2, 5}},
    {Star::WenChang, "文昌", Family::HourFirst, false, Scale::Main, {3, 1, 7, 4, 3, 1, 7, 4, 3, 1, 7, 4}},
    {Star::WenQu, "文曲", Family::HourFirst, false, Scale::Main, {3, 1, 5, 2, 3, 1, 7, 2, 3, 1, 7, 2}},
    {Star::HuoXing, "火星", Family::HourFirst, false, Scale::Main, {7, 3, 1, 4, 7, 3, 1, 4, 7, 3, 1, 4}},
    {Star::LingXing, "鈴星", Family::HourFirst, false, Scale::Main, {7, 3, 1, 4, 7, 3, 1, 4, 7, 3, 1, 4}},
    {Star::ZuoFu, "左輔", Family::MonthFirst, false},
    {Star::YouBi, "右弼", Family::MonthFirst, false},
    {Star::DiJie, "地劫", Family::HourSecond, false, Scale::Minor, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}},
    {Star::DiKong, "地空", Family::HourSecond, false},
    {Star::TaiFu, "台輔", Family::HourSecond, false},
    {Star::FengGao, "封誥", Family::HourSecond, false},
    {Star::TianXing, "天刑", Family::MonthSecond, false, Scale::Minor, {2, 3, 1, 1, 2, 2, 2, 3, 2, 1, 1, 2}},
    {Star::TianYao, "天姚", Family::MonthSecond, false, Scale::Minor, {2, 3, 2, 1, 2, 2, 2, 3, 2, 1, 1, 1}},
    {Star::TianMa, "天馬", Family::MonthSecond, true},
    {Star::JieShen, "解神", Family::MonthSecond, false},
    {Star::TianWu, "天巫", Family::MonthSecond, false},
    {Star::TianYueMonth, "天月", Family::MonthSecond, false},
    {Star::YinSha, "陰煞", Family::MonthSecond, false},
    {Star::LuCun, "祿存", Family::StemFirst, true, Scale::Main, {1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0, 1}},
    {Star::QingYang, "擎羊", Family::StemFirst, false, Scale::Main, {7, 1, 0, 7, 1, 0, 7, 1, 0, 7, 1, 0}},
    {Star::TuoLuo, "陀羅", Family::StemFirst, false, Scale::Main, {0, 1, 7, 0, 1, 7, 0, 1, 7, 0, 1, 7}},
    {Star::TianKui, "天魁", Family::StemFirst, false},
    {Star::TianYue, "天鉞", Family::StemFirst, false},
    {Star::TianGuan, "天官", Family::StemSecond, false},
    {Star::TianFuLuck, "天福", Family::StemSecond, false, Scale::Minor, {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0}},
    {Star::TianChu, "天廚", Family::StemSecond, false},
    {Star::TianKu, "天哭", Family::BranchSecond, false, Scale::Minor, {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {Star::TianXu, "天虛", Family::BranchSecond, false, Scale::Minor, {0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {Star::LongChi, "龍池", Family::BranchSecond, false},
    {Star::FengGe, "鳳閣", Family::BranchSecond, false},
    {Star::HongLuan, "紅鸞", Family::BranchSecond, false, Scale::Minor, {0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1}},
    {Star::TianXi, "天喜", Family::BranchSecond, false},
    {Star::GuChen, "孤辰", Family::BranchSecond, false},
    {Star::GuaSu, "寡宿", Family::BranchSecond, false},
    {Star::FeiLian, "蜚廉", Family::BranchSecond, false, Scale::Minor, {1, 3, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0}},
    {Star::PoSui, "破碎", Family::BranchSecond, false},
    {Star::YueDe, "月德", Family::BranchSecond, false},
    {Star::SuiPo, "歲破", Family::BranchSecond, false},
    {Star::TianXie, "天解", Family::BranchSecond, false},
    {Star::DiXie, "地解", Family::BranchSecond, false},
    {Star::MingMa, "命馬", Family::BranchSecond, false},
    {Star::TianKong, "天空", Family::BranchSecond, false, Scale::Minor, {3, 1, 1, 3, 3, 1, 1, 3, 3, 1, 0, 3}},
    {Star::HuaGai, "華蓋", Family::BranchSecond, false},
    {Star::TaiSui, "太歲", Family::BranchSecond, false},
    {Star::XianChi, "咸池", Family::BranchSecond, false},
    {Star::TianCai, "天才", Family::BranchLifeBody, false},
    {Star::TianShou, "天壽", Family::BranchLifeBody, false, Scale::Minor, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}},
    {Star::SanTai, "三台", Family::DaySecond, false},
    {Star::BaZuo, "八座", Family::DaySecond, false},
    {Star::EnGuang, "恩光", Family::DaySecond, false},
    {Star::TianGui, "天貴", Family::DaySecond, false, Scale::Minor, {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
    {Star::XunKong, "旬空", Family::DecadeVoid, false},
    {Star::JieKong, "截空", Family::CutOffVoid, false},
    {Star::TianShang, "天傷", Family::LifeMarkers, false},
    {Star::TianShi, "天使", Family::LifeMarkers, false},
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
constexpr std::string_view starName(Star star) { return starInfo(star).name; }

// The star of this exact name, if any.
constexpr std::optional<Star> starNamed(std::string_view name) {
  for (const StarInfo& info : kStars) {
    if (info.name == name) return info.star;
  }
  return std::nullopt;
}

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
