#pragma once
// From what a birth record says to the lunar date and hour a chart is cast on,
// with every step recorded.
//
// A record gives a Gregorian civil date (or a lunar date) and a clock time. By
// default that clock is China Standard Time (UTC+8, no daylight saving time)
// and the clock time is the chart's time, as `lunarBirthOn` has always taken
// it. Each further step is an explicit choice of the record:
//
// 1. A time zone (an IANA name, read from the system's time-zone database, or
//    the zone of a place of the gazetteer). The clock time is read in that
//    zone's history; daylight saving time in force then is removed, so the
//    chart uses the zone's standard time (the clock minus the DST save) for
//    its date and hour. A clock time that the zone skipped (the hour missing
//    when summer time began) or read twice (the hour repeated when it ended)
//    is refused with both readings named, unless the record says which
//    reading it is: `daylight` true for daylight time (the CLI's --dst yes),
//    false for standard time (--dst no). A choice that contradicts the
//    database for an unambiguous time is refused too.
//    The lunar date is that of the local (standard-time) civil date by this
//    program's calendar, also for a zone whose standard offset is not +8: a
//    birth in New York on 1990-01-27 has the lunar date of 1990-01-27.
// 2. True solar time (真太陽時), from a longitude: local mean time is the
//    standard time plus 4 minutes for each degree east of the zone's meridian
//    (its standard offset at that moment over 15 degrees an hour: 120°E for
//    UTC+8), apparent (true) solar time adds the equation of time. The chart
//    uses the true solar date and time; the date may roll across midnight and
//    the lunar date follows it.
// 3. The late 子 hour rule (ChartOptions::lateZi, birth/lunar_birth.h): with
//    NextDay a chart time from 23:00 to 23:59 moves the lunar date on one day.
//    For a lunar date given as such, the move needs a date the calendar has:
//    a lunar date it lacks (day 30 of a 29-day month, a leap month the year
//    does not have) is refused then, as is a move past the calendar's last day
//    or beyond the lunar years the caller accepts. Without that move a lunar
//    date is never checked against the calendar, as before.
//
// A lunar date given with a zone or a longitude is first turned into its
// Gregorian civil date by the calendar (it must exist), then goes the same way.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "birth/lunar_birth.h"
#include "calendar/gregorian.h"
#include "places/places.h"

namespace ziwei {

using calendar::kChinaStandardOffset;  // seconds east of UTC

// A civil date and clock time.
struct ClockTime {
  calendar::GregorianDate date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend auto operator<=>(const ClockTime&, const ClockTime&) = default;
};

// What a birth record says.
struct RecordedBirth {
  // The clock time and the sex; the lunar date too when `solar` is empty.
  LunarBirth birth;
  // The Gregorian civil date of the birth, when the record gives that.
  std::optional<calendar::GregorianDate> solar;
  // A place of the gazetteer: its zone is the record's zone unless `zone`
  // names one. (Its longitude is used only when passed as `longitude`.)
  const places::Place* place = nullptr;
  // An IANA time-zone name; empty: the place's zone, or without a place China
  // Standard Time as by default.
  std::string zone;
  // Which reading of the clock the record means: true daylight saving time,
  // false standard time; needed only where the zone skipped or repeated the
  // clock time.
  std::optional<bool> daylight;
  // Degrees east (west negative), -180..180: the chart uses true solar time.
  std::optional<double> longitude;
  ChartOptions options;
};

// How the zone's history read the clock time.
enum class LocalTime {
  Unique,    // one reading
  Repeated,  // the clocks went back over it: read twice
  Skipped,   // the clocks jumped over it: never shown
};

// The steps from the record to the chart's date and hour, as numbers. Offsets
// and corrections are in seconds; a correction is added to the time.
struct BirthTimeSteps {
  // False when a lunar date was taken as given (no zone, no longitude); the
  // civil fields below are then unused.
  bool civil = false;
  ClockTime clock;  // the record's civil date and clock time
  const places::Place* place = nullptr;
  std::string zone;  // the zone read, empty for China Standard Time
  LocalTime localTime = LocalTime::Unique;
  std::optional<bool> daylight;               // the record's choice, as given
  int utcOffset = kChinaStandardOffset;       // the clock's offset from UTC
  int standardOffset = kChinaStandardOffset;  // the zone's standard offset then
  int daylightSaving = 0;                     // removed: utcOffset - standardOffset
  ClockTime standard;                         // the clock time less daylightSaving
  std::optional<double> longitude;            // true solar time from it
  double meridian = 120.0;                    // standardOffset at 15° an hour
  int meanTimeCorrection = 0;                 // 240 s a degree east of the meridian
  int equationOfTime = 0;                     // apparent minus mean solar time
  ClockTime trueSolar;                        // standard + both corrections
  bool lateZiMoved = false;                   // the NextDay rule moved the date
  int hourBranch = 1;                         // the hour branch cast, 子 = 1 .. 亥 = 12
};

// The moment a record's clock time names, seconds since 1970-01-01 00:00
// UTC, when the record gave a civil time (nothing for a lunar date taken as
// given).
inline std::optional<std::int64_t> recordedInstant(const BirthTimeSteps& steps) {
  if (!steps.civil) return std::nullopt;
  const auto days = calendar::to_days(steps.clock.date).time_since_epoch().count();
  return std::int64_t{days} * 86400 + steps.clock.hour * 3600 + steps.clock.minute * 60 +
         steps.clock.second - steps.utcOffset;
}

struct ResolvedBirth {
  LunarBirth birth;  // the lunar date and the chart's clock time, the sex
  BirthTimeSteps steps;
};

// A record refused: an unknown zone, a longitude out of range, a clock time
// the zone skipped or repeated, a DST choice the zone's history contradicts,
// a late 子 move the calendar cannot make. what() is one line that names the
// value and what is allowed; it names no option of a program (a caller that
// knows how a choice was given words it with the classes below).
class BirthTimeError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The record's reading of the clock (`choice`: true daylight saving time,
// false standard time) is one the zone's history does not have then.
class DaylightChoiceError : public BirthTimeError {
 public:
  DaylightChoiceError(const std::string& message, bool choice)
      : BirthTimeError(message), choice_(choice) {}
  bool choice() const noexcept { return choice_; }

 private:
  bool choice_;
};

// A clock time the zone skipped or repeated at a change of its standard
// offset, which no daylight-time reading tells apart.
class OffsetChangeError : public BirthTimeError {
 public:
  OffsetChangeError(const std::string& message, LocalTime kind)
      : BirthTimeError(message), kind_(kind) {}
  LocalTime kind() const noexcept { return kind_; }

 private:
  LocalTime kind_;
};

// A clock time the zone skipped or repeated, with the two readings, each as
// the offset it gives and the standard time it comes to (first the daylight
// reading, then the standard one), for a caller that words its own choice.
class LocalTimeError : public BirthTimeError {
 public:
  struct Reading {
    int utcOffset;
    ClockTime standard;
  };
  // `at` says what happened to the clock time ("1979-07-01 00:30:00 in
  // Asia/Taipei did not exist (...)"); what() follows it with both readings.
  LocalTimeError(const std::string& at, LocalTime kind, Reading onDaylight, Reading onStandard);
  LocalTime kind() const noexcept { return kind_; }
  const Reading& daylightReading() const noexcept { return daylight_; }
  const Reading& standardReading() const noexcept { return standard_; }
  // The message with the way each reading is chosen, e.g. "--dst yes" and
  // "--dst no": "... did not exist (...): --dst yes reads it as daylight time
  // (UTC+09:00), standard time ...; --dst no as standard time (UTC+08:00),
  // standard time ...".
  std::string withChoices(std::string_view onDaylight, std::string_view onStandard) const;

 private:
  std::string at_;
  LocalTime kind_;
  Reading daylight_;
  Reading standard_;
};

// Throws BirthTimeError when the time-zone database lacks the zone `zone`
// ("unknown time zone ...", with close names) or cannot be read.
void checkZone(std::string_view zone);

// The offset from UTC, in seconds east, of the clock of zone `zone` (empty:
// China Standard Time) at `instant` (seconds since 1970-01-01 00:00 UTC).
// Throws as checkZone does.
int utcOffsetAt(std::string_view zone, std::int64_t instant);

// The lunar birth a chart is cast on, and how it was found. With no zone, no
// place, no longitude, no DST choice and the default options it returns what
// `lunarBirthOn(*record.solar, record.birth, years)` returns for a Gregorian
// date, and the lunar birth as given otherwise. Throws BirthTimeError (above)
// and calendar::CalendarError (a date that does not exist or falls outside
// `years`, with lunarBirthOn's message).
ResolvedBirth resolveBirthTime(const RecordedBirth& record, YearRange years = kCommandLineYears);

}  // namespace ziwei
