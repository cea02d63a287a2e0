#pragma once
// A Gregorian (國曆) birthday for a caller that takes fewer lunar years than
// the calendar has, as the window's selectors do: the birth time resolved
// over the whole calendar, so that a birth outside the caller's years can
// still be named, and what stands in the way of taking it.

#include <optional>
#include <string>

#include "birth/birth_time.h"
#include "birth/lunar_birth.h"

namespace ziwei {

struct GregorianConversion {
  enum class Outcome {
    Taken,            // `resolved` lies in the caller's years
    OtherYear,        // `resolved` lies in a lunar year the caller does not take
    NeedsReading,     // the zone skipped or repeated the clock time: `readings`
    Refused,          // the record was refused: `refusal` says why
    OutsideCalendar,  // the date does not exist or lies outside 1900-01-31..2100-12-31
  };
  Outcome outcome = Outcome::OutsideCalendar;
  std::optional<ResolvedBirth> resolved;
  std::optional<LocalTimeError> readings;
  std::string refusal;
};

// `record` must give its Gregorian date (`record.solar`).
GregorianConversion convertGregorianBirth(const RecordedBirth& record, YearRange taken);

}  // namespace ziwei
