#include "birth/gregorian_birth.h"

#include "calendar/calendar_error.h"
#include "calendar/lunar.h"

namespace ziwei {

GregorianConversion convertGregorianBirth(const RecordedBirth& record, YearRange taken) {
  using Outcome = GregorianConversion::Outcome;
  GregorianConversion result;
  constexpr YearRange kCalendarYears{calendar::kFirstLunarYear, calendar::kLastLunarYear};
  try {
    result.resolved = resolveBirthTime(record, kCalendarYears);
  } catch (const LocalTimeError& e) {
    result.outcome = Outcome::NeedsReading;
    result.readings = e;
    return result;
  } catch (const BirthTimeError& e) {
    result.outcome = Outcome::Refused;
    result.refusal = e.what();
    return result;
  } catch (const calendar::CalendarError&) {
    result.outcome = Outcome::OutsideCalendar;
    return result;
  }
  const int year = result.resolved->birth.year;
  result.outcome = year >= taken.first && year <= taken.last ? Outcome::Taken : Outcome::OtherYear;
  return result;
}

}  // namespace ziwei
