#pragma once
// The birth time in words: one formatter for each value of the steps (clock
// time, offset from UTC, duration, longitude), and the steps narrated from
// one place for each language: English for --explain and messages, Chinese
// for the 國曆 dialog. The JSON writer uses the formatters for its clock
// times.

#include <string>
#include <vector>

#include "birth/birth_time.h"

namespace ziwei {

// "1979-07-01 10:30:00"; with separator 'T', "1979-07-01T10:30:00".
std::string formatClock(const ClockTime& time, char separator = ' ');

// "UTC+08:00", "UTC-05:00", "UTC+08:05:43" (seconds when there are some).
std::string formatOffset(int seconds);

// A duration in the units of a language: English "+6m00s", "-2h09m36s",
// "+45s"; Chinese "+6分00秒", "-2時09分36秒", "+0分45秒". Without the sign
// for an amount.
enum class Narration { English, Chinese };
std::string formatDuration(int seconds, Narration language, bool withSign = true);

// "121.50°E", "87.60°W": two decimals, the hemisphere after the degree sign.
std::string formatLongitude(double degrees);

// The steps a resolution took, in their order, as data: each is narrated in
// each language from the same numbers.
enum class BirthStep {
  Place,           // the place of the gazetteer named
  Clock,           // the clock time in its zone
  DaylightSaving,  // the saving removed, or none
  TrueSolarTime,   // the mean and the apparent solar time of the longitude
  LateZi,          // the late 子 rule for an hour-23 chart time
  LunarDate,       // the lunar date and hour branch cast
};
std::vector<BirthStep> stepsTaken(const ResolvedBirth& resolved);

// The lines of one step in a language (none for a step the language leaves
// to another text: the dialog shows the place and the clock in its fields).
std::vector<std::string> narrateStep(BirthStep step, const ResolvedBirth& resolved,
                                     Narration language);

// The steps as lines for a reader, one step a line, in English with the
// Chinese terms, e.g. for Taipei on 1979-07-01 10:30 at 121.5°E:
//   clock time: 1979-07-01 10:30:00 in Asia/Taipei (UTC+09:00)
//   daylight saving time: 1h00m00s removed, standard time 1979-07-01 09:30:00 (UTC+08:00)
//   mean solar time (平太陽時): longitude 121.50°E, 1.50° east of the meridian 120.00°E: +6m00s
//   equation of time: -3m35s, true solar time (真太陽時) 1979-07-01 09:32:25
//   lunar date: 1979, month 6, day 8; hour 09:32:25, 巳 hour (branch 6)
// A line for the place comes first when the record named one, a line for the
// late 子 hour before the lunar date when the chart's hour is 23.
std::vector<std::string> explainBirthTime(const ResolvedBirth& resolved);

// The steps in Chinese, as the 國曆 dialog shows them.
struct ChineseBirthTime {
  // What the zone and the longitude did, a line each (empty without them):
  // "扣除夏令時間 1 小時,標準時間 1979-07-01 09:30:00 (UTC+08:00)",
  // "真太陽時 1979-07-01 09:32:25 (經度 121.50°E,對時區中線 120.00°E +6分00秒;均時差 -3分35秒)".
  std::string corrected;
  // What the corrections and the late 子 rule moved ("校正使時辰由午時改為巳時;..."),
  // empty when they moved nothing.
  std::string moved;
  std::string hour;   // the 時辰 cast, "巳時"
  std::string lunar;  // "農曆 1979 年 6 月 8 日 9 時 32 分"
};
ChineseBirthTime chineseBirthTime(const ResolvedBirth& resolved);

// "子時" .. "亥時" of an hour branch 1..12.
std::string chineseHourName(int branch);

}  // namespace ziwei
