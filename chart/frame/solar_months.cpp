#include "chart/frame/solar_months.h"

#include <chrono>
#include <stdexcept>
#include <string>

#include "calendar/calendar_error.h"
#include "calendar/lunar.h"

namespace ziwei {

namespace {

constexpr std::int64_t kChinaStandardOffset = 8 * 3600;

calendar::UnixSeconds chinaStandardInstant(std::chrono::sys_days day, int hour, int minute,
                                           int second) {
  return std::int64_t{day.time_since_epoch().count()} * 86400 + hour * 3600 + minute * 60 + second -
         kChinaStandardOffset;
}

}  // namespace

calendar::UnixSeconds birthInstantOf(const LunarBirth& birth, std::optional<std::int64_t> given) {
  if (given) return *given;
  if (birth.year < calendar::kFirstLunarYear || birth.year > calendar::kLastLunarYear) {
    throw std::invalid_argument(
        "the solar terms are known for lunar years " + std::to_string(calendar::kFirstLunarYear) +
        " to " + std::to_string(calendar::kLastLunarYear) + ", not " + std::to_string(birth.year));
  }
  const bool leap = birth.leap && calendar::leap_month(birth.year) == birth.month;
  const std::chrono::sys_days first =
      calendar::to_days(calendar::LunarDate{birth.year, birth.month, leap, 1});
  return chinaStandardInstant(first + std::chrono::days(birth.day - 1), birth.hour, birth.minute,
                              birth.second);
}

calendar::UnixSeconds targetInstantOf(const TargetMoment& target) {
  const std::chrono::sys_days day{
      std::chrono::year_month_day{std::chrono::year(target.solar.year),
                                  std::chrono::month(static_cast<unsigned>(target.solar.month)),
                                  std::chrono::day(static_cast<unsigned>(target.solar.day))}};
  if (target.time) return chinaStandardInstant(day, target.time->hour, target.time->minute, 0);
  return chinaStandardInstant(day, 23, 59, 59);
}

calendar::SolarMonth solarMonthOf(calendar::UnixSeconds instant, std::string_view what) {
  if (const auto month = calendar::solarMonthAt(instant)) return *month;
  throw std::invalid_argument(std::string(what) +
                              " falls outside the solar terms known, 小寒 1900 to the end of "
                              "2100 (China Standard Time), so its solar-term month is unknown");
}

}  // namespace ziwei
