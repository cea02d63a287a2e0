#pragma once
// A chart request as the birth record gives it: the chart's own request and,
// when the birth was given by its Gregorian civil date, that date.

#include <optional>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "chart/request.h"

namespace ziwei {

// The lunar date of a birth. The selectors offer dates the calendar lacks (a
// leap month the year does not have, day 30 of a 29-day month); such a birth
// is still cast as given, and calendar::is_valid tells the two apart.
constexpr calendar::LunarDate lunarDateOf(const LunarBirth& birth) {
  return {birth.year, birth.month, birth.leap, birth.day};
}

// A whole chart request and the Gregorian date it was converted from.
struct BirthRequest : ChartRequest {
  std::optional<calendar::GregorianDate> solar;
};

}  // namespace ziwei
