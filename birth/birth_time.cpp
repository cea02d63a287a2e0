#include "birth/birth_time.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "birth/birth_time_text.h"
#include "birth/equation_of_time.h"
#include "birth/solar_birth.h"
#include "birth/zone_history.h"
#include "calendar/lunar.h"
#include "sexagenary/sexagenary.h"

namespace ziwei {

namespace {

constexpr std::int64_t kDay = 86400;
constexpr double kSecondsPerDegree = 240.0;  // the Earth turns 15 degrees an hour

// ---- numbers ----

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

std::int64_t secondsOf(const ClockTime& t) {
  const std::int64_t days = calendar::to_days(t.date).time_since_epoch().count();
  return days * kDay + std::int64_t{t.hour} * 3600 + std::int64_t{t.minute} * 60 + t.second;
}

ClockTime clockAt(std::int64_t seconds) {
  const std::int64_t days = floorDiv(seconds, kDay);
  const auto inDay = static_cast<int>(seconds - days * kDay);
  return {calendar::gregorian_from_days(
              std::chrono::sys_days{std::chrono::days{static_cast<int>(days)}}),
          inDay / 3600, inDay / 60 % 60, inDay % 60};
}

ClockTime clockOf(const calendar::GregorianDate& date, const LunarBirth& birth) {
  return {date, birth.hour, birth.minute, birth.second};
}

calendar::GregorianDate nextDay(const calendar::GregorianDate& date) {
  return calendar::gregorian_from_days(calendar::to_days(date) + std::chrono::days{1});
}

// ---- text ----

std::string formatNumber(double value, const char* format) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), format, value);
  return text.data();
}

// The fixed-offset zone of the database that keeps `offset` all year
// ("Etc/GMT-8" for UTC+08:00), or nothing for an offset it has none for.
std::optional<std::string> fixedZone(int offset) {
  if (offset % 3600 != 0 || offset < -12 * 3600 || offset > 14 * 3600) return std::nullopt;
  const int hours = offset / 3600;
  return "Etc/GMT" + std::string(hours > 0 ? "-" : "+") + std::to_string(std::abs(hours));
}

// ---- steps ----

void checkClock(const LunarBirth& birth) {
  for (const BirthNumberField& field : kBirthNumberFields) {
    if (field.member != &LunarBirth::hour && field.member != &LunarBirth::minute &&
        field.member != &LunarBirth::second) {
      continue;
    }
    const int value = birth.*field.member;
    if (value < field.first || value > field.last) {
      throw BirthTimeError(std::string(field.name) + " " + std::to_string(value) +
                           " is not allowed (allowed: " + std::to_string(field.first) + " to " +
                           std::to_string(field.last) + ")");
    }
  }
}

void checkLongitude(double longitude) {
  if (!(longitude >= -180.0 && longitude <= 180.0)) {
    throw BirthTimeError("longitude " + formatNumber(longitude, "%g") +
                         " is not allowed (allowed: -180 to 180 degrees, east positive)");
  }
}

// The lunar date after `birth`'s, for the late 子 hour of a lunar date given as
// such.
LunarBirth nextLunarDay(LunarBirth birth, YearRange years) {
  const calendar::LunarDate given{birth.year, birth.month, birth.leap, birth.day};
  const std::string why = "; the late 子 hour rule NextDay moves 23:00 to the next day";
  calendar::LunarDate next;
  try {
    next = calendar::lunar_from_days(calendar::to_days(given) + std::chrono::days{1});
  } catch (const calendar::CalendarError& error) {
    throw BirthTimeError(error.what() + why + ", which needs a date the calendar has");
  }
  if (next.year > years.last) {
    throw BirthTimeError("lunar " + std::to_string(given.year) + ", month " +
                         std::to_string(given.month) + ", day " + std::to_string(given.day) +
                         " is the last day of its year" + why + ", into lunar year " +
                         std::to_string(next.year) + " (allowed: lunar years " +
                         std::to_string(years.first) + " to " + std::to_string(years.last) + ")");
  }
  birth.year = next.year;
  birth.month = next.month;
  birth.leap = next.leap;
  birth.day = next.day;
  return birth;
}

// The fixed-offset zones of the database for `offsets`, as a message
// suggests them: "; name the zone Etc/GMT-2 or Etc/GMT-3 to choose one".
std::string fixedZonesToChoose(int before, int after) {
  const std::optional<std::string> first = fixedZone(before);
  const std::optional<std::string> second = fixedZone(after);
  if (first && second) return "; name the zone " + *first + " or " + *second + " to choose one";
  const int kept = first ? before : after;
  const int none = first ? after : before;
  if (first || second) {
    return "; name the zone " + *(first ? first : second) + " to read it as " + formatOffset(kept) +
           " (no fixed-offset zone keeps " + formatOffset(none) + ")";
  }
  return "; no fixed-offset zone keeps " + formatOffset(before) + " or " + formatOffset(after);
}

// Settles which reading of the clock the record means, and records it.
zone_history::Offsets readClock(const RecordedBirth& record, BirthTimeSteps& steps,
                                std::int64_t local) {
  const std::optional<bool> choice = record.daylight;
  if (steps.zone.empty()) return {kChinaStandardOffset, kChinaStandardOffset};
  const zone_history::Reading reading = zone_history::readLocalTime(steps.zone, local);
  steps.localTime = reading.kind;
  const std::string at = formatClock(steps.clock) + " in " + steps.zone;
  if (reading.kind == LocalTime::Unique) {
    const zone_history::Offsets& only = reading.first;
    if (choice && *choice != only.daylight()) {
      throw DaylightChoiceError(
          at + " is " +
              (only.daylight()
                   ? "daylight saving time (" + formatOffset(only.utc) + ", " +
                         formatDuration(only.utc - only.standard, Narration::English, false) +
                         " ahead of standard time)" +
                         (fixedZone(only.standard)
                              ? "; for a clock kept on standard time name the zone " +
                                    *fixedZone(only.standard)
                              : std::string())
                   : "standard time (" + formatOffset(only.utc) +
                         "); the zone kept no daylight saving time then"),
          *choice);
    }
    return only;
  }
  const std::string what = reading.kind == LocalTime::Repeated
                               ? " occurred twice (the clocks were put back)"
                               : " did not exist (the clocks were put forward over it)";
  if (reading.first.daylight() == reading.second.daylight()) {
    // A change of the standard offset: no DST choice tells the readings apart.
    throw OffsetChangeError(at + what + " when the zone changed its offset from " +
                                formatOffset(reading.first.utc) + " to " +
                                formatOffset(reading.second.utc) +
                                fixedZonesToChoose(reading.first.utc, reading.second.utc),
                            reading.kind);
  }
  const zone_history::Offsets& onDaylight =
      reading.first.daylight() ? reading.first : reading.second;
  const zone_history::Offsets& onStandard =
      reading.first.daylight() ? reading.second : reading.first;
  if (!choice) {
    throw LocalTimeError(at + what, reading.kind,
                         {onDaylight.utc, clockAt(local - (onDaylight.utc - onDaylight.standard))},
                         {onStandard.utc, clockAt(local)});
  }
  return *choice ? onDaylight : onStandard;
}

}  // namespace

LocalTimeError::LocalTimeError(const std::string& at, LocalTime kind, Reading onDaylight,
                               Reading onStandard)
    : BirthTimeError(at + ": read as daylight time (" + formatOffset(onDaylight.utcOffset) +
                     ") it is standard time " + formatClock(onDaylight.standard) +
                     "; read as standard time (" + formatOffset(onStandard.utcOffset) + "), " +
                     formatClock(onStandard.standard)),
      at_(at),
      kind_(kind),
      daylight_(onDaylight),
      standard_(onStandard) {}

std::string LocalTimeError::withChoices(std::string_view onDaylight,
                                        std::string_view onStandard) const {
  return at_ + ": " + std::string(onDaylight) + " reads it as daylight time (" +
         formatOffset(daylight_.utcOffset) + "), standard time " + formatClock(daylight_.standard) +
         "; " + std::string(onStandard) + " as standard time (" +
         formatOffset(standard_.utcOffset) + "), standard time " + formatClock(standard_.standard);
}

void checkZone(std::string_view zone) { (void)zone_history::zonePeriods(zone); }

int utcOffsetAt(std::string_view zone, std::int64_t instant) {
  if (zone.empty()) return kChinaStandardOffset;
  const std::vector<zone_history::Period>& periods = zone_history::zonePeriods(zone);
  const auto after = std::upper_bound(
      periods.begin(), periods.end(), instant,
      [](std::int64_t at, const zone_history::Period& period) { return at < period.begin; });
  return after == periods.begin() ? periods.front().utc : std::prev(after)->utc;
}

ResolvedBirth resolveBirthTime(const RecordedBirth& record, YearRange years) {
  ResolvedBirth resolved{record.birth, {}};
  BirthTimeSteps& steps = resolved.steps;
  steps.place = record.place;
  steps.zone = !record.zone.empty()      ? record.zone
               : record.place != nullptr ? std::string(places::zoneOf(*record.place))
                                         : std::string();
  steps.daylight = record.daylight;
  steps.longitude = record.longitude;
  const bool nextDayRule = record.options.lateZi == LateZi::NextDay;
  const bool corrected = !steps.zone.empty() || record.longitude.has_value();
  steps.civil = record.solar || corrected;
  if (record.daylight == true && steps.zone.empty()) {
    throw DaylightChoiceError(
        "with no time zone named the clock is China Standard Time (UTC+08:00), "
        "which keeps no daylight saving time; name the zone, e.g. Asia/Shanghai",
        true);
  }

  if (!steps.civil) {  // a lunar date as given
    if (nextDayRule && record.birth.hour == 23) {
      resolved.birth = nextLunarDay(record.birth, years);
      steps.lateZiMoved = true;
    }
    steps.hourBranch = hourBranch(resolved.birth.hour).number();
    return resolved;
  }

  if (corrected || nextDayRule) checkClock(record.birth);
  if (record.longitude) checkLongitude(*record.longitude);
  calendar::GregorianDate date;
  if (record.solar) {
    date = *record.solar;
    // The date given lies in the accepted span (a correction may still move
    // the chart's date out of it, which is refused below); one outside it, or
    // one that does not exist, is refused as lunarBirthOn refuses it.
    const SolarSpan span = solarSpan(years);
    if (!calendar::is_valid(date) || date < span.first || date > span.last) {
      lunarBirthOn(date, record.birth, years);  // throws
    }
  } else {
    date = calendar::to_gregorian(
        {record.birth.year, record.birth.month, record.birth.leap, record.birth.day});
  }
  steps.clock = clockOf(date, record.birth);

  steps.standard = steps.clock;
  ClockTime chart = steps.clock;  // without corrections: the clock as given
  if (corrected) {
    const std::int64_t local = secondsOf(steps.clock);
    const zone_history::Offsets offsets = readClock(record, steps, local);
    steps.utcOffset = offsets.utc;
    steps.standardOffset = offsets.standard;
    steps.daylightSaving = offsets.utc - offsets.standard;
    steps.meridian = offsets.standard / kSecondsPerDegree;
    const std::int64_t standard = local - steps.daylightSaving;
    steps.standard = clockAt(standard);
    chart = steps.standard;
    if (record.longitude) {
      steps.meanTimeCorrection =
          static_cast<int>(std::lround((*record.longitude - steps.meridian) * kSecondsPerDegree));
      steps.equationOfTime = static_cast<int>(std::lround(equationOfTime(local - offsets.utc)));
      steps.trueSolar = clockAt(standard + steps.meanTimeCorrection + steps.equationOfTime);
      chart = steps.trueSolar;
    }
  }
  calendar::GregorianDate lunarDay = chart.date;
  if (nextDayRule && chart.hour == 23) {
    lunarDay = nextDay(lunarDay);
    steps.lateZiMoved = true;
  }
  LunarBirth timed = record.birth;
  timed.hour = chart.hour;
  timed.minute = chart.minute;
  timed.second = chart.second;
  if (lunarDay == date) {
    resolved.birth = lunarBirthOn(lunarDay, timed, years);
  } else {
    try {
      resolved.birth = lunarBirthOn(lunarDay, timed, years);
    } catch (const calendar::CalendarError& error) {
      throw calendar::CalendarError(formatClock(steps.clock) + " comes to the lunar date of " +
                                    calendar::format_gregorian(lunarDay) + ": " + error.what());
    }
  }
  steps.hourBranch = hourBranch(resolved.birth.hour).number();
  return resolved;
}

}  // namespace ziwei
