#pragma once

#include <cstdint>

#include "chart/frame/numbering.h"
#include "chart/request.h"

namespace ziwei {

// The chart frame of one birth: everything the star, period and page
// procedures read, as numbers and enums (the writers name them). castFrame
// fills every field; the engine holds no global state, so any number of
// charts can be cast side by side.
struct ChartState {
  Stem YearStem;              // the year's stem
  Branch YearBranch;          // the year's branch
  PalaceNum MonthPalaceNum;   // month 1 at 寅 (3)
  Branch HourNum;             // the hour's branch, 子 hour = 1
  std::int16_t BirthYear = 0;    // lunar year by its Western number
  std::int16_t BirthMonth = 0;   // 1..12, after the leap-month rule
  std::int16_t BirthDay = 0;     // 1..30
  std::int16_t BirthHour = 0;    // 0..23
  std::int16_t BirthMinute = 0;  // 0..59
  std::int16_t BirthSecond = 0;  // 0..59
  Sex SexNum = Sex::Male;
  SexLabel SexText = SexLabel::YangMale;  // 陽男, 陰男, 陽女 or 陰女
  PalaceNum LifePalaceNum;                // 命宮
  PalaceNum BodyPalaceNum;                // 身宮
  Bureau BureauName = Bureau::Water;      // the five-element bureau
  PalaceNum ZiWeiNum;                     // palace of 紫微
  PalaceNum TianFuNum;                    // palace of 天府
  ChartOptions options;  // the rules the chart is cast by; families read them here
};

}  // namespace ziwei
