#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

inline constexpr std::size_t kStarCount = static_cast<std::size_t>(Star::TianShi) + 1;

// The star names, indexed by Star.
inline constexpr std::array<std::string_view, kStarCount> kStarNames = {
    "紫微", "天機", "太陽", "武曲", "天同", "廉貞",
    "天府", "太陰", "貪狼", "巨門", "天相", "天梁", "七殺", "破軍",
    "文昌", "文曲", "火星", "鈴星",
    "左輔", "右弼",
    "地劫", "地空", "台輔", "封誥",
    "天刑", "天姚", "天馬", "解神", "天巫", "天月", "陰煞",
    "祿存", "擎羊", "陀羅", "天魁", "天鉞",
    "天官", "天福", "天廚",
    "天哭", "天虛", "龍池", "鳳閣", "紅鸞", "天喜", "孤辰", "寡宿", "蜚廉", "破碎",
    "月德", "歲破", "天解", "地解", "命馬", "天空", "華蓋", "太歲", "咸池",
    "天才", "天壽",
    "三台", "八座", "恩光", "天貴",
    "旬空", "截空", "天傷", "天使",
};
// clang-format on

constexpr std::string_view starName(Star star) {
  return kStarNames[static_cast<std::size_t>(star)];
}

}  // namespace ziwei
