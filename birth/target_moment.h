#pragma once
// The moment a reading of the running periods (運限) is made for: a date and,
// when given, a clock time, read from what the user typed.
//
// A target is a Gregorian civil date in China Standard Time, like a
// Gregorian birthday, or a lunar date with its leap flag; both become the
// lunar date and the Gregorian date of the same day by the project's
// calendar (lunar years 1900..2100). Without a clock time the target has no
// hour: the hour level is left out. 23:00 to 23:59 is the 子 hour of its own
// date, as for a birth.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "chart/request.h"

namespace ziwei {

// The target of a reading: TargetMoment (chart/request.h), the lunar date and
// the Gregorian date of the same day as the calendar has them.

// The lunar and the Gregorian date of a target as the calendar's types.
constexpr calendar::LunarDate lunarDateOf(const TargetMoment& target) {
  return {target.lunar.year, target.lunar.month, target.lunar.leap, target.lunar.day};
}
constexpr calendar::GregorianDate solarDateOf(const TargetMoment& target) {
  return {target.solar.year, target.solar.month, target.solar.day};
}

// A target refused. `field()` names the part that was wrong ("on",
// "on-time", "on-lunar", "on-leap"; empty for the target as a whole),
// `detail()` says what was wrong with it and what is allowed, and what() is
// both in one line: `field: detail`, or the detail alone.
class TargetError : public std::invalid_argument {
 public:
  TargetError(std::string field, const std::string& detail);
  const std::string& field() const noexcept { return field_; }
  std::string_view detail() const noexcept;

 private:
  std::string field_;
};

// The target of a Gregorian civil date, 1900-01-31..2100-12-31. Throws
// TargetError (field "on") for a date outside the calendar's range and
// (field "on-time") for a time outside 00:00..23:59.
TargetMoment targetOnSolar(const calendar::GregorianDate& date,
                           std::optional<ClockOfDay> time = std::nullopt);

// The target of a lunar date (a leap month is the one that follows month
// `month`). Throws TargetError (field "on-lunar") for a date the calendar
// lacks: a year outside 1900..2100, a leap month the year does not have,
// day 30 of a 29-day month.
TargetMoment targetOnLunar(const calendar::LunarDate& date,
                           std::optional<ClockOfDay> time = std::nullopt);

// The target as the command line gives it, each part as typed:
//   solar  "YYYY-MM-DD"   a Gregorian date (--on)
//   lunar  "Y-M-D"        a lunar date, 1 to 4, 1 to 2 and 1 to 2 digits (--on-lunar)
//   leap                  the lunar month is a leap month (--on-leap)
//   time   "HH:MM"        a clock time, 00:00 to 23:59 (--on-time)
struct TargetTexts {
  std::optional<std::string> solar;
  std::optional<std::string> lunar;
  bool leap = false;
  std::optional<std::string> time;
};

// Throws TargetError (no field) when `target` falls in a lunar year before
// the birth's lunar year `birthYear`, saying which dates are allowed.
void checkTargetAfterBirth(const TargetMoment& target, int birthYear);

// Nothing when no part is given (a natal chart only); the target otherwise.
// Throws TargetError naming the part refused: a malformed text, a date the
// calendar lacks, both a Gregorian and a lunar date, a leap flag without a
// lunar date, a time without a date.
std::optional<TargetMoment> readTarget(const TargetTexts& texts);

// The same from one text, as a batch record's `on` field holds it: the
// parts separated by single blanks, in this order,
//   [lunar] DATE [leap] [HH:MM]
// e.g. "2026-05-14", "2026-05-14 13:30", "lunar 2026-3-28",
// "lunar 2023-2-10 leap 08:00". The empty text is no target.
std::optional<TargetMoment> readTargetField(std::string_view field);

}  // namespace ziwei
