#pragma once

#include <cstdint>
#include <string>

#include "birth/lunar_birth.h"

namespace ziwei {

// A palace position 1..12; it equals the earthly-branch number of the palace
// (子 1, 丑 2, ... 亥 12). Stems are numbered 甲 1 ... 癸 10.
using PalaceNum = std::int16_t;

// The chart frame of one birth: everything the star, period and page
// procedures read. Numbers are 16-bit like the selectors they come from.
// A default-constructed state is "no chart yet": numbers 0, texts empty.
//
// The window keeps its page texts (profile, offline, template, work
// directory) beside this frame; the engine itself holds no global state,
// so any number of charts can be cast side by side.
struct ChartState {
  std::string YearStem;             // one stem character
  std::string YearBranch;           // one branch character
  std::int16_t YearStemNum = 0;     // 1..10
  std::int16_t YearBranchNum = 0;   // 1..12
  PalaceNum MonthPalaceNum = 0;     // month 1 at 寅 (3)
  PalaceNum HourNum = 0;            // 子 hour = 1
  std::int16_t CycleStemIndex = 0;  // working stem number of the sexagenary-table builders
  std::int16_t BirthYear = 0;       // lunar year by its Western number
  std::int16_t BirthMonth = 0;      // 1..12, after the leap-month rule
  std::int16_t BirthDay = 0;        // 1..30
  std::int16_t BirthHour = 0;       // 0..23
  std::int16_t BirthMinute = 0;     // 0..59
  std::int16_t BirthSecond = 0;     // 0..59
  std::int16_t SexNum = 0;          // 1 male, 2 female
  std::string SexText;              // "陽男", "陰男", "陽女" or "陰女"
  PalaceNum LifePalaceNum = 0;      // 命宮
  PalaceNum BodyPalaceNum = 0;      // 身宮
  std::string BureauName;   // "水二局", "木三局", "金四局", "土五局" or "火六局"
  PalaceNum ZiWeiNum = 0;   // palace of 紫微
  PalaceNum TianFuNum = 0;  // palace of 天府
  ChartOptions options;     // the rules the chart is cast by; families read them here
};

}  // namespace ziwei
