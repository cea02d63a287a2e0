#pragma once
// The one error type of the calendar library.

#include <stdexcept>

namespace ziwei::calendar {

// Thrown for a date that is malformed, does not exist (2023-02-29, a leap month
// the lunar year lacks, day 30 of a 29-day month) or lies outside the supported
// range 1900-01-31..2100-12-31. what() says which, in words a user can read,
// e.g. "lunar year 2023 has no leap month 3 (its leap month is 2)".
class CalendarError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

}  // namespace ziwei::calendar
