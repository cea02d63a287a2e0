#pragma once
// Steps of the running-period target: years and months of the lunar
// calendar, since the running year and month change at lunar boundaries (a
// Gregorian year on from late January can stay in the same lunar year).

#include "calendar/gregorian.h"

namespace ziwei::desktop {

// The Gregorian date `years` lunar years and then `months` lunar months
// (leap months count as months) from `from`, on the same lunar day, cut to
// the length of the month reached; a leap month the year reached lacks
// becomes its ordinary month. Throws calendar::CalendarError when the date
// reached lies outside the calendar (lunar years 1900..2100).
calendar::GregorianDate stepLunar(const calendar::GregorianDate& from, int years, int months);

}  // namespace ziwei::desktop
