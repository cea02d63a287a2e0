#pragma once
// The four pillars (四柱, 八字) of a birth, by the solar terms and by the
// lunar calendar.

#include <optional>

#include "chart/chart.h"

namespace ziwei {

struct FourPillars {
  StemBranch year, month, day, hour;
  friend bool operator==(const FourPillars&, const FourPillars&) = default;
};

struct BirthPillars {
  // The year from 立春, the month from each 節 (its stem by the five tigers
  // from the year's), at the moment of birth; nothing outside the table of
  // the terms.
  std::optional<FourPillars> bySolarTerms;
  // The year from 正月初一, the month the lunar month counts as by the
  // leap-month rule.
  FourPillars byLunar;
};

// The pillars of a chart's birth. Both share the day (the sexagenary day of
// the Gregorian day of the lunar date cast) and the hour (the hour branch,
// its stem by the five rats from the day's: 23:00 is the 子 hour of its own
// day unless the late 子 rule moved the date). Throws std::invalid_argument
// for a lunar year outside the calendar.
BirthPillars birthPillars(const Chart& chart);

}  // namespace ziwei
