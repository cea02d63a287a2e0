#include "chart/frame/masters.h"

#include <array>

namespace ziwei {

namespace {

// Life master by the branch of the Life palace.
constexpr std::array<Star, 12> kLifeMasters = {
    Star::TanLang, Star::JuMen, Star::LuCun,  Star::WenQu,   Star::LianZhen, Star::WuQu,
    Star::PoJun,   Star::WuQu,  Star::LianZhen, Star::WenQu, Star::LuCun,    Star::JuMen};

// Body master by the year branch; branches six apart share a master.
constexpr std::array<Star, 12> kBodyMasters = {
    Star::HuoXing, Star::TianXiang, Star::TianLiang, Star::TianTong, Star::WenChang, Star::TianJi,
    Star::HuoXing, Star::TianXiang, Star::TianLiang, Star::TianTong, Star::WenChang, Star::TianJi};

}  // namespace

Star getLiftStart(PalaceNum liftHourse) { return kLifeMasters[liftHourse.index()]; }

Star getBodyStart(const ChartState& chart) { return kBodyMasters[chart.YearBranch.index()]; }

PalaceNum getLifeDStart(const ChartState& chart) {
  // Back one palace a month from 子, then forward one a hour branch.
  if (!chart.MonthPalaceNum.valid() || !chart.HourNum.valid()) return {};
  return PalaceNum::wrap(chart.HourNum.number() + 3 - chart.MonthPalaceNum.number());
}

}  // namespace ziwei
