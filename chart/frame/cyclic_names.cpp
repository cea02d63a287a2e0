#include "chart/frame/cyclic_names.h"

#include <array>
#include <cstddef>

namespace ziwei {

namespace {

// Stem of the 寅 palace by year stem (甲己 丙, 乙庚 戊, 丙辛 庚, 丁壬 壬,
// 戊癸 甲).
constexpr std::array<int, 10> kYinPalaceStem = {3, 5, 7, 9, 1, 3, 5, 7, 9, 1};

}  // namespace

Stem palaceStem(Stem yearStem, PalaceNum earthnum) {
  if (!yearStem.valid() || !earthnum.valid()) return {};
  const int s = kYinPalaceStem[yearStem.index()];
  // 子 and 丑 carry the stems of 寅 and 卯.
  const int n = earthnum.number();
  return Stem::wrap(n >= 3 ? s + n - 3 : s + n - 1);
}

Stem getSky(const ChartState& chart, PalaceNum earthnum) {
  return palaceStem(chart.YearStem, earthnum);
}

bool getBodyHourse(const ChartState& chart, PalaceNum DayNum) {
  return DayNum == chart.MonthPalaceNum + (chart.HourNum.number() - 1);
}

}  // namespace ziwei
