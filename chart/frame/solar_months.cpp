#include "chart/frame/solar_months.h"

#include <chrono>
#include <stdexcept>
#include <string>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "calendar/lunar.h"

namespace ziwei {

std::chrono::sys_days birthDayOf(const LunarBirth& birth) {
  if (birth.year < calendar::kFirstLunarYear || birth.year > calendar::kLastLunarYear) {
    throw std::invalid_argument(
        "the solar terms are known for lunar years " + std::to_string(calendar::kFirstLunarYear) +
        " to " + std::to_string(calendar::kLastLunarYear) + ", not " + std::to_string(birth.year));
  }
  const bool leap = birth.leap && calendar::leap_month(birth.year) == birth.month;
  return calendar::to_days(calendar::LunarDate{birth.year, birth.month, leap, 1}) +
         std::chrono::days(birth.day - 1);
}

calendar::UnixSeconds birthInstantOf(const LunarBirth& birth, std::optional<std::int64_t> given) {
  if (given) return *given;
  return calendar::chinaStandardSeconds(birthDayOf(birth),
                                        birth.hour * 3600 + birth.minute * 60 + birth.second);
}

calendar::UnixSeconds targetInstantOf(const TargetMoment& target) {
  const std::chrono::sys_days day = calendar::to_days(
      calendar::GregorianDate{target.solar.year, target.solar.month, target.solar.day});
  if (target.time) {
    return calendar::chinaStandardSeconds(day, target.time->hour * 3600 + target.time->minute * 60);
  }
  return calendar::chinaStandardSeconds(day, 86399);
}

calendar::SolarMonth solarMonthOf(calendar::UnixSeconds instant, std::string_view what) {
  if (const auto month = calendar::solarMonthAt(instant)) return *month;
  throw std::invalid_argument(std::string(what) +
                              " falls outside the solar terms known, 小寒 1900 to the end of "
                              "2100 (China Standard Time), so its solar-term month is unknown");
}

}  // namespace ziwei
