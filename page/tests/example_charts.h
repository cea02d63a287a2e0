#pragma once

#include <string>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "page/birth_input.h"

namespace ziwei::test {

// 1984 (甲子), month 1, day 1, hour 0, male, normal month: 陽男, Life and
// Body at 寅, 火六局, 紫微 at 酉, 天府 at 未.
inline BirthSelection firstExampleSelection() {
  BirthSelection selection;
  selection.year = "1984";
  return selection;
}

// 2000 (庚辰), leap month 4, day 20, hour 13, female: month 5, 陽女, Life at
// 亥, Body at 丑, 土五局, 紫微 at 巳, 天府 at 亥.
inline BirthSelection secondExampleSelection() {
  BirthSelection selection;
  selection.year = "2000";
  selection.month = "4";
  selection.leap = "閏";
  selection.day = "20";
  selection.hour = "13";
  selection.male = false;
  return selection;
}

inline ChartState firstExample() { return castFrame(firstExampleSelection()); }
inline ChartState secondExample() { return castFrame(secondExampleSelection()); }

// Sixty years (every stem and branch), every month, every third day (each
// day in turn), the leap flag, hours, minutes, sexes and names rotating with
// them: 7200 births. Some carry a solar date; names need escaping in HTML
// and JSON.
inline std::vector<BirthInput> spreadBirths() {
  const std::vector<std::string> names = {"陳大文", "", "@CYY@ & <b>\"q\"",
                                          "a\nb\\@PAGENOTE@\x01\x1F\x7F"};
  std::vector<BirthInput> births;
  for (int year = 1912; year < 1972; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1 + (year + month) % 3; day <= 30; day += 3) {
        BirthInput birth;
        birth.year = year;
        birth.month = month;
        birth.day = day;
        birth.leap = (year + day) % 5 == 0;
        birth.hour = (year * 7 + month * 5 + day) % 24;
        birth.minute = (year + month + day) % 60;
        birth.male = (year + month + day) % 2 == 0;
        birth.name = names[births.size() % names.size()];
        if (day % 7 == 0) birth.solar = "2001-06-08";
        births.push_back(birth);
      }
    }
  }
  return births;
}

}  // namespace ziwei::test
