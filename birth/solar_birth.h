#pragma once
// A birth given by its Gregorian (國曆) civil date instead of its lunar date.

#include <string_view>

#include "birth/lunar_birth.h"
#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"

namespace ziwei {

// The first and last Gregorian dates whose lunar year lies in `years`, cut to
// the days the calendar knows (1900-01-31..2100-12-31). For 1912..2100 that is
// 1912-02-18..2100-12-31. Throws calendar::CalendarError when `years` lies
// outside the calendar's lunar years 1900..2100.
struct SolarSpan {
  calendar::GregorianDate first;
  calendar::GregorianDate last;
};
SolarSpan solarSpan(YearRange years);

// `birth` with its lunar date (year, month, leap flag, day) taken from the
// Gregorian civil date `date` in China Standard Time. Sex and clock time stay
// as given: the time belongs to that civil date, so hour 23 is the 子 hour of
// the same day, not of the next one.
//
// Throws calendar::CalendarError, with a message that begins with the date in
// quotes, for a date that does not exist and for one whose lunar year lies
// outside `years`, e.g.
//   "1912-02-17" falls in lunar year 1911 (allowed: 1912-02-18 to 2100-12-31,
//   lunar years 1912 to 2100)
// The Gregorian date `text` gives, "YYYY-MM-DD"; throws calendar::CalendarError
// whose message quotes the text with its controls and malformed bytes (a
// NUL too) written as "\xNN", as messages show them (text/utf8.h).
calendar::GregorianDate readGregorianDate(std::string_view text);

LunarBirth lunarBirthOn(const calendar::GregorianDate& date, LunarBirth birth,
                        YearRange years = kCommandLineYears);

}  // namespace ziwei
