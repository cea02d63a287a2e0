#include "chart/frame/cyclic_names.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

constexpr std::array<std::string_view, 12> kAnimals = {"鼠", "牛", "虎", "兔", "龍", "蛇",
                                                       "馬", "羊", "猴", "雞", "狗", "豬"};

// Stem number of the 寅 palace by year stem 1..10 (甲己 丙, 乙庚 戊, 丙辛 庚,
// 丁壬 壬, 戊癸 甲).
constexpr std::array<int, 10> kYinPalaceStem = {3, 5, 7, 9, 1, 3, 5, 7, 9, 1};

// Palace names by their offset from the Life palace (forward, towards higher
// branch numbers).
constexpr std::array<std::string_view, 12> kPalaceNames = {"命宮",   "父母宮", "福德宮", "田宅宮",
                                                           "官祿宮", "僕役宮", "遷移宮", "疾厄宮",
                                                           "財帛宮", "子女宮", "夫妻宮", "兄弟宮"};

template <std::size_t N>
std::string nameAt(const std::array<std::string_view, N>& names, int number) {
  if (number < 1 || number > static_cast<int>(N)) return {};
  return std::string(names[static_cast<std::size_t>(number - 1)]);
}

}  // namespace

std::string getAnimal(std::int16_t YNN2) { return nameAt(kAnimals, YNN2); }
std::string getSKYWORD(std::int16_t num) { return nameAt(kStemNames, num); }
std::string getEARTHWORD(std::int16_t num) { return nameAt(kBranchNames, num); }

int palaceStem(int yearStem, PalaceNum earthnum) {
  if (!isStem(yearStem) || !isPalace(earthnum)) return 0;
  const int s = kYinPalaceStem[static_cast<std::size_t>(yearStem - 1)];
  // 子 and 丑 carry the stems of 寅 and 卯.
  int stem = earthnum >= 3 ? s + earthnum - 3 : s + earthnum - 1;
  if (stem > 10) stem -= 10;
  return stem;
}

std::string getSky(const ChartState& chart, PalaceNum earthnum) {
  return getSKYWORD(static_cast<std::int16_t>(palaceStem(chart.YearStemNum, earthnum)));
}

std::string_view palaceName(PalaceNum Lifestr, PalaceNum currentNum) {
  if (!isPalace(Lifestr) || !isPalace(currentNum)) return {};
  int n = currentNum - Lifestr;
  if (n < 0) n += 12;
  return kPalaceNames[static_cast<std::size_t>(n)];
}

std::string getOtherHourse(PalaceNum Lifestr, PalaceNum currentNum) {
  return std::string(palaceName(Lifestr, currentNum));
}

std::string getBodyHourse(const ChartState& chart, PalaceNum DayNum) {
  int b = chart.HourNum + chart.MonthPalaceNum - 1;
  if (b > 12) b -= 12;
  return DayNum == b ? "身宮" : "";
}

}  // namespace ziwei
