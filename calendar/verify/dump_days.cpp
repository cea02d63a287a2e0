// Prints the lunar date of every day of the supported range, one line each:
// YYYY-MM-DD<TAB>year<TAB>month<TAB>leap (0 or 1)<TAB>day
// (the format of reference_days.js, so that the two outputs compare line by line).

#include <chrono>
#include <cstdio>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"

int main() {
  namespace cal = ziwei::calendar;
  const auto last = cal::to_days(cal::kLastDate);
  for (auto day = cal::to_days(cal::kFirstDate); day <= last; day += std::chrono::days{1}) {
    const cal::LunarDate lunar = cal::lunar_from_days(day);
    std::printf("%s\t%d\t%d\t%d\t%d\n",
                cal::format_gregorian(cal::gregorian_from_days(day)).c_str(), lunar.year,
                lunar.month, lunar.leap ? 1 : 0, lunar.day);
  }
  return 0;
}
