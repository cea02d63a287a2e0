#pragma once
// A birth given by its Gregorian (國曆) civil date instead of its lunar date.

#include <string_view>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "chart/frame/chart_frame.h"
#include "page/birth_input.h"

namespace ziwei {

// The lunar years the command-line casters accept (the desktop selectors keep
// kSelectorYears).
inline constexpr YearRange kCommandLineYears{1912, 2100};

// The first and last Gregorian dates whose lunar year lies in `years`, cut to
// the days the calendar knows (1900-01-31..2100-12-31). For 1912..2100 that is
// 1912-02-18..2100-12-31. Throws calendar::CalendarError when `years` lies
// outside the calendar's lunar years 1900..2100.
struct SolarSpan {
  calendar::GregorianDate first;
  calendar::GregorianDate last;
};
SolarSpan solarSpan(YearRange years);

// `input` with its lunar date (year, month, leap flag, day) converted from the
// Gregorian civil date `solarDate`, "YYYY-MM-DD" in China Standard Time, and
// `solar` set to that text. Name, sex and the clock time (hour, minute,
// second) stay as given: the time belongs to that civil date, so hour 23 is
// the 子 hour of the same day, not of the next one.
//
// Throws calendar::CalendarError, with a message that begins with the date in
// quotes, for a malformed or non-existent date and for a date whose lunar
// year lies outside `years`, e.g.
//   "1912-02-17" falls in lunar year 1911 (allowed: 1912-02-18 to 2100-12-31,
//   lunar years 1912 to 2100)
BirthInput birthFromSolarDate(BirthInput input, std::string_view solarDate,
                              YearRange years = kCommandLineYears);

}  // namespace ziwei
