#include "app/target_step.h"

#include <algorithm>
#include <chrono>

#include "calendar/lunar.h"

namespace ziwei::desktop {

calendar::GregorianDate stepLunar(const calendar::GregorianDate& from, int years, int months) {
  calendar::LunarDate d = calendar::to_lunar(from);
  const int day = d.day;
  d.day = 1;
  if (years != 0) {
    d.year += years;
    if (d.leap && calendar::leap_month(d.year) != d.month) d.leap = false;
  }
  for (; months > 0; --months) {
    const int length = calendar::month_length(d.year, d.month, d.leap);
    d = calendar::lunar_from_days(calendar::to_days(d) + std::chrono::days{length});
  }
  for (; months < 0; ++months) {
    d = calendar::lunar_from_days(calendar::to_days(d) - std::chrono::days{1});
    d.day = 1;
  }
  d.day = std::min(day, calendar::month_length(d.year, d.month, d.leap));
  return calendar::to_gregorian(d);
}

}  // namespace ziwei::desktop
