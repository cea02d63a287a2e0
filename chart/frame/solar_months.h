#pragma once
// The moments of a birth and a target, and the solar-term months (節月) they
// fall in, for the rules that count years and months by the solar terms.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "calendar/solar_terms.h"
#include "chart/request.h"

namespace ziwei {

// The Gregorian day of a birth's lunar date. A day the calendar lacks (day
// 30 of a 29-day month, a leap month the year does not have) is counted on
// from day 1 of the month (of the normal month). Throws
// std::invalid_argument for a lunar year outside the calendar.
std::chrono::sys_days birthDayOf(const LunarBirth& birth);

// The instant of a birth: `given` when the record gave one, else the
// Gregorian day of its lunar date (birthDayOf) at its clock time in China
// Standard Time.
calendar::UnixSeconds birthInstantOf(const LunarBirth& birth, std::optional<std::int64_t> given);

// The instant a target is read at: its Gregorian day at its clock time in
// China Standard Time; without a time the day's last second, so that the
// day a term falls on counts in the period the term begins.
calendar::UnixSeconds targetInstantOf(const TargetMoment& target);

// The solar-term month of an instant, `what` ("the birth", "the target").
// Throws std::invalid_argument, naming it, outside the table of the terms
// (from 小寒 1900 to the end of 2100).
calendar::SolarMonth solarMonthOf(calendar::UnixSeconds instant, std::string_view what);

}  // namespace ziwei
