#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"

namespace ziwei {

// Small look-ups that turn frame numbers into the words the page shows.
// A number outside an operation's range yields the empty text.

std::string getAnimal(std::int16_t YNN2);    // branch 1..12 -> "鼠" ... "豬"
std::string getSKYWORD(std::int16_t num);    // stem 1..10 -> "甲" ... "癸"
std::string getEARTHWORD(std::int16_t num);  // branch 1..12 -> "子" ... "亥"

// The stem that palace `earthnum` carries in the birth year (reads YearStemNum).
std::string getSky(const ChartState& chart, PalaceNum earthnum);
// The same as a stem number, for a year of stem `yearStem` (0 outside the
// ranges). Counted from the 寅 palace, it is also the five-tigers rule: the
// stem of a month of that year whose branch is `earthnum` (month 1 at 寅).
int palaceStem(int yearStem, PalaceNum earthnum);

// The name of palace `currentNum` counted from the Life palace `Lifestr`.
std::string getOtherHourse(PalaceNum Lifestr, PalaceNum currentNum);
// The same name as a view of the constant table (empty outside 1..12).
std::string_view palaceName(PalaceNum Lifestr, PalaceNum currentNum);

// "身宮" when `DayNum` is the Body palace (from HourNum and MonthPalaceNum).
std::string getBodyHourse(const ChartState& chart, PalaceNum DayNum);

}  // namespace ziwei
