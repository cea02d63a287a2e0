#pragma once

#include <cstdint>
#include <optional>

#include "chart/frame/chart_state.h"
#include "chart/frame/numbering.h"
#include "chart/request.h"

namespace ziwei {

// The first step of the cast: the whole chart frame from the lunar birth.
// `birthInstant` is the moment of birth when the record gave one (see
// ChartRequest); YearBoundary::Spring reads it. Throws std::invalid_argument,
// naming the field, when a field lies outside its range (kBirthNumberFields;
// any year 1..9999; 1900..2100 for the year boundary at 立春).
ChartState castFrame(const LunarBirth& birth, const ChartOptions& options = {},
                     std::optional<std::int64_t> birthInstant = std::nullopt);

// The month 1..12 a lunar month counts as by `rule`: a leap month (the one
// after month `month`) as `month` or as the next (month 12's next is 1).
constexpr int countedMonth(int month, bool leap, int day, LeapMonthRule rule) {
  if (!leap) return month;
  const int next = month % 12 + 1;
  switch (rule) {
    case LeapMonthRule::This:
      return month;
    case LeapMonthRule::Next:
      return next;
    case LeapMonthRule::Split:
      break;
  }
  return day > 15 ? next : month;
}

// The stem and branch of a lunar year by its Western number (1984 甲子,
// 2000 庚辰), from the entry of the reference year 1888 (戊子).
StemBranch yearStemBranch(int lunarYear);

// Palace of 紫微 from the bureau's table of lunar days (1..30); nowhere for a
// day outside 1..30.
PalaceNum ziWeiPalace(Bureau bureau, int birthDay);

// The rule every entry of that table follows, for bureau number 2..6 and any
// day from 1 up: with k the least number making day + k a multiple of the
// bureau number and q the quotient, start at 寅, step q - 1 palaces forward,
// then k palaces backward (k odd) or forward (k even). Nowhere for other
// inputs.
PalaceNum ziWeiByRule(int bureauNum, int birthDay);

// Palace of 天府, the mirror of 紫微 across the 寅-申 axis; nowhere for no
// palace.
PalaceNum tianFuPalace(PalaceNum ziWei);

}  // namespace ziwei
