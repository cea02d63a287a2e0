#include "page/solar_birth.h"

#include <chrono>
#include <string>

#include "calendar/lunar.h"

namespace ziwei {

namespace {

using calendar::CalendarError;
using calendar::GregorianDate;

std::string allowed(YearRange years, const SolarSpan& span) {
  return "(allowed: " + calendar::format_gregorian(span.first) + " to " +
         calendar::format_gregorian(span.last) + ", lunar years " + std::to_string(years.first) +
         " to " + std::to_string(years.last) + ")";
}

}  // namespace

SolarSpan solarSpan(YearRange years) {
  if (years.first < calendar::kFirstLunarYear || years.last > calendar::kLastLunarYear ||
      years.first > years.last) {
    throw CalendarError("lunar years " + std::to_string(years.first) + " to " +
                        std::to_string(years.last) + " are not all within " +
                        std::to_string(calendar::kFirstLunarYear) + ".." +
                        std::to_string(calendar::kLastLunarYear));
  }
  SolarSpan span;
  span.first = calendar::to_gregorian({years.first, 1, false, 1});
  span.last = calendar::kLastDate;
  if (years.last < calendar::kLastLunarYear) {
    // The eve of the next lunar year's first day.
    const calendar::LunarDate nextNewYear{years.last + 1, 1, false, 1};
    span.last =
        calendar::gregorian_from_days(calendar::to_days(nextNewYear) - std::chrono::days{1});
  }
  return span;
}

BirthInput birthFromSolarDate(BirthInput input, std::string_view solarDate, YearRange years) {
  const GregorianDate date = calendar::parse_gregorian(solarDate);
  const SolarSpan span = solarSpan(years);
  const std::string shown = "\"" + std::string(solarDate) + "\"";
  if (date < span.first || date > span.last) {
    // Name the lunar year when the calendar knows it.
    if (date >= calendar::kFirstDate && date <= calendar::kLastDate) {
      const int year = calendar::to_lunar(date).year;
      throw CalendarError(shown + " falls in lunar year " + std::to_string(year) + " " +
                          allowed(years, span));
    }
    throw CalendarError(shown + " is not allowed " + allowed(years, span));
  }
  const calendar::LunarDate lunar = calendar::to_lunar(date);
  input.year = lunar.year;
  input.month = lunar.month;
  input.leap = lunar.leap;
  input.day = lunar.day;
  input.solar = calendar::format_gregorian(date);
  return input;
}

}  // namespace ziwei
