#include "birth/solar_birth.h"

#include <chrono>
#include <string>

#include "calendar/lunar.h"
#include "unicode/utf8.h"

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

GregorianDate readGregorianDate(std::string_view text) {
  // A date holds no control and no malformed byte: the calendar reads the
  // text as a message would show it, and quotes it so.
  try {
    return calendar::parse_gregorian(oneLine(text));
  } catch (const CalendarError& error) {
    throw CalendarError(oneLine(error.what()));
  }
}

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

LunarBirth lunarBirthOn(const GregorianDate& date, LunarBirth birth, YearRange years) {
  if (!calendar::is_valid(date)) {
    throw CalendarError("year " + std::to_string(date.year) + ", month " +
                        std::to_string(date.month) + ", day " + std::to_string(date.day) +
                        " is not an existing date");
  }
  const SolarSpan span = solarSpan(years);
  if (date < span.first || date > span.last) {
    const std::string shown = "\"" + calendar::format_gregorian(date) + "\"";
    // Name the lunar year when the calendar knows it.
    if (date >= calendar::kFirstDate && date <= calendar::kLastDate) {
      throw CalendarError(shown + " falls in lunar year " +
                          std::to_string(calendar::to_lunar(date).year) + " " +
                          allowed(years, span));
    }
    throw CalendarError(shown + " is not allowed " + allowed(years, span));
  }
  const calendar::LunarDate lunar = calendar::to_lunar(date);
  birth.year = lunar.year;
  birth.month = lunar.month;
  birth.leap = lunar.leap;
  birth.day = lunar.day;
  return birth;
}

}  // namespace ziwei
