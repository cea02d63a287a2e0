#include "birth/target_step.h"

#include <algorithm>
#include <chrono>

namespace ziwei {

TargetStep stepTarget(const calendar::LunarDate& from, int years, int months) {
  calendar::LunarDate d{from.year + years, from.month, from.leap, 1};
  if (d.leap && calendar::leap_month(d.year) != d.month) d.leap = false;
  for (; months > 0; --months) {
    const int length = calendar::month_length(d.year, d.month, d.leap);
    d = calendar::lunar_from_days(calendar::to_days(d) + std::chrono::days{length});
  }
  for (; months < 0; ++months) {
    d = calendar::lunar_from_days(calendar::to_days(d) - std::chrono::days{1});
    d.day = 1;
  }
  TargetStep step;
  step.kept = d;
  step.kept.day = from.day;
  d.day = std::min(from.day, calendar::month_length(d.year, d.month, d.leap));
  step.shown = calendar::to_gregorian(d);
  return step;
}

}  // namespace ziwei
