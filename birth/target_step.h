#pragma once
// Steps of the running-period target: years and months of the lunar
// calendar, since the running year and month change at lunar boundaries (a
// Gregorian year on from late January can stay in the same lunar year).

#include "calendar/gregorian.h"
#include "calendar/lunar.h"

namespace ziwei {

// Where a step lands. `kept` is the lunar month reached with the day the
// steps started from, which that month may lack (day 30 of a 29-day month);
// `shown` is the Gregorian date of that day cut to the month's length. Steps
// go on from `kept`, so that a short month on the way does not move the day:
// from the 30th, the next month of 30 days is on its 30th again.
struct TargetStep {
  calendar::LunarDate kept;
  calendar::GregorianDate shown;
};

// `years` lunar years and then `months` lunar months (leap months count as
// months) from `from`, a lunar month of the calendar with a day 1..30; a leap
// month the year reached lacks becomes its ordinary month. Throws
// calendar::CalendarError when the month reached lies outside the calendar
// (lunar years 1900..2100, Gregorian dates from 1900-01-31).
TargetStep stepTarget(const calendar::LunarDate& from, int years, int months);

}  // namespace ziwei
