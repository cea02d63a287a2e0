#pragma once

#include "chart/frame/chart_frame.h"

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

}  // namespace ziwei::test
