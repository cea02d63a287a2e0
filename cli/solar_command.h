#pragma once
// ziwei solar YEAR MONTH DAY [--leap]: the Gregorian date of a lunar date.

#include <span>
#include <string>
#include <string_view>

#include "calendar/lunar.h"
#include "cli/options.h"

namespace ziwei::cli {

struct SolarOptions {
  calendar::LunarDate date;  // an existing date of the calendar's range
  int given = 0;             // how many of YEAR, MONTH, DAY were given
};

// Reads the arguments that follow "solar". Pure. A lunar date that does not
// exist (a leap month the year lacks, day 30 of a 29-day month) or lies
// outside the calendar's range is refused with the calendar's reason.
Parsed<SolarOptions> parseSolarCommand(std::span<const std::string_view> args);

std::string solarHelpText();

// "YYYY-MM-DD<LF>", the Gregorian date of an existing lunar date. Throws
// calendar::CalendarError for one that does not exist.
std::string solarLine(const calendar::LunarDate& date);

int solarCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
